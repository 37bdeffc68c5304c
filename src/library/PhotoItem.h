#pragma once

#include <memory>

#include <QMetaType>
#include <QString>

#include "krn/ImageBitmap.h"

// What the photo list and the fun list show for one entry. Items are immutable once
// handed over: a changed thumbnail arrives as a new item, so an entry being painted is
// never changed under the painter.
struct PhotoItem {
  ImageBitmap Thumbnail;
  qint64 FileTime = 0;   // last-write time of the thumbnail file, in whole seconds
  QString Description;   // at most 255 characters
};

using PhotoItemPtr = std::shared_ptr<const PhotoItem>;
Q_DECLARE_METATYPE(PhotoItemPtr)
