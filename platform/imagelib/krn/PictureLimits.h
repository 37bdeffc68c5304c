#pragma once

// The largest pictures the imaging library decodes, and how far a file's data may expand.
// Every reader holds a picture's declared size against these before it sets anything
// aside for the pixels, so that a file of a few hundred bytes cannot make the library
// fill gigabytes of memory and disk (a decompression bomb).

#include <QtGlobal>

// A picture must be narrower and lower than kPictureSideLimit and hold fewer pixels than
// kPictureAreaLimit. Magick counts its limits the same way, and is given these.
constexpr qint64 kPictureSideLimit = 256000;
constexpr qint64 kPictureAreaLimit = 1000000000;

// A picture of up to kFreePictureArea pixels may come from however little data: some
// codings pack a flat picture into a few bytes (arithmetic-coded JPEG, fax coding, empty
// rows and repeated rows). Beyond it, every byte of coded data may stand for at most
// kPixelsPerDataByte more pixels. Pictures with any content stay far below that ratio;
// only flat ones come near it (a blank bilevel page packed as PNG: 8256 at the most).
constexpr qint64 kFreePictureArea = qint64(64) * 1024 * 1024;
constexpr qint64 kPixelsPerDataByte = 8192;

// Whether a picture of this size is within the library's limits.
bool PictureSizeAllowed(qint64 width, qint64 height);
// The verdict on a declared size before decoding: ERROR_IMAGE_TOO_LARGE beyond the
// library's limits; ERROR_FILE_CORRUPT when the format's own coding cannot fit that many
// pixels into the data (dataTooShort, which only the format's reader can tell);
// ERROR_IMAGE_TOO_LARGE when the picture is more than dataBytes of coded data may stand
// for; else SUCCESS.
int CheckPictureSize(qint64 width, qint64 height, qint64 dataBytes, bool dataTooShort);
