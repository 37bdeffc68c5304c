#include "twn/lttwn.h"

#include <QByteArray>

#include <sane/sane.h>
#include <sane/saneopts.h>

#include "krn/ltkrn.h"
#include "twn/SaneLibrary.h"
#include "twn/ScanReader.h"
#include "twn/ScanSettings.h"

namespace {

struct ModuleState {
  QString sourceName;
  ScanOptionsCallback optionsCallback;
};

ModuleState& State() {
  static ModuleState state;
  return state;
}

// An open device, cancelled (which ends any scan) and closed when it goes.
class OpenDevice {
 public:
  explicit OpenDevice(const QString& name) {
    if (sane_open(name.toUtf8().constData(), &handle_) != SANE_STATUS_GOOD) handle_ = nullptr;
  }
  ~OpenDevice() {
    if (!handle_) return;
    sane_cancel(handle_);
    sane_close(handle_);
  }
  OpenDevice(const OpenDevice&) = delete;
  OpenDevice& operator=(const OpenDevice&) = delete;
  SANE_Handle handle() const { return handle_; }

 private:
  SANE_Handle handle_ = nullptr;
};

// The device's resolution in dots per inch, or 0 when it does not say.
int DeviceResolution(SANE_Handle device) {
  for (const ScanOption& option : ReadScanSettings(device))
    if (option.Name == QLatin1String(SANE_NAME_SCAN_RESOLUTION) && option.Value.isValid())
      return qRound(option.Value.toDouble());
  return 0;
}

}  // namespace

int LtTwnModuleVersion() { return 10; }

int IsTwainAvailable(void* /*parent*/) { return SaneLibrary::start() ? SUCCESS : ERROR_FAILURE; }

int EnumTwainSources(TwainSourceCallback callback, void* userData) {
  if (!callback) return ERROR_INV_PARAMETER;
  if (!SaneLibrary::start()) return ERROR_FAILURE;
  QStringList names;
  {
    std::lock_guard guard(SaneLibrary::lock());
    const SANE_Device** devices = nullptr;
    if (sane_get_devices(&devices, SANE_FALSE) != SANE_STATUS_GOOD) return ERROR_FAILURE;
    for (int i = 0; devices && devices[i]; ++i)
      if (devices[i]->name) names << QString::fromUtf8(devices[i]->name);
  }
  // The callback runs without the lock, so it may itself use this module.
  for (const QString& name : names)
    if (callback(name, userData) != SUCCESS) break;
  return SUCCESS;
}

int SelectTwainSource(const TwainIdentity& identity) {
  if (identity.SourceName.trimmed().isEmpty()) return ERROR_INV_PARAMETER;
  std::lock_guard guard(SaneLibrary::lock());
  State().sourceName = identity.SourceName;
  return SUCCESS;
}

ScanOptionsCallback SetScanOptionsCallback(ScanOptionsCallback callback) {
  std::lock_guard guard(SaneLibrary::lock());
  ScanOptionsCallback previous = std::move(State().optionsCallback);
  State().optionsCallback = std::move(callback);
  return previous;
}

int AcquireFromTwain(ImageBitmap& bmp, int flags) {
  if (flags != TWAIN_QUICK_SCAN && flags != TWAIN_WITH_OPTIONS) return ERROR_INV_PARAMETER;
  if (!SaneLibrary::start()) return ERROR_FAILURE;
  std::unique_lock guard(SaneLibrary::lock());
  const QString name = State().sourceName;
  const ScanOptionsCallback ask = State().optionsCallback;
  if (name.isEmpty()) return ERROR_INV_PARAMETER;
  OpenDevice device(name);
  if (!device.handle()) return ERROR_FAILURE;
  if (flags == TWAIN_WITH_OPTIONS && ask) {
    QVariantMap chosen;
    if (!ask(ReadScanSettings(device.handle()), chosen)) return ERROR_USER_ABORT;
    const int applied = ApplyScanSettings(device.handle(), chosen);
    if (applied != SUCCESS) return applied;
  }
  const int dpi = DeviceResolution(device.handle());
  ScanReader reader(device.handle());
  const int result = reader.run();
  if (result != SUCCESS) return result;
  ImageBitmap scanned;
  const int stored = SetBitmapImage(scanned, reader.picture());
  if (stored != SUCCESS) return stored;
  if (dpi > 0) scanned.XResolution = scanned.YResolution = dpi;
  bmp = std::move(scanned);
  return SUCCESS;
}
