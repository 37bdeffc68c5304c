#pragma once

#include "krn/ImageBitmap.h"
#include "twn/ScanOption.h"

class PhotoScanner;
class QWidget;

// Runs one scan on a worker thread, so the window stays alive while a device works: the
// device's options (for a scan with options) are asked on the interface thread, the
// reading shows a progress box with Cancel. Returns when the scan has ended.
class ScanRunner {
 public:
  // optionsUi: shows the options on the interface thread; false cancels the scan.
  // The scanned picture replaces target only when the scan succeeds (result above 0).
  static int Run(PhotoScanner& scanner, ImageBitmap& target, int flags,
                 const ScanOptionsCallback& optionsUi, QWidget* parent);
};
