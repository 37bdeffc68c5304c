#pragma once

// The file module (ltfil10n.dll): file information, loading, saving and comments.

#include <QString>

#include "fil/FileFormats.h"
#include "fil/SaveComments.h"
#include "krn/ltkrn.h"

struct FileInfo {
  int Format = FILE_UNKNOWN;
  int Width = 0;          // as the picture will load: EXIF orientation already applied
  int Height = 0;
  int BitsPerPixel = 0;
  qint64 SizeDisk = 0;
};

// Reads only the file's header: no pixels are decoded. A picture that loading would
// refuse for its size is refused here already: ERROR_IMAGE_TOO_LARGE (beyond the
// library's limits, or more than the file's data may stand for) or ERROR_FILE_CORRUPT
// (more than the data can hold). With ERROR_IMAGE_TOO_LARGE, info holds the format and
// the declared size; on other failures it keeps what it held.
int GetImageFileInfo(const QString& file, FileInfo& info, int flags = 0);
// A sentence for people on a result of reading the file that info describes: ResultText,
// except that a picture refused as too large is named with its declared size, "The
// picture is too large: 30000 × 30000".
QString DescribeFileResult(int result, const FileInfo& info);
// Decodes the file into bmp at bmp.BitsPerPixel (0: the file's own depth), replacing
// whatever bmp held. The picture comes in upright: EXIF orientation is applied.
int LoadBitmapFile(const QString& file, ImageBitmap& bmp);
// Decodes the file into bmp at the file's own depth, replacing whatever bmp held.
int LoadImageFile(const QString& file, ImageBitmap& bmp);
// The general loader: free bmp, read the file's information, initialise bmp to that
// size and depth, decode. Returns the first result other than SUCCESS.
int LoadPictureFile(const QString& file, ImageBitmap& bmp);
// The same, giving what GetImageFileInfo read in info (for DescribeFileResult).
int LoadPictureFile(const QString& file, ImageBitmap& bmp, FileInfo& info);

// Encodes bmp as the given format at the given bits per pixel; qualityFactor runs from 2
// (best) to 255 (smallest) and matters for JPEG only. The file is written beside its
// target and renamed into place, so an old file is never left half-overwritten. The
// description among the comments goes into JPEG, PNG, TIFF and PSD files. A depth the
// format cannot hold becomes the nearest it can.
int SaveImageFile(const QString& file, const ImageBitmap& bmp, int format, int bitsPerPixel,
                  int qualityFactor, const SaveComments& comments);
// As SaveImageFile; paletteOption 1 keeps a 1- or 4-bit picture's own palette, 2 (or 0)
// makes an optimised palette when the target has fewer colours than the picture. Either
// way a palette that fits the target is kept, entries and indices, and a picture with
// few enough colours keeps them exactly; others are dithered (Floyd-Steinberg).
int SaveImageFileAs(const QString& file, const ImageBitmap& bmp, int format, int bitsPerPixel,
                    int qualityFactor, int paletteOption, const SaveComments& comments);
// The same saves with the comments of the process-wide table below, as the library's
// interface has always offered them. Saves on several threads cannot tell their comments
// apart through the table: pass the comments instead.
int SaveImageFile(const QString& file, const ImageBitmap& bmp, int format, int bitsPerPixel,
                  int qualityFactor);
int SaveImageFileAs(const QString& file, const ImageBitmap& bmp, int format, int bitsPerPixel,
                    int qualityFactor, int paletteOption = 2);

// The process-wide table of comments that the saves without comments of their own write.
// Sets (or, with an empty text, clears) the comment of that type for later saves.
int SetSaveComment(int type, const QString& text);
QString GetSaveComment(int type);
// Reads a comment of the file. Returns its length in characters, or a negative code
// (ERROR_NO_COMMENT when the file has none). text may be null to ask for the length.
int ReadFileComment(const QString& file, int type, QString* text);
