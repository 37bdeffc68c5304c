#include "getphoto/PhotoScanner.h"

#include "twn/lttwn.h"

PhotoScanner::~PhotoScanner() = default;

bool TwainPhotoScanner::isAvailable() { return IsTwainAvailable() == SUCCESS; }

QStringList TwainPhotoScanner::sources() {
  QStringList names;
  EnumTwainSources(
      [](const QString& name, void* data) {
        static_cast<QStringList*>(data)->append(name);
        return int(SUCCESS);
      },
      &names);
  return names;
}

int TwainPhotoScanner::select(const QString& source) {
  return SelectTwainSource({"Veldano", "Photo Application", "Brivane", source});
}

int TwainPhotoScanner::acquire(ImageBitmap& bmp, int flags, const ScanOptionsCallback& options) {
  const ScanOptionsCallback previous = SetScanOptionsCallback(options);
  const int result = AcquireFromTwain(bmp, flags);
  SetScanOptionsCallback(previous);
  return result;
}
