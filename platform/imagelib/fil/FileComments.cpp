// ReadFileComment: the description stored in a picture file.
#include "cmp/JpegCodec.h"
#include "fil/ExivMetadata.h"
#include "fil/FileBuffer.h"
#include "fil/NoThrow.h"
#include "fil/PictureFile.h"
#include "fil/ltfil.h"

namespace {
int ReadComment(const QString& file, int type, QString* text) {
  if (type < 0 || type >= COMMENT_TYPE_COUNT) return ERROR_INV_PARAMETER;
  PictureFile picture;
  if (const int rc = IdentifyPictureFile(file, picture); rc != SUCCESS) return rc;
  // Only the description is ever stored in files.
  if (type != COMMENT_DESCRIPTION) return ERROR_NO_COMMENT;
  QString description;
  int rc = SUCCESS;
  if (picture.Traits->Reader == Codec::Jpeg) {
    rc = ReadJpegDescription(file, description);
  } else {
    FileBuffer content;
    rc = ReadFileBuffer(file, content);
    if (rc == SUCCESS) rc = ExivReadDescription(content.begin(), content.Size, description);
  }
  if (rc != SUCCESS) return rc;
  if (description.isEmpty()) return ERROR_NO_COMMENT;
  if (text != nullptr) *text = description;
  // Lengths count characters, not UTF-16 units.
  return int(description.toUcs4().size());
}
}  // namespace

int ReadFileComment(const QString& file, int type, QString* text) {
  return NoThrow([&] { return ReadComment(file, type, text); });
}
