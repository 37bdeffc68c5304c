#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "dis/ltdis.h"
#include "img/EffectTable.h"

namespace {
// Small pictures of random colours, at every depth the library holds.
QImage RandomRgb(int width, int height, unsigned seed, bool alpha = false) {
  std::mt19937 random(seed);
  QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgba(int(random() % 256), int(random() % 256), int(random() % 256),
                                 alpha ? int(random() % 256) : 255));
  return image;
}

ImageBitmap Picture(const QImage& image) {
  ImageBitmap bmp;
  EXPECT_EQ(SetBitmapImage(bmp, image), SUCCESS);
  return bmp;
}

ImageBitmap PictureOfDepth(int bits, bool grey = false) {
  const QImage colours = RandomRgb(37, 29, 7 + bits, bits == 32);
  if (bits == 24 || bits == 32) return Picture(colours);
  const int entries = 1 << bits;
  QList<QRgb> palette;
  for (int i = 0; i < entries; ++i) {
    const int level = i * 255 / (entries - 1);
    palette << (grey ? qRgb(level, level, level) : qRgb(level, 255 - level, (level * 7) % 256));
  }
  QImage indexed(colours.size(), QImage::Format_Indexed8);
  indexed.setColorTable(palette);
  for (int y = 0; y < indexed.height(); ++y)
    for (int x = 0; x < indexed.width(); ++x) indexed.setPixel(x, y, uint((x * 3 + y * 5) % entries));
  ImageBitmap bmp = Picture(indexed);
  if (grey) bmp.Order = ColorOrder::Gray;
  return bmp;
}

QImage Rgb(const ImageBitmap& bmp) { return bmp.Pixels.convertToFormat(QImage::Format_ARGB32); }

QRgb At(const QImage& image, int x, int y) {
  return image.pixel(std::clamp(x, 0, image.width() - 1), std::clamp(y, 0, image.height() - 1));
}

// The obvious way: every output pixel from its own neighbourhood.
using PixelRule = std::function<QRgb(const QImage& in, int x, int y)>;
QImage Reference(const QImage& in, const PixelRule& rule) {
  QImage out(in.size(), QImage::Format_ARGB32);
  for (int y = 0; y < in.height(); ++y)
    for (int x = 0; x < in.width(); ++x)
      out.setPixel(x, y, (rule(in, x, y) & 0x00ffffffu) | (in.pixel(x, y) & 0xff000000u));
  return out;
}

std::vector<QRgb> Window(const QImage& in, int x, int y, int n) {
  std::vector<QRgb> pixels;
  for (int j = -(n - 1) / 2; j <= n / 2; ++j)
    for (int i = -(n - 1) / 2; i <= n / 2; ++i) pixels.push_back(At(in, x + i, y + j));
  return pixels;
}

int Component(QRgb p, int c) { return c == 0 ? qRed(p) : c == 1 ? qGreen(p) : qBlue(p); }
int Brightness(QRgb p) { return (qRed(p) * 77 + qGreen(p) * 150 + qBlue(p) * 29) >> 8; }

QRgb MeanOf(const std::vector<QRgb>& pixels) {
  int sum[3] = {0, 0, 0};
  for (QRgb p : pixels)
    for (int c = 0; c < 3; ++c) sum[c] += Component(p, c);
  const int n = int(pixels.size());
  return qRgb((sum[0] + n / 2) / n, (sum[1] + n / 2) / n, (sum[2] + n / 2) / n);
}

QRgb MedianOf(const std::vector<QRgb>& pixels) {
  int result[3];
  for (int c = 0; c < 3; ++c) {
    std::vector<int> values;
    for (QRgb p : pixels) values.push_back(Component(p, c));
    std::sort(values.begin(), values.end());
    result[c] = values[(values.size() - 1) / 2];
  }
  return qRgb(result[0], result[1], result[2]);
}

QRgb OilOf(const std::vector<QRgb>& pixels) {
  std::vector<std::vector<QRgb>> levels(64);
  for (QRgb p : pixels) levels[size_t(Brightness(p) >> 2)].push_back(p);
  size_t best = 0;
  for (size_t i = 1; i < levels.size(); ++i)
    if (levels[i].size() > levels[best].size()) best = i;
  return MeanOf(levels[best]);
}

void ExpectSamePixels(const QImage& a, const QImage& b, const std::string& what) {
  ASSERT_EQ(a.size(), b.size()) << what;
  int differences = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y) && ++differences <= 3)
        ADD_FAILURE() << what << ": differs at " << x << "," << y << ": " << std::hex << a.pixel(x, y) << " "
                      << b.pixel(x, y);
  EXPECT_EQ(differences, 0) << what;
}

