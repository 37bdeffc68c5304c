#pragma once

#include <QString>
#include <QStringList>

#include "krn/ImageBitmap.h"
#include "twn/ScanOption.h"

// The wizard's way to scanners and cameras. The program uses the scanner module; tests
// may hand the wizard one that has no scanner library.
class PhotoScanner {
 public:
  virtual ~PhotoScanner();

  // Whether a scanner library is there to ask (devices may still be none).
  virtual bool isAvailable() = 0;
  // The devices' names, in the order the library reports them.
  virtual QStringList sources() = 0;
  // Chooses the device for the next acquire; the library's result.
  virtual int select(const QString& source) = 0;
  // Scans into bmp (untouched unless it succeeds); may run on any thread. options is
  // asked first for a scan with the device's options. Returns the library's result.
  virtual int acquire(ImageBitmap& bmp, int flags, const ScanOptionsCallback& options) = 0;
};

// The scanner module of the imaging library.
class TwainPhotoScanner : public PhotoScanner {
 public:
  bool isAvailable() override;
  QStringList sources() override;
  int select(const QString& source) override;
  int acquire(ImageBitmap& bmp, int flags, const ScanOptionsCallback& options) override;
};
