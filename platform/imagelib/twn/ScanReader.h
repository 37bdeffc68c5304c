#pragma once

#include <QImage>

#include <sane/sane.h>

// Runs one scan on an open, idle device and gathers its frames into a picture:
// Format_Grayscale8 for grey and line art, Format_RGB32 for colour (one RGB frame or
// separate red, green and blue frames). 1-bit and 16-bit samples become 8-bit.
// Progress goes through ReportProgress; a refusal cancels the scan.
class ScanReader {
 public:
  explicit ScanReader(SANE_Handle device) : device_(device) {}
  // SUCCESS with picture() filled, or a negative code.
  int run();
  const QImage& picture() const { return picture_; }

 private:
  int readFrame(const SANE_Parameters& p, int frameIndex, int frameCount, QByteArray& data);
  SANE_Handle device_;
  QImage picture_;
};
