#pragma once

#include <span>

#include <QSize>
#include <QString>

struct ImageBitmap;

// What the Resize dialog offers and the rules of its own-size fields.

struct ResizePreset {
  int Button;  // the radio button's id
  const char* Label;
  int Width;
  int Height;
};
// The eight preset sizes, smallest first.
std::span<const ResizePreset> ResizePresets();
inline constexpr int kOwnSizeButton = 1255;

// JPEG, in which photos are stored, holds no picture wider or taller than this.
inline constexpr int kLargestResizeSide = 65535;

// The own size as its fields hold it: width, height, the ratio text and the keep-ratio box.
struct OwnSizeFields {
  int Width = 0;
  int Height = 0;
  QString Ratio;
  bool KeepRatio = true;

  // The picture's size as shown, its ratio, and the ratio kept.
  static OwnSizeFields ForPicture(const ImageBitmap& picture);
  // After the width field was left: the height follows the ratio when it is kept.
  void widthLeft();
  // After the height field was left: the width follows the ratio when it is kept.
  void heightLeft();
  // The ratio the text gives; a text that reads as no positive number is rewritten with
  // width / height first.
  double ratio();
};
// A ratio as the field shows it: "1.333333".
QString RatioText(double ratio);

// Why a picture of this size cannot be made ("" when it can): a side below 1 or above
// kLargestResizeSide, or more pixels than memoryBytes of memory hold at the picture's depth.
QString ResizeSizeProblem(int width, int height, int bitsPerPixel, qint64 memoryBytes);
// The machine's memory, for ResizeSizeProblem.
qint64 MachineMemoryBytes();

// Resizes the picture so that it shows as width x height: the stored sides are exchanged
// for a picture turned a quarter by its view perspective. Result of ResizeBitmap.
int ResizeToShownSize(ImageBitmap& picture, int width, int height);
