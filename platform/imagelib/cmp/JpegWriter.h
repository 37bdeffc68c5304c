#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include "cmp/JpegErrorManager.h"
#include "cmp/JpegProgressMonitor.h"

// What one compression writes: rows already in libjpeg's input layout, the tables and
// sampling, and the marker segments that go right after the JFIF header.
struct JpegWriteJob {
  struct Marker {
    int code;          // JPEG_APP0 + n or JPEG_COM
    QByteArray data;   // at most 65533 bytes
  };
  const unsigned char* firstRow = nullptr;
  qsizetype stride = 0;
  int width = 0;
  int height = 0;
  J_COLOR_SPACE inputSpace = JCS_UNKNOWN;
  int inputComponents = 0;
  bool grey = false;             // write one grey component
  bool subsampleChroma = false;  // 2x2 chroma subsampling, else none
  int qualityScale = 100;        // percent of the standard tables
  int xDotsPerInch = 0;          // 0: unknown, only a square pixel aspect is written
  int yDotsPerInch = 0;
  QList<Marker> markers;
};

// One compression into one file. The file is created or truncated; when anything fails
// it is removed again (unless it is not a regular file) so no half-written JPEG remains.
class JpegWriter {
 public:
  JpegWriter() = default;
  ~JpegWriter();
  JpegWriter(const JpegWriter&) = delete;
  JpegWriter& operator=(const JpegWriter&) = delete;

  int write(const QString& file, const JpegWriteJob& job);

 private:
  int compress(const JpegWriteJob& job);

  jpeg_compress_struct cinfo_{};
  JpegErrorManager errors_{};
  JpegProgressMonitor progress_{};
  int fd_ = -1;
};
