#pragma once

#include <QList>
#include <QVariantMap>

#include <sane/sane.h>
#include <sane/saneopts.h>

#include "twn/ScanOption.h"

// The settings of an open device that people choose before a scan: mode, resolution and
// the scan area, as the device describes them (inactive ones left out).
QList<ScanOption> ReadScanSettings(SANE_Handle device);

// Sets the chosen values by option name: the mode first, the area last. Any settable
// option of the device may be named. SUCCESS, or ERROR_INV_PARAMETER when a name is
// unknown, a value is of the wrong kind or outside what the device allows, or the
// device refuses it.
int ApplyScanSettings(SANE_Handle device, const QVariantMap& chosen);