QImage Applied(const QImage& image, EffectOperation operation, int value, int option = 0) {
  ImageBitmap bmp = Picture(image);
  EXPECT_EQ(operation(bmp, value, option), SUCCESS);
  return Rgb(bmp);
}
}  // namespace

TEST(ImageProcessingTable, EveryEffectRunsOnEveryDepthAtItsStartAndRangeEnds) {
  const std::vector<std::pair<int, bool>> depths = {{1, false}, {4, false}, {8, false}, {8, true}, {24, false}, {32, false}};
  for (const EffectInfo& effect : Effects()) {
    const int options = std::max<int>(1, int(EffectOptionTexts(effect.Options).size()));
    std::vector<int> values = {effect.Start / effect.PositionsPerUnit};
    if (effect.HasValue()) values.insert(values.end(), {effect.LowestValue(), effect.HighestValue()});
    for (const auto& [bits, grey] : depths)
      for (int value : values)
        for (int option : {0, options - 1}) {
          ImageBitmap bmp = PictureOfDepth(bits, grey);
          const std::string what = std::string(effect.Name) + " " + std::to_string(value) + "/" +
                                   std::to_string(option) + " at " + std::to_string(bits) + (grey ? " grey" : "");
          ASSERT_EQ(ApplyEffect(effect, bmp, value, option), SUCCESS) << what;
          EXPECT_TRUE(IsSupportedBits(bmp.BitsPerPixel)) << what;
          EXPECT_EQ(bmp.Pixels.format(), ImageFormatForBits(bmp.BitsPerPixel)) << what;
          EXPECT_EQ(QSize(bmp.Width, bmp.Height), bmp.Pixels.size()) << what;
          if (effect.Code != 114) {
            EXPECT_EQ(bmp.Pixels.size(), QSize(37, 29)) << what;
          }
        }
  }
}

TEST(ImageProcessingTable, TextsAndValuesAreTheDialogs) {
  ASSERT_EQ(Effects().size(), 17u);
  EXPECT_EQ(EffectOptionTexts(EffectOptions::Filters).size(), qsizetype(kSpatialFilterCount));
  EXPECT_EQ(EffectOptionTexts(EffectOptions::Filters).at(19), "Laplacian line detection, diagonal");
  EXPECT_EQ(EffectOptionTexts(EffectOptions::Filters).at(15), "Gradient effect, Northwest Direction");
  const EffectInfo& noise = *FindEffect(112);
  EXPECT_EQ(EffectValueText(noise, 500), "50.0");
  EXPECT_EQ(EffectValueText(noise, 5), "0.5");
  EXPECT_EQ(EffectValueFromText(EffectValueText(noise, 995)), 99);
  EXPECT_EQ(EffectValueText(*FindEffect(114), -360), "-360");
  EXPECT_EQ(EffectValueFromText(" -360"), -360);
  EXPECT_EQ(EffectValueFromText(""), 0);
  EXPECT_EQ(FindEffectByName("gray-scale"), FindEffect(101));
  EXPECT_EQ(FindEffectByName("REDUCE_NOISE"), FindEffect(106));
  EXPECT_EQ(FindEffectByName("113"), FindEffect(113));
  EXPECT_EQ(FindEffectByName("grey"), nullptr);
  EXPECT_EQ(noise.HighestValue(), 100);
  EXPECT_FALSE(FindEffect(113)->HasValue());
}

TEST(ImageProcessingTable, ValuesAndOptionsOutsideTheRangeAreRefusedAndChangeNothing) {
  for (const EffectInfo& effect : Effects()) {
    const QImage image = RandomRgb(9, 7, 3);
    ImageBitmap bmp = Picture(image);
    if (effect.HasValue()) {
      EXPECT_EQ(ApplyEffect(effect, bmp, effect.HighestValue() + 1, 0), ERROR_INV_PARAMETER) << effect.Name;
      EXPECT_EQ(ApplyEffect(effect, bmp, effect.LowestValue() - 1, 0), ERROR_INV_PARAMETER) << effect.Name;
    }
    if (effect.Options != EffectOptions::None) {
      EXPECT_EQ(ApplyEffect(effect, bmp, effect.Start / effect.PositionsPerUnit, -1), ERROR_INV_PARAMETER);
      EXPECT_EQ(ApplyEffect(effect, bmp, effect.Start / effect.PositionsPerUnit,
                            int(EffectOptionTexts(effect.Options).size())),
                ERROR_INV_PARAMETER);
    }
    EXPECT_EQ(bmp.Pixels, image) << effect.Name;
    ImageBitmap empty;
    EXPECT_EQ(ApplyEffect(effect, empty, effect.Start / effect.PositionsPerUnit, 0), ERROR_NO_BITMAP) << effect.Name;
  }
}

