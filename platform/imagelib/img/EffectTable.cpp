#include "img/EffectTable.h"

#include <algorithm>
#include <array>

namespace {
constexpr char kNeighbourhood[] = "Neighborhood size in pixels (w by h)";

// The Gray Scale description ends in a line break, as the dialog has always shown it.
constexpr std::array<EffectInfo, 17> kEffects = {{
    {102, "Brightness", "Brightness", -1000, 1000, 200, 1, EffectOptions::None,
     "Changes the intensity (brightness) of the image in a bitmap.", ApplyBrightness},
    {103, "Contrast", "Contrast", -1000, 1000, 200, 1, EffectOptions::None,
     "Increases or decreases the contrast of the image in a bitmap.", ApplyContrast},
    {111, "Sharpen", "Amount to change the sharpness", -1000, 1000, 1, 1, EffectOptions::None,
     "Increases or decreases the sharpness of the image.  Negative values decrease the sharpness.  "
     "Positive values increase the sharpness.",
     ApplySharpen},
    {114, "Rotate", "Number of degrees to rotate the image", -360, 360, 90, 1, EffectOptions::None,
     "Rotate the image clockwise (in degrees)", ApplyRotateEffect},
    {100, "Invert Colors", "", 0, 0, 0, 1, EffectOptions::None,
     "Reverse the colors of the image (like the negative of a photograph)", ApplyInvert},
    {101, "Gray Scale", "", 0, 0, 0, 1, EffectOptions::None, "Convert the image colors to a gray scale\n",
     ApplyGrayScaleEffect},
    {115, "Hue", "Hue", -360, 360, 90, 1, EffectOptions::None,
     "Rotate the color wheel in either direction. A 180-degree rotation in either direction changes each "
     "color to its complement. Positive rotation takes red toward green, green toward blue, and blue "
     "toward red. Negative rotation has the opposite effect.",
     ApplyHueShift},
    {116, "Saturation", "Saturation", -100, 100, 50, 1, EffectOptions::None,
     "Negative values decrease the saturation of colors. Positive values increase the saturation. The "
     "saturation level is increased or decreased by a percentage of its present saturation level.",
     ApplySaturation},
    {107, "Mosaic", "Tile size in pixels (w by h)", 0, 16, 8, 1, EffectOptions::None,
     "Imposes a mosaic effect on the image by dividing the bitmap into tiles of the specified size and "
     "changing the color of all pixels in each tile to the average color of pixels within the tile.",
     ApplyMosaic},
    {108, "Oil Painting", kNeighbourhood, 0, 16, 8, 1, EffectOptions::None,
     "Applies an oil painting effect to the image.  Increase the size of the neighborhood to decrease the "
     "amount of detail in the resulting image.",
     ApplyOilPaint},
    {104, "Emboss", "Depth", 0, 1000, 500, 1, EffectOptions::Directions,
     "Applies an emboss effect to a bitmap, letting you specify the depth of the 3-D effect.", ApplyEmboss},
    {105, "Blur", kNeighbourhood, 0, 16, 8, 1, EffectOptions::None,
     "Changes the color of each pixel in the image to the average color of pixels in its neighborhood.",
     ApplyBlur},
    {106, "Reduce noise", kNeighbourhood, 0, 16, 8, 1, EffectOptions::None,
     "Changes the color of each pixel in the image to the median color of pixels in its neighborhood.",
     ApplyMedian},
    {112, "Add noise", "Range", 0, 1000, 500, 10, EffectOptions::Channels,
     "Adds random pixels to an image, letting you specify the percentage of coverage and the color plane.",
     ApplyNoise},
    {109, "Posterize", "Color Levels", 2, 64, 33, 1, EffectOptions::None,
     "Imposes a poster effect on a bitmap by quanitizing the image's colors to a special number of color "
     "levels per plane.  For example, two levels means two of red, two of green, and two of blue.",
     ApplyPosterize},
    {110, "Solarize", "Intensity Threshold", 0, 255, 128, 1, EffectOptions::None,
     "Applies an effect that mimics the accidental exposure of photographic film to light.  It does so by "
     "inverting all color data with an intensity value greater than or equal to the threshold that you "
     "specify.",
     ApplySolarize},
    {113, "Spatial Filter", "Spatial Filters", 0, 0, 0, 1, EffectOptions::Filters,
     "Imposes a spatial filter on an image.  Select one of the listed filters to apply.", ApplySpatialFilter},
}};

QString WordsOnly(const QString& name) {
  QString words;
  for (QChar c : name) words += (c == '-' || c == '_') ? QChar(' ') : c.toLower();
  return words.simplified();
}
}  // namespace

