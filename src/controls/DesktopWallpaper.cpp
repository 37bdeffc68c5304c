#include "controls/DesktopWallpaper.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "fil/ltfil.h"
#include "system/ProgramRunner.h"
#include "system/RegistryStore.h"

QString WallpaperPath(const QString& windowsFolder, const QString& name) {
  return windowsFolder + name + QStringLiteral(".bmp");
}

int SetDesktopWallpaper(const ImageBitmap& picture, const QString& path, RegistryStore& registry,
                        ProgramRunner& runner) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  const int bits = picture.BitsPerPixel;
  const int result =
      SaveImageFileAs(path, picture, FILE_BMP, bits, 2, bits < 5 ? 1 : 2, SaveComments());
  registry.setValue(QStringLiteral("Control Panel\\Desktop"), QStringLiteral("TileWallpaper"),
                    QStringLiteral("0"));
  // A desktop pointed at a file that was never written would show nothing at all.
  if (result == SUCCESS) ApplyDesktopWallpaper(path, runner);
  return result;
}

void ApplyDesktopWallpaper(const QString& path, ProgramRunner& runner) {
  const QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
  const QString gsettings = QStringLiteral("gsettings");
  if (runner.isAvailable(gsettings)) {
    const QString schema = QStringLiteral("org.gnome.desktop.background");
    runner.start(gsettings, {"set", schema, "picture-uri", uri});
    runner.start(gsettings, {"set", schema, "picture-uri-dark", uri});
    runner.start(gsettings, {"set", schema, "picture-options", "centered"});
  }
  const QString plasma = QStringLiteral("plasma-apply-wallpaperimage");
  if (runner.isAvailable(plasma)) runner.start(plasma, {path});
  const QString xfconf = QStringLiteral("xfconf-query");
  if (runner.isAvailable(xfconf)) {
    const QString base = QStringLiteral("/backdrop/screen0/monitor0/workspace0/");
    runner.start(xfconf, {"-c", "xfce4-desktop", "-p", base + "last-image", "-s", path});
    // Image style 1: centred.
    runner.start(xfconf, {"-c", "xfce4-desktop", "-p", base + "image-style", "-s", "1"});
  }
}