TEST(ImageProcessing, IdentityValuesLeaveThePixelsAlone) {
  const QImage image = RandomRgb(31, 23, 11, true);
  const std::vector<std::pair<EffectOperation, int>> identities = {
      {ApplyBrightness, 0}, {ApplyContrast, 0}, {ApplySharpen, 0}, {ApplyRotateEffect, 0},
      {ApplyRotateEffect, 360}, {ApplyRotateEffect, -360}, {ApplyHueShift, 0}, {ApplyHueShift, 360},
      {ApplySaturation, 0}, {ApplyMosaic, 0}, {ApplyMosaic, 1}, {ApplyOilPaint, 0}, {ApplyOilPaint, 1},
      {ApplyBlur, 0}, {ApplyBlur, 1}, {ApplyMedian, 0}, {ApplyMedian, 1}, {ApplyNoise, 0}};
  for (const auto& [operation, value] : identities) {
    ImageBitmap bmp = Picture(image);
    ASSERT_EQ(operation(bmp, value, 0), SUCCESS);
    EXPECT_EQ(Rgb(bmp), image) << value;
  }
}

TEST(ImageProcessing, ColourMapsMatchTheirDefinitions) {
  const QImage image = RandomRgb(40, 30, 5, true);
  auto perComponent = [&](const std::function<int(int)>& f) {
    return Reference(image, [&](const QImage& in, int x, int y) {
      const QRgb p = in.pixel(x, y);
      return qRgb(f(qRed(p)), f(qGreen(p)), f(qBlue(p)));
    });
  };
  ExpectSamePixels(Applied(image, ApplyInvert, 0), perComponent([](int c) { return 255 - c; }), "invert");
  for (int levels : {2, 3, 33, 64})
    ExpectSamePixels(Applied(image, ApplyPosterize, levels),
                     perComponent([&](int c) { return (c * levels / 256 * 255 + (levels - 1) / 2) / (levels - 1); }),
                     "posterize");
  for (int threshold : {0, 128, 255})
    ExpectSamePixels(Applied(image, ApplySolarize, threshold),
                     perComponent([&](int c) { return c >= threshold ? 255 - c : c; }), "solarize");
  ExpectSamePixels(Applied(image, ApplyBrightness, 1000), perComponent([](int) { return 255; }), "white");
  ExpectSamePixels(Applied(image, ApplyBrightness, -1000), perComponent([](int) { return 0; }), "black");
  ExpectSamePixels(Applied(image, ApplyContrast, -1000), perComponent([](int) { return 128; }), "flat");

  ImageBitmap grey = Picture(image);
  ASSERT_EQ(ApplyGrayScaleEffect(grey, 0, 0), SUCCESS);
  EXPECT_EQ(grey.BitsPerPixel, 8);
  EXPECT_EQ(grey.Order, ColorOrder::Gray);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ASSERT_EQ(qRed(grey.Pixels.pixel(x, y)), Brightness(image.pixel(x, y)));

  // Hue turns the colour wheel: a third of a turn takes red to green, half a turn gives
  // the complement; greys have no hue.
  QImage wheel(4, 1, QImage::Format_RGB32);
  wheel.setPixel(0, 0, qRgb(255, 0, 0));
  wheel.setPixel(1, 0, qRgb(0, 0, 255));
  wheel.setPixel(2, 0, qRgb(90, 90, 90));
  wheel.setPixel(3, 0, qRgb(200, 120, 40));
  const QImage third = Applied(wheel, ApplyHueShift, 120);
  EXPECT_EQ(third.pixel(0, 0), qRgb(0, 255, 0));
  EXPECT_EQ(third.pixel(1, 0), qRgb(255, 0, 0));
  EXPECT_EQ(third.pixel(2, 0), qRgb(90, 90, 90));
  EXPECT_EQ(Applied(wheel, ApplyHueShift, 180).pixel(3, 0), qRgb(40, 120, 200));
  EXPECT_EQ(Applied(wheel, ApplyHueShift, -120).pixel(0, 0), qRgb(0, 0, 255));

  // Saturation keeps the lightness: -100 gives the grey of it, +100 stays in range.
  const QImage flat = Applied(wheel, ApplySaturation, -100);
  EXPECT_EQ(flat.pixel(0, 0), qRgb(128, 128, 128));
  EXPECT_EQ(flat.pixel(3, 0), qRgb(120, 120, 120));
  const QImage vivid = Applied(wheel, ApplySaturation, 100);
  EXPECT_EQ(vivid.pixel(3, 0), qRgb(240, 120, 0));
}

