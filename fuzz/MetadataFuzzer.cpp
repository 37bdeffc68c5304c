// The description readers: EXIF ImageDescription, XMP dc:description and the comment of
// JPEG files through the codec, of other pictures through Exiv2, as the photo store, the
// thumbnail list and the brivane tool read them.

#include <string>

#include <QFile>
#include <QString>

#include "FuzzSupport.h"
#include "fil/ltfil.h"
#include "library/PhotoEncoding.h"
#include "library/PhotoNames.h"
#include "library/ThumbnailDecoder.h"

namespace {
qsizetype Characters(const QString& text) { return text.toUcs4().size(); }

void ReadDescriptions(const QString& file) {
  QString comment;
  const int length = ReadFileComment(file, COMMENT_DESCRIPTION, &comment);
  FUZZ_EXPECT(ReadFileComment(file, COMMENT_DESCRIPTION, nullptr) == length,
              "asking for the length alone gives the same length");
  if (length >= 0) {
    FUZZ_EXPECT(length == Characters(comment), "the length counts the comment's characters");
    FUZZ_EXPECT(length > 0, "a found comment is not empty");
  }
  // Only the description is ever stored in files; other types are absent or refused.
  for (const int type : {0, 1, COMMENT_DESCRIPTION + 1, COMMENT_TYPE_COUNT - 1})
    FUZZ_EXPECT(ReadFileComment(file, type, nullptr) < 0, "only the description is in files");
  for (const int type : {-1, COMMENT_TYPE_COUNT})
    FUZZ_EXPECT(ReadFileComment(file, type, nullptr) == ERROR_INV_PARAMETER,
                "a type outside the table is refused");

  const QString description = ReadPhotoDescription(file);
  FUZZ_EXPECT(Characters(description) <= kMaxDescriptionLength,
              "a photo's description keeps to its length");
  FUZZ_EXPECT(!description.contains(QChar(0)), "a photo's description ends at a zero");
  if (length < 0)
    FUZZ_EXPECT(description.isEmpty(), "a file without a comment has no description");
  else
    FUZZ_EXPECT(comment.startsWith(description), "the description is the comment's start");

  // The thumbnail list reads the picture and the description in one pass: the same text.
  ImageBitmap thumbnail;
  QString shown;
  if (DecodeThumbnail(file, thumbnail, shown) == SUCCESS) {
    FUZZ_EXPECT(thumbnail.hasPixels(), "a decoded thumbnail has pixels");
    FUZZ_EXPECT(shown == description, "the thumbnail list shows the photo's description");
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The photo store's files are JPEGs named .jpg; other pictures are found by content.
  const std::string path = WriteScratchFile("photo.jpg", data, size);
  ReadDescriptions(QFile::decodeName(path.c_str()));
  return 0;
}
