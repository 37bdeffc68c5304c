// GetImageFileInfo: what a picture file holds, from its header; and what to tell people
// when reading it fails.
#include "cmp/JpegCodec.h"
#include "fil/FileBuffer.h"
#include "fil/MagickDecoder.h"
#include "fil/NoThrow.h"
#include "fil/OwnCodecs.h"
#include "fil/PictureFile.h"
#include "fil/ltfil.h"

namespace {
int JpegFileInfo(const QString& file, FileInfo& info) {
  JpegInfo jpeg;
  if (const int rc = ReadJpegInfo(file, jpeg); rc != SUCCESS) return rc;
  const bool turned = jpeg.Orientation >= 5 && jpeg.Orientation <= 8;
  info.Width = turned ? jpeg.Height : jpeg.Width;
  info.Height = turned ? jpeg.Width : jpeg.Height;
  info.BitsPerPixel = jpeg.Components == 1 ? 8 : 24;
  return CheckJpegData(jpeg);
}

int ReadInfo(const QString& file, FileInfo& info) {
  PictureFile picture;
  if (const int rc = IdentifyPictureFile(file, picture); rc != SUCCESS) return rc;
  if (const int rc = CheckReadable(picture); rc != SUCCESS) return rc;
  FileInfo out;
  out.Format = picture.Format;
  out.SizeDisk = picture.DiskSize;
  int rc = SUCCESS;
  if (picture.Traits->Reader == Codec::Jpeg) {
    rc = JpegFileInfo(file, out);
  } else {
    FileBuffer content;
    rc = ReadFileBuffer(file, content);
    if (rc == SUCCESS) {
      rc = picture.Traits->Reader == Codec::Magick
               ? MagickReadPictureInfo(content, *picture.Traits, out)
               : OwnCodecInfo(content, *picture.Traits, out);
    }
  }
  // A picture refused for its size takes the size along, for the message that names it.
  if (rc == SUCCESS || rc == ERROR_IMAGE_TOO_LARGE) info = out;
  return rc;
}
}  // namespace

int GetImageFileInfo(const QString& file, FileInfo& info, int /*flags*/) {
  return NoThrow([&] { return ReadInfo(file, info); });
}

QString DescribeFileResult(int result, const FileInfo& info) {
  if (result != ERROR_IMAGE_TOO_LARGE) return QString::fromUtf8(ResultText(result));
  if (info.Width <= 0 || info.Height <= 0) return QStringLiteral("The picture is too large.");
  return QStringLiteral("The picture is too large: %1 \u00D7 %2").arg(info.Width).arg(info.Height);
}
