#include "photoedits/ResizeChoice.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <unistd.h>

#include "krn/PictureLimits.h"
#include "krn/ltkrn.h"

namespace {
constexpr ResizePreset kPresets[] = {
    {1242, "&320x200", 320, 200},     {1243, "&640x400", 640, 400},     {1244, "640x&480", 640, 480},
    {1245, "&800x600", 800, 600},     {1246, "1024x&768", 1024, 768},   {1247, "&1152x864", 1152, 864},
    {1248, "128&0x1024", 1280, 1024}, {1249, "1600x1&200", 1600, 1200},
};
constexpr qint64 kMegabyte = 1024 * 1024;

// A side from a ratio, to the nearest pixel: a ratio shown with six decimals must not
// turn 1000 into 999 by truncation.
int SideFrom(double value) {
  if (!std::isfinite(value)) return 0;
  return int(std::clamp<double>(std::round(value), std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
}  // namespace

std::span<const ResizePreset> ResizePresets() { return kPresets; }

QString RatioText(double ratio) { return QString::asprintf("%f", ratio); }

OwnSizeFields OwnSizeFields::ForPicture(const ImageBitmap& picture) {
  OwnSizeFields fields;
  const QSize shown = picture.shownSize();
  fields.Width = shown.width();
  fields.Height = shown.height();
  fields.Ratio = fields.Height > 0 ? RatioText(double(fields.Width) / fields.Height) : RatioText(0);
  return fields;
}

double OwnSizeFields::ratio() {
  bool number = false;
  const double given = Ratio.trimmed().toDouble(&number);
  if (number && given > 0 && std::isfinite(given)) return given;
  const double own = Width > 0 && Height > 0 ? double(Width) / Height : 0;
  Ratio = RatioText(own);
  return own;
}

void OwnSizeFields::widthLeft() {
  const double kept = ratio();
  if (KeepRatio && kept > 0) Height = SideFrom(Width / kept);
}

void OwnSizeFields::heightLeft() {
  const double kept = ratio();
  if (KeepRatio && kept > 0) Width = SideFrom(kept * Height);
}

QString ResizeSizeProblem(int width, int height, int bitsPerPixel, qint64 memoryBytes) {
  if (width < 1 || height < 1 || width > kLargestResizeSide || height > kLargestResizeSide)
    return QStringLiteral("Please choose a width and a height from 1 to %1 pixels.").arg(kLargestResizeSide);
  // Pictures of 24 and 32 bits keep four bytes a pixel; indexed ones one.
  const qint64 bytes = qint64(width) * height * (bitsPerPixel > 8 ? 4 : 1);
  if (!PictureSizeAllowed(width, height))
    return QStringLiteral("A picture of %1 x %2 pixels is larger than Brivane can hold: at most %3 million pixels. "
                          "Please choose a smaller size.")
        .arg(width)
        .arg(height)
        .arg(kPictureAreaLimit / 1000000);
  if (memoryBytes > 0 && bytes > memoryBytes)
    return QStringLiteral("A picture of %1 x %2 pixels would need %3 MB of memory, more than the %4 MB this "
                          "computer has. Please choose a smaller size.")
        .arg(width)
        .arg(height)
        .arg((bytes + kMegabyte - 1) / kMegabyte)
        .arg(memoryBytes / kMegabyte);
  return QString();
}

qint64 MachineMemoryBytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGE_SIZE);
  return pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : 0;
}

int ResizeToShownSize(ImageBitmap& picture, int width, int height) {
  if (picture.Perspective >= LeftTop) std::swap(width, height);
  return ResizeBitmap(picture, width, height);
}
