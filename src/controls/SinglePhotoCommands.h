#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "krn/ImageBitmap.h"

class PhotoStore;
class Prompter;
class ProgramRunner;
class QPrinter;
class RegistryStore;
class QWidget;

// The commands that take one photo out of the program: View, Print, Save Picture As, Set
// as Wallpaper and Copy to Clipboard. On a photo of My Photos each brings the photo into
// the working bitmap, does its work, and leaves the working bitmap freed and empty; on a
// picture already in memory (a label's) each works on that picture as it is.
class SinglePhotoCommands {
 public:
  // The printer setup: a printer ready to print on, or null when the user cancels.
  using PrinterChooser = std::function<std::unique_ptr<QPrinter>(QWidget* parent)>;

  SinglePhotoCommands(PhotoStore& store, Prompter& prompter, ProgramRunner& runner,
                      RegistryStore& registry, QWidget* parent);
  ~SinglePhotoCommands();

  // Tests replace the printer setup dialog.
  void setPrinterChooser(PrinterChooser chooser) { m_chooser = std::move(chooser); }
  // The printer setup: the printer the user chose, or null.
  std::unique_ptr<QPrinter> choosePrinter();

  // Opens "View Full Photo" on the photo, modal.
  void view(ImageBitmap& working, const QString& stem);
  void print(const QString& stem);
  void saveAs(ImageBitmap& working, const QString& stem);
  void setAsWallpaper(ImageBitmap& working, const QString& stem);
  void copyToClipboard(ImageBitmap& working, const QString& stem);

  // The same on a picture in memory, named name (a photo's name, for titles and files).
  void viewPicture(const ImageBitmap& picture, const QString& name);
  void printPicture(const ImageBitmap& picture);
  void saveAsPicture(const ImageBitmap& picture);
  void setAsWallpaperPicture(const ImageBitmap& picture, const QString& name);
  void copyToClipboardPicture(const ImageBitmap& picture);

  // The save dialog's filter, made once from SaveAsFilter in the chooser's form.
  static QString SaveDialogFilter();

 private:
  void load(ImageBitmap& working, const QString& stem);
  static void release(ImageBitmap& working);

  PhotoStore& m_store;
  Prompter& m_prompter;
  QWidget* m_parent;
  PrinterChooser m_chooser;
  ProgramRunner& m_runner;
  RegistryStore& m_registry;
};
