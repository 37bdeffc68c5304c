#pragma once

// brivane runs on a folder of their own: <folder>program/ is the program folder (its
// myphotos/ the store), and the settings, system folder and home lie beside it, so that
// nothing of the user's is read or written.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>

#include "KillHarness.h"

inline KillCommand Brivane(const QString& folder, const QStringList& arguments) {
  const QStringList environment = {"BRIVANE_WINDOWS_FOLDER=" + folder + "config/",
                                   "BRIVANE_SYSTEM_FOLDER=" + folder + "system/",
                                   "HOME=" + folder + "home",
                                   "XDG_CONFIG_HOME=" + folder + "home/.config",
                                   "XDG_DATA_HOME=" + folder + "home/.local/share",
                                   "BRIVANE_PROGRAM_FOLDER=" + folder + "program/"};
  return {QString(BRIVANE_PROGRAM_DIR) + "brivane",
          QStringList{"--program-folder", folder + "program/"} + arguments, environment, folder};
}

inline QString PhotoFolder(const QString& folder) { return folder + "program/myphotos/"; }

// A picture with detail in it, so that its JPEG takes several writes.
inline bool MakePicture(const QString& path, int seed) {
  QImage image(640, 480, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      image.setPixel(x, y, qRgb((x * 3 + seed) % 256, (y * 5 + x / 7) % 256, (x ^ y ^ seed) % 256));
  return QDir().mkpath(path.section('/', 0, -2)) && image.save(path, "JPEG", 90);
}