std::span<const EffectInfo> Effects() { return kEffects; }

const EffectInfo* FindEffect(int code) {
  for (const EffectInfo& effect : kEffects)
    if (effect.Code == code) return &effect;
  return nullptr;
}

const EffectInfo* FindEffectByName(const QString& name) {
  const QString wanted = WordsOnly(name);
  for (const EffectInfo& effect : kEffects)
    if (WordsOnly(QString::fromLatin1(effect.Name)) == wanted) return &effect;
  bool number = false;
  const int code = name.trimmed().toInt(&number);
  return number ? FindEffect(code) : nullptr;
}

QStringList EffectOptionTexts(EffectOptions options) {
  switch (options) {
    case EffectOptions::None: return {};
    case EffectOptions::Directions:
      return {"North", "Northeast", "East", "Southeast", "South", "Southwest", "West", "Northwest"};
    case EffectOptions::Channels: return {"Master Channel", "Red Channel", "Green Channel", "Blue Channel"};
    case EffectOptions::Filters: {
      QStringList filters;
      const QStringList directions = EffectOptionTexts(EffectOptions::Directions);
      for (const char* kind : {"Embossed effect", "Gradient effect"})
        for (const QString& direction : directions)
          filters << QStringLiteral("%1, %2 Direction").arg(QLatin1String(kind), direction);
      filters << "Laplacian line detection 1" << "Laplacian line detection 2" << "Laplacian line detection 3"
              << "Laplacian line detection, diagonal" << "Laplacian line detection, horizontal"
              << "Laplacian line detection, vertical" << "Sobel's edge detection, horizontal"
              << "Sobel's edge detection, vertical" << "Prewitt's edge detection, horizontal"
              << "Prewitt's edge detection, vertical" << "Shift and difference edge detection, diagonal"
              << "Shift and difference edge detection, horizontal"
              << "Shift and difference edge detection, vertical" << "Line segment detection, horizontal"
              << "Line segment detection, vertical" << "Line segment detection, left to right"
              << "Line segment detection, right to left";
      return filters;
    }
  }
  return {};
}

QString EffectValueText(const EffectInfo& effect, int position) {
  if (effect.PositionsPerUnit == 10) return QString::asprintf("%3.1f", position * 0.1);
  return QString::number(position);
}

int EffectValueFromText(const QString& text) {
  // As the C library's whole-number reading: blanks, a sign, then digits.
  const QString trimmed = text.trimmed();
  int i = 0;
  bool negative = false;
  if (i < trimmed.size() && (trimmed[i] == '-' || trimmed[i] == '+')) negative = trimmed[i++] == '-';
  long long value = 0;
  for (; i < trimmed.size() && trimmed[i].isDigit() && trimmed[i].unicode() < 128; ++i)
    value = std::min(value * 10 + (trimmed[i].unicode() - '0'), 1LL << 31);
  return int(std::clamp(negative ? -value : value, -(1LL << 31), (1LL << 31) - 1));
}

int ApplyEffect(const EffectInfo& effect, ImageBitmap& bmp, int value, int option) {
  if (effect.HasValue() && (value < effect.LowestValue() || value > effect.HighestValue())) return ERROR_INV_PARAMETER;
  const int options = int(EffectOptionTexts(effect.Options).size());
  if (options > 0 && (option < 0 || option >= options)) return ERROR_INV_PARAMETER;
  return effect.Operation(bmp, effect.HasValue() ? value : 0, options > 0 ? option : 0);
}
