#include "mainwindow/CommandEnable.h"

#include "controls/CommandIds.h"

namespace {
// The photo of the current tab: the selected photo, slot or label.
bool CurrentPhoto(const CommandState& s) {
  switch (s.tab) {
    case MainTab::MyPhotos: return s.photoSelected;
    case MainTab::PhotoAlbums: return s.slotHasPhoto;
    case MainTab::PrintLabels: return s.labelHasPhoto;
    default: return false;
  }
}
}  // namespace

bool IsCommandEnabled(int command, const CommandState& s) {
  const bool myPhotos = s.tab == MainTab::MyPhotos;
  const bool labels = s.tab == MainTab::PrintLabels;
  switch (command) {
    case kCommandCrop:
    case kCommandCaption:
    case kCommandEnhance:
    case kCommandFrame:
    case kCommandRedEye:
    case kCommandResize:
      return (myPhotos && s.photoSelected) || (labels && s.labelHasPhoto);
    case kCommandDelete:
    case kCommandView:
    case kCommandSavePictureAs:
    case kCommandSetAsWallpaper:
    case kCommandFunSportsCard:
    case kCommandFunCalendar:
    case kCommandFunMagazine:
    case kCommandFunGreetingCard:
      return CurrentPhoto(s);
    case kCommandPrint:
      return (myPhotos && s.photoSelected) || (labels && s.sheetHasPhoto);
    case kCommandClear:
      return !myPhotos && CurrentPhoto(s);
    case kCommandChooseTemplate:
      return labels;
    case kCommandEditComment:
    case kCommandRename:
    case kCommandEmailPhoto:
      return myPhotos && s.photoSelected;
    default:
      return true;
  }
}
