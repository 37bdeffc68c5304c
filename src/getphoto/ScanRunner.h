#pragma once

#include <QStringList>

#include "krn/ImageBitmap.h"
#include "twn/ScanOption.h"

class BackgroundRunner;
class PhotoScanner;

// A scanner's work on the background runner, so the window stays alive while a device
// works. For a scan, the device's options (for a scan with options) are asked on the
// interface thread, and the reading shows a progress box with Cancel.
class ScanRunner {
 public:
  // optionsUi: shows the options on the interface thread; false cancels the scan.
  // The scanned picture replaces target only when the scan succeeds (result above 0).
  static int Run(BackgroundRunner& runner, PhotoScanner& scanner, ImageBitmap& target, int flags,
                 const ScanOptionsCallback& optionsUi);
  // The devices' names: a scanner library may look for network devices for seconds.
  static QStringList ListSources(BackgroundRunner& runner, PhotoScanner& scanner);
};
