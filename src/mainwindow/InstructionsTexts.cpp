#include "mainwindow/InstructionsTexts.h"

namespace {
const char kMyPhotos[] =
    "1. Click the 'Get Photo' button to grab a new photo off of your PC, Camera, Scanner or "
    "other TWAIN compatible photo capturing device."
    "\r\n\r\n2. You will see your photo in the 'My Photos' folder.  You can add a caption to the "
    "photo, print it, add a frame, crop the photo, or perform a 'Special Effect' using the "
    "'Caption', 'Print', 'Frame', 'Crop', and 'Effects' buttons at the top."
    "\r\n\r\n3. You can place your photos in a photo album, print them on Avery labels or "
    "regular printer paper."
    "\r\n\r\n4. The most exicing feature of Brivane is the ability to publish your photos to "
    "the web to share with your friends and family.  "
    "You can publish your entire 'My Photos' folder and/or publish your photo album(s) and "
    "send the World Wide Web links to your photos to your friends and family.";
const char kPhotoAlbums[] =
    "Click the 'Pick a Photo' button above to pick a photo from the 'My Photos' folder and "
    "place it on an empty blank space."
    "  You can also double-click, hit the space bar, or hit the Enter key, on the blank space "
    "to put a photo into.";
const char kPrintLabels[] =
    "1. Click the <Templates> button at the top to change the type of Avery label you want to "
    "print out."
    "\r\n\r\n2. Click the 'Pick a Photo' button above to pick a photo from the 'My Photos' "
    "folder and place it on an empty label."
    "  You can also double-click, hit the space bar, or hit the Enter key, on the label to put "
    "a photo into."
    "\r\n\r\n3. Once you put a photo on a label you can add a caption to the photo, add a "
    "frame, crop the photo, perform a 'Special Effect', or print the sheet of labels using the "
    "'Caption', 'Frame', 'Crop', 'Effects', and 'Print' buttons at the top.";
const char kPublish[] =
    "Just click <Put my photos on the web>.  Then get ready to share your photos!";
const char kFun[] = "Just double click on the fun activity you want to do.";
}  // namespace

QString InstructionsText(MainTab tab) {
  const char* text = kMyPhotos;
  switch (tab) {
    case MainTab::MyPhotos: text = kMyPhotos; break;
    case MainTab::PhotoAlbums: text = kPhotoAlbums; break;
    case MainTab::PrintLabels: text = kPrintLabels; break;
    case MainTab::Publish: text = kPublish; break;
    case MainTab::Fun: text = kFun; break;
  }
  return QString::fromLatin1(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}
