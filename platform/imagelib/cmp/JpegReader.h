#pragma once

#include <cstddef>

#include <QString>
#include <QtGlobal>

#include "cmp/JpegErrorManager.h"
#include "cmp/JpegProgressMonitor.h"

// One decompression of one file, in steps, so the caller can look at the header and
// allocate the target before the pixels are decoded. Each step runs libjpeg inside its
// own setjmp frame and returns SUCCESS or the library's result code; after a failure
// the reader is done. The file and libjpeg's memory are released with the reader.
class JpegReader {
 public:
  JpegReader() = default;
  ~JpegReader();
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  // Opens a regular file for reading, libjpeg pulling bufferSize bytes at a time.
  int open(const QString& file, std::size_t bufferSize);
  // Reads the markers up to the first scan, keeping every APP1 segment (EXIF, XMP)
  // and, with keepComments, the COM markers.
  int readHeader(bool keepComments);
  // Chooses the output colour space and a 1/scaleDenominator scale (1, 2, 4 or 8) and
  // works out output_width, output_height and output_components.
  int prepareOutput(J_COLOR_SPACE space, int scaleDenominator);
  // Decodes all rows into memory: row y starts at first + y * stride, and the buffer
  // holds rowCount rows. Reports progress; a stop request gives ERROR_USER_ABORT.
  int decodeRows(unsigned char* first, qsizetype stride, int rowCount);

  const jpeg_decompress_struct& info() const { return cinfo_; }
  // After readHeader: the bytes from the start of the first scan to the end of the file,
  // all that can hold the coded pixels.
  qint64 dataBytes() const;

 private:
  int startSession(std::size_t bufferSize);

  jpeg_decompress_struct cinfo_{};
  JpegErrorManager errors_{};
  JpegProgressMonitor progress_{};
  int fd_ = -1;
  qint64 fileSize_ = 0;
};