TEST(ImageProcessing, NeighbourhoodFiltersMatchTheObviousWayAtEverySize) {
  // Wider and taller than a band, so bands and edges both show.
  const QImage image = RandomRgb(53, 150, 9, true);
  for (int n : {2, 3, 4, 7, 8, 16, 17}) {
    const std::string size = std::to_string(n);
    ExpectSamePixels(Applied(image, ApplyBlur, n),
                     Reference(image, [n](const QImage& in, int x, int y) { return MeanOf(Window(in, x, y, n)); }),
                     "blur " + size);
    ExpectSamePixels(Applied(image, ApplyMedian, n),
                     Reference(image, [n](const QImage& in, int x, int y) { return MedianOf(Window(in, x, y, n)); }),
                     "median " + size);
    ExpectSamePixels(Applied(image, ApplyOilPaint, n),
                     Reference(image, [n](const QImage& in, int x, int y) { return OilOf(Window(in, x, y, n)); }),
                     "oil " + size);
    ExpectSamePixels(Applied(image, ApplyMosaic, n), Reference(image, [n](const QImage& in, int x, int y) {
                       std::vector<QRgb> tile;
                       for (int j = y / n * n; j < std::min(in.height(), (y / n + 1) * n); ++j)
                         for (int i = x / n * n; i < std::min(in.width(), (x / n + 1) * n); ++i) tile.push_back(in.pixel(i, j));
                       return MeanOf(tile);
                     }),
                     "mosaic " + size);
  }
  // A flat picture with one speck: the median takes the speck away, the mean spreads it.
  QImage speck(9, 9, QImage::Format_RGB32);
  speck.fill(qRgb(10, 10, 10));
  speck.setPixel(4, 4, qRgb(250, 250, 250));
  EXPECT_EQ(Applied(speck, ApplyMedian, 3).pixel(4, 4), qRgb(10, 10, 10));
  EXPECT_EQ(Applied(speck, ApplyBlur, 3).pixel(3, 3), qRgb(37, 37, 37));
}

TEST(ImageProcessing, ThreeByThreeFiltersMatchTheObviousWay) {
  const QImage image = RandomRgb(25, 70, 13);
  const int kernels[3][9] = {{-1, -2, -1, 0, 0, 0, 1, 2, 1},      // Sobel, horizontal edges
                             {0, -1, 0, -1, 4, -1, 0, -1, 0},     // Laplacian 1
                             {-1, -1, 2, -1, 2, -1, 2, -1, -1}};  // line segments, right to left
  const int filters[3] = {22, 16, 32};
  for (int k = 0; k < 3; ++k)
    ExpectSamePixels(Applied(image, ApplySpatialFilter, 0, filters[k]),
                     Reference(image, [&](const QImage& in, int x, int y) {
                       int sum[3] = {0, 0, 0};
                       for (int j = -1; j <= 1; ++j)
                         for (int i = -1; i <= 1; ++i)
                           for (int c = 0; c < 3; ++c) sum[c] += kernels[k][(j + 1) * 3 + i + 1] * Component(At(in, x + i, y + j), c);
                       return qRgb(std::min(255, std::abs(sum[0])), std::min(255, std::abs(sum[1])), std::min(255, std::abs(sum[2])));
                     }),
                     "filter " + std::to_string(filters[k]));
  // Embossing lit from the east (option 2): the slope between the east and west neighbours.
  ExpectSamePixels(Applied(image, ApplyEmboss, 500, 2), Reference(image, [](const QImage& in, int x, int y) {
                     const int slope = Brightness(At(in, x + 1, y)) - Brightness(At(in, x - 1, y));
                     const int grey = std::clamp(128 + slope, 0, 255);
                     return qRgb(grey, grey, grey);
                   }),
                   "emboss");
  // Softening all the way is the 3 x 3 mean.
  ExpectSamePixels(Applied(image, ApplySharpen, -1000),
                   Reference(image, [](const QImage& in, int x, int y) { return MeanOf(Window(in, x, y, 3)); }),
                   "soften");
}

