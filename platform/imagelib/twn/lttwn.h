#pragma once

#include <QString>

#include "krn/ImageBitmap.h"
#include "krn/ResultCodes.h"
#include "twn/ScanOption.h"

// The lttwn10n.dll module: scanners and cameras through the system's scanner library.
// One scan runs at a time; calls from other threads wait their turn.
int LtTwnModuleVersion();

// SUCCESS when the scanner library loads and starts; a negative code otherwise.
int IsTwainAvailable(void* parent = nullptr);

// Called once a device with its name; return SUCCESS to go on, anything else to stop.
using TwainSourceCallback = int (*)(const QString& name, void* userData);
// Reports every device by name; SUCCESS, or a negative code when the library fails.
int EnumTwainSources(TwainSourceCallback callback, void* userData);

// Who is asking, and which device later acquires use.
struct TwainIdentity {
  QString Manufacturer;
  QString ProductFamily;
  QString ProductName;
  QString SourceName;  // a name EnumTwainSources reported
};
// Chooses the device for later acquires; ERROR_INV_PARAMETER for an empty source name.
int SelectTwainSource(const TwainIdentity& identity);

// Flags for AcquireFromTwain.
enum TwainAcquireFlags { TWAIN_QUICK_SCAN = 2, TWAIN_WITH_OPTIONS = 3 };

// Installs the function that offers a device's settings before a TWAIN_WITH_OPTIONS scan
// (an empty one removes it; such scans then use the device's settings) and returns the
// previous one.
ScanOptionsCallback SetScanOptionsCallback(ScanOptionsCallback callback);

// Scans one picture from the chosen device into bmp: 8-bit grey or 24-bit colour.
// TWAIN_QUICK_SCAN scans with the device's settings; TWAIN_WITH_OPTIONS first asks the
// options callback. Progress goes through ReportProgress; a refusal cancels the scan.
// Returns SUCCESS; ERROR_USER_ABORT when cancelled; ERROR_INV_PARAMETER for a bad flag,
// no chosen device or a setting the device refuses; ERROR_FAILURE when the device cannot
// be opened or fails; ERROR_IMAGE_TOO_LARGE for a picture beyond the library's limits.
// bmp is left untouched unless the scan succeeds.
int AcquireFromTwain(ImageBitmap& bmp, int flags);
