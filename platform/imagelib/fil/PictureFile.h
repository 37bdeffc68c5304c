#pragma once

// The first steps every reading function shares: is there a readable file, and which
// format does it hold.

#include <QString>

#include "fil/FormatTable.h"

struct PictureFile {
  int Format = 0;
  qint64 DiskSize = 0;
  const FormatTraits* Traits = nullptr;
};

// ERROR_FILE_NOT_FOUND, ERROR_FILE_OPEN, ERROR_FILE_FORMAT (empty or unknown content)
// or SUCCESS with the detected format.
int IdentifyPictureFile(const QString& file, PictureFile& picture);
// ERROR_FORMAT_NO_READER when nothing here reads the format.
int CheckReadable(const PictureFile& picture);