TEST(ImageProcessing, DepthsAreKeptWhereColoursMapOneToOne) {
  ImageBitmap palette = PictureOfDepth(4);
  const QImage indexes = palette.Pixels;
  ASSERT_EQ(ApplyInvert(palette, 0, 0), SUCCESS);
  EXPECT_EQ(palette.BitsPerPixel, 4);
  EXPECT_EQ(palette.Pixels.colorTable().first(), qRgb(255, 0, 255 - 0));
  for (int y = 0; y < indexes.height(); ++y)
    for (int x = 0; x < indexes.width(); ++x) ASSERT_EQ(palette.Pixels.pixelIndex(x, y), indexes.pixelIndex(x, y));

  ImageBitmap grey = PictureOfDepth(8, true);
  ASSERT_EQ(ApplyMedian(grey, 5, 0), SUCCESS);
  EXPECT_EQ(grey.BitsPerPixel, 8);
  EXPECT_EQ(grey.Order, ColorOrder::Gray);
  ASSERT_EQ(ApplyHueShift(grey, 90, 0), SUCCESS);
  EXPECT_EQ(grey.Order, ColorOrder::Gray);

  ImageBitmap colours = PictureOfDepth(8);
  ASSERT_EQ(ApplyBlur(colours, 3, 0), SUCCESS);
  EXPECT_EQ(colours.BitsPerPixel, 24);

  ImageBitmap transparent = PictureOfDepth(32);
  const QImage before = transparent.Pixels;
  ASSERT_EQ(ApplyOilPaint(transparent, 4, 0), SUCCESS);
  EXPECT_EQ(transparent.BitsPerPixel, 32);
  EXPECT_EQ(qAlpha(transparent.Pixels.pixel(5, 5)), qAlpha(before.pixel(5, 5)));
}

TEST(ImageProcessing, TheRegionLimitsTheChange) {
  const QRect inside(10, 5, 12, 9);
  for (const EffectInfo& effect : Effects()) {
    if (effect.Code == 114) continue;  // turning the canvas drops the region
    for (int bits : {8, 24}) {
      ImageBitmap bmp = PictureOfDepth(bits);
      const QImage before = Rgb(bmp);
      ASSERT_EQ(SetRectRegion(bmp, inside), SUCCESS);
      const int value = effect.Start / effect.PositionsPerUnit;
      ASSERT_EQ(ApplyEffect(effect, bmp, effect.Code == 112 ? 100 : value, 0), SUCCESS) << effect.Name;
      const QImage after = Rgb(bmp);
      int changed = 0;
      for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
          if (inside.contains(x, y)) changed += after.pixel(x, y) != before.pixel(x, y);
          else ASSERT_EQ(after.pixel(x, y), before.pixel(x, y)) << effect.Name << " at " << x << "," << y;
        }
      EXPECT_GT(changed, 0) << effect.Name << " " << bits;
      EXPECT_FALSE(bmp.Region.isEmpty());
    }
  }
}

TEST(ImageProcessing, AStopFromTheProgressCallbackLeavesThePictureAsItWas) {
  const QImage image = RandomRgb(300, 400, 17);
  for (const EffectInfo& effect : Effects())
    for (int stopAt : {0, 1, 3}) {
      ImageBitmap bmp = Picture(image);
      int calls = 0;
      const ProgressCallback previous = SetProgressCallback([&](int) { return calls++ < stopAt ? 1 : 0; });
      const int result = ApplyEffect(effect, bmp, effect.HasValue() ? effect.HighestValue() : 0, 0);
      SetProgressCallback(previous);
      // Too quick to be stopped, or stopped with nothing changed.
      if (result == SUCCESS) continue;
      EXPECT_EQ(result, ERROR_USER_ABORT) << effect.Name;
      EXPECT_EQ(bmp.Pixels, image) << effect.Name;
    }
  // The slow ones report often enough to be stopped at all.
  for (EffectOperation operation : {ApplyMedian, ApplyBlur, ApplyOilPaint}) {
    ImageBitmap bmp = Picture(image);
    const ProgressCallback previous = SetProgressCallback([](int percent) { return percent < 10 ? 1 : 0; });
    EXPECT_EQ(operation(bmp, 16, 0), ERROR_USER_ABORT);
    SetProgressCallback(previous);
    EXPECT_EQ(bmp.Pixels, image);
  }
}

TEST(ImageProcessing, NoiseCoversItsShareInItsPlane) {
  QImage image(200, 200, QImage::Format_RGB32);
  image.fill(qRgb(100, 100, 100));
  const QImage master = Applied(image, ApplyNoise, 50, 0);
  const QImage red = Applied(image, ApplyNoise, 100, 1);
  int changed = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) {
      changed += master.pixel(x, y) != image.pixel(x, y);
      ASSERT_EQ(qGreen(red.pixel(x, y)), 100);
      ASSERT_EQ(qBlue(red.pixel(x, y)), 100);
    }
  EXPECT_NEAR(changed, 20000, 800);
  EXPECT_NE(red, image);
}
