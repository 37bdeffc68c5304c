#include "fil/PictureFile.h"

#include "fil/FileBuffer.h"
#include "fil/FileFormats.h"
#include "fil/FormatDetector.h"
#include "fil/MagickRuntime.h"
#include "krn/ResultCodes.h"

int IdentifyPictureFile(const QString& file, PictureFile& picture) {
  FileBuffer head;
  if (const int rc = ReadFileBuffer(file, head, kDetectHeadBytes); rc != SUCCESS) return rc;
  const int format = DetectFormat(head.begin(), head.Size, head.DiskSize, FileExtension(file));
  const FormatTraits* traits = FindFormat(format);
  if (traits == nullptr) return ERROR_FILE_FORMAT;
  picture.Format = format;
  picture.DiskSize = head.DiskSize;
  picture.Traits = traits;
  return SUCCESS;
}

int CheckReadable(const PictureFile& picture) {
  switch (picture.Traits->Reader) {
    case Codec::None:
      return ERROR_FORMAT_NO_READER;
    case Codec::Magick:
      return MagickCanRead(picture.Traits->MagickCoder) ? SUCCESS : ERROR_FORMAT_NO_READER;
    default:
      return SUCCESS;
  }
}
