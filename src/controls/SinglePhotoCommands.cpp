#include "controls/SinglePhotoCommands.h"

#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include "controls/Prompter.h"
#include "dis/ltdis.h"
#include "krn/ltkrn.h"
#include "library/PhotoStore.h"
#include "library/SavePictureAs.h"
#include "controls/CViewPhotoDialog.h"
#include "controls/DesktopWallpaper.h"
#include "controls/PhotoPrinting.h"
#include "system/Folders.h"
#include "system/RegistryStore.h"

namespace {
std::unique_ptr<QPrinter> AskForPrinter(QWidget* parent) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrintDialog dialog(printer.get(), parent);
  if (dialog.exec() != QDialog::Accepted) return nullptr;
  // A photo needs no more; a page at 1200 dpi would cost hundreds of megabytes to paint.
  if (printer->resolution() > 600) printer->setResolution(600);
  return printer;
}
}  // namespace

SinglePhotoCommands::SinglePhotoCommands(PhotoStore& store, Prompter& prompter, ProgramRunner& runner,
                                         RegistryStore& registry, QWidget* parent)
    : m_store(store),
      m_prompter(prompter),
      m_parent(parent),
      m_chooser(AskForPrinter),
      m_runner(runner),
      m_registry(registry) {}

SinglePhotoCommands::~SinglePhotoCommands() = default;

std::unique_ptr<QPrinter> SinglePhotoCommands::choosePrinter() { return m_chooser(m_parent); }

QString SinglePhotoCommands::SaveDialogFilter() {
  // "description (*.a;*.b)|*.a;*.b|" entries become "description (*.a *.b)" joined by ";;".
  static const QString filter = [] {
    const QStringList parts = SaveAsFilter().split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
      QString description = parts[i];
      const int open = description.lastIndexOf(QLatin1String(" ("));
      if (open >= 0) description.truncate(open);
      QString patterns = parts[i + 1];
      patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
      entries << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
  }();
  return filter;
}

void SinglePhotoCommands::load(ImageBitmap& working, const QString& stem) {
  // A failed decode leaves the working bitmap empty; the commands carry on with it.
  if (m_store.LoadPhoto(working, stem) != SUCCESS) release(working);
}

void SinglePhotoCommands::release(ImageBitmap& working) {
  FreeBitmap(working);
  InitBitmap(working, 0, 0, 0);
}

void SinglePhotoCommands::view(ImageBitmap& working, const QString& stem) {
  load(working, stem);
  viewPicture(working, stem);
  release(working);
}

void SinglePhotoCommands::viewPicture(const ImageBitmap& picture, const QString& name) {
  CViewPhotoDialog dialog(picture, name, m_parent);
  dialog.exec();
}

void SinglePhotoCommands::print(const QString& stem) {
  ImageBitmap picture;
  InitBitmap(picture, 0, 0, 0);
  load(picture, stem);
  printPicture(picture);
  FreeBitmap(picture);
}

void SinglePhotoCommands::printPicture(const ImageBitmap& picture) {
  if (std::unique_ptr<QPrinter> printer = m_chooser(m_parent)) PrintPhoto(*printer, picture);
}

void SinglePhotoCommands::saveAs(ImageBitmap& working, const QString& stem) {
  load(working, stem);
  saveAsPicture(working);
  release(working);
  if (m_parent) m_parent->update();
}

void SinglePhotoCommands::saveAsPicture(const ImageBitmap& picture) {
  const QString chosen = m_prompter.chooseSaveFile(m_parent, QStringLiteral("Save Your Photo As..."),
                                                   QString(), SaveDialogFilter());
  const QString path = WithDefaultExtension(chosen);
  // The dialog confirmed replacing only the name as typed, not the one with ".jpg" added.
  const bool replaceConfirmed =
      path == chosen || !QFileInfo::exists(path) ||
      m_prompter.askYesNoCancel(m_parent, QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                              .arg(QFileInfo(path).fileName())) == Prompter::Answer::Yes;
  if (chosen.isEmpty() || !replaceConfirmed) return;
  const SaveAsSettings settings = SaveAsSettingsFor(path, picture.BitsPerPixel);
  const int result = SavePictureAs(settings, picture);
  m_prompter.showMessage(m_parent, QStringLiteral("rc=%1, bits=%2, File=%3")
                                       .arg(result)
                                       .arg(settings.BitsPerPixel)
                                       .arg(settings.Path));
}

void SinglePhotoCommands::setAsWallpaper(ImageBitmap& working, const QString& stem) {
  load(working, stem);
  setAsWallpaperPicture(working, stem);
  release(working);
}

void SinglePhotoCommands::setAsWallpaperPicture(const ImageBitmap& picture, const QString& name) {
  SetDesktopWallpaper(picture, WallpaperPath(GetWindowsFolder(), name), m_registry, m_runner);
}

void SinglePhotoCommands::copyToClipboard(ImageBitmap& working, const QString& stem) {
  load(working, stem);
  copyToClipboardPicture(working);
  release(working);
}

void SinglePhotoCommands::copyToClipboardPicture(const ImageBitmap& picture) { CopyBitmapToClipboard(picture); }
