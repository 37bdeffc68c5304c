#pragma once

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include "krn/ltkrn.h"
#include "library/PhotoEncoding.h"
#include "library/PhotoStore.h"

// A picture with some structure, so JPEG has something to encode.
inline ImageBitmap TestPicture(int width, int height, int seed = 0) {
  ImageBitmap bmp;
  CreateBitmap(bmp, 1, width, height, 24, ColorOrder::Bgr, nullptr, TopLeft);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(bmp.Pixels.scanLine(y));
    for (int x = 0; x < width; ++x) row[x] = qRgb((x + seed) % 256, (2 * y) % 256, (x + y + seed) % 256);
  }
  return bmp;
}

// Every file of a folder, hidden ones included, with its content; the store's lock files,
// empty and there from the first store on, are left out.
inline QMap<QString, QByteArray> FolderContents(const QString& folder) {
  QMap<QString, QByteArray> contents;
  for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
    if (name.startsWith(".brivane") && name.endsWith(".lock")) continue;
    QFile file(folder + name);
    file.open(QIODevice::ReadOnly);
    contents[name] = file.readAll();
  }
  return contents;
}

// A store in a fresh temporary My Photos folder.
class StoreFixture {
 public:
  StoreFixture() : store(dir.path() + "/myphotos/") { store.EnsureFolder(); }

  int Store(const QString& name, const QString& description = {}, int width = 160,
            int height = 120, int seed = 0) {
    ImageBitmap working = TestPicture(width, height, seed);
    return store.StorePhoto(working, name, description);
  }
  QString Folder() const { return store.Folder(); }

  QTemporaryDir dir;
  PhotoStore store;
};
