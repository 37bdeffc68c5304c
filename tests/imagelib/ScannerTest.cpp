#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QStringList>

#include "krn/ltkrn.h"
#include "twn/lttwn.h"

namespace {

class Scanner : public ::testing::Test {
 protected:
  void SetUp() override {
    // Before the scanner library starts, so only the virtual test device is seen.
    qputenv("SANE_CONFIG_DIR", BRIVANE_SANE_CONFIG_DIR);
    ASSERT_EQ(IsTwainAvailable(), SUCCESS);
    ASSERT_EQ(SelectTwainSource({"Veldano", "Photo Application", "Brivane", "test:0"}), SUCCESS);
  }
  // The virtual device keeps settings between scans, so each test puts them back.
  void TearDown() override {
    SetProgressCallback({});
    ImageBitmap bmp;
    ASSERT_EQ(SelectTwainSource({"Veldano", "Photo Application", "Brivane", "test:0"}), SUCCESS);
    EXPECT_EQ(ScanWith(bmp, {{"mode", QString("Gray")}, {"depth", 8.0}, {"resolution", 50.0},
                             {"tl-x", 0.0}, {"tl-y", 0.0}, {"br-x", 80.0}, {"br-y", 100.0},
                             {"read-return-value", QString("Default")}}),
              SUCCESS);
    SetScanOptionsCallback({});
  }
  // A flags-3 scan that answers the settings with the given values.
  static int ScanWith(ImageBitmap& bmp, const QVariantMap& values,
                      QList<ScanOption>* offered = nullptr) {
    SetScanOptionsCallback([&](const QList<ScanOption>& options, QVariantMap& chosen) {
      if (offered) *offered = options;
      chosen = values;
      return true;
    });
    return AcquireFromTwain(bmp, TWAIN_WITH_OPTIONS);
  }
};

int CollectName(const QString& name, void* data) {
  static_cast<QStringList*>(data)->append(name);
  return SUCCESS;
}

int StopAtFirst(const QString& name, void* data) {
  static_cast<QStringList*>(data)->append(name);
  return 0;
}

bool HasSeveralValues(const QImage& image) {
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); y += 3)
    for (int x = 0; x < image.width(); x += 3)
      if (image.pixel(x, y) != first) return true;
  return false;
}

const ScanOption* Find(const QList<ScanOption>& options, const char* name) {
  for (const ScanOption& option : options)
    if (option.Name == QLatin1String(name)) return &option;
  return nullptr;
}

}  // namespace

TEST_F(Scanner, ListsTheTestDevicesAndStopsWhenAsked) {
  QStringList names;
  EXPECT_EQ(EnumTwainSources(CollectName, &names), SUCCESS);
  EXPECT_TRUE(names.contains("test:0")) << names.join(',').toStdString();
  EXPECT_TRUE(names.contains("test:1"));
  QStringList first;
  EXPECT_EQ(EnumTwainSources(StopAtFirst, &first), SUCCESS);
  EXPECT_EQ(first.size(), 1);
  EXPECT_EQ(EnumTwainSources(nullptr, nullptr), ERROR_INV_PARAMETER);
}

TEST_F(Scanner, QuickScanGivesTheDeviceDefaultGreyPicture) {
  int lastPercent = -1;
  SetProgressCallback([&](int percent) { lastPercent = percent; return 1; });
  ImageBitmap bmp;
  QElapsedTimer timer;
  timer.start();
  ASSERT_EQ(AcquireFromTwain(bmp, TWAIN_QUICK_SCAN), SUCCESS);
  std::cout << "quick scan took " << timer.nsecsElapsed() / 1000 << " us\n";
  EXPECT_EQ(bmp.Width, 157);
  EXPECT_EQ(bmp.Height, 196);
  EXPECT_EQ(bmp.BitsPerPixel, 8);
  EXPECT_EQ(bmp.XResolution, 50);
  EXPECT_TRUE(HasSeveralValues(bmp.Pixels));
  EXPECT_EQ(lastPercent, 100);
}

TEST_F(Scanner, ChosenColourAndResolutionAreApplied) {
  ImageBitmap bmp;
  QList<ScanOption> offered;
  ASSERT_EQ(ScanWith(bmp, {{"mode", QString("Color")}, {"resolution", 100.0}}, &offered),
            SUCCESS);
  EXPECT_EQ(bmp.BitsPerPixel, 24);
  // The 80 × 100 mm default area at 100 dpi.
  EXPECT_EQ(bmp.Width, 314);
  EXPECT_EQ(bmp.Height, 393);
  EXPECT_EQ(bmp.XResolution, 100);
  EXPECT_TRUE(HasSeveralValues(bmp.Pixels));

  // What the callback saw: the mode with its choices, resolution and the area.
  const ScanOption* mode = Find(offered, "mode");
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->Type, ScanOption::Kind::Text);
  EXPECT_TRUE(mode->TextChoices.contains("Color"));
  EXPECT_EQ(mode->Value.toString(), "Gray");
  const ScanOption* resolution = Find(offered, "resolution");
  ASSERT_NE(resolution, nullptr);
  EXPECT_EQ(resolution->Unit, "dpi");
  EXPECT_TRUE(resolution->HasRange || !resolution->NumberChoices.isEmpty());
  const ScanOption* right = Find(offered, "br-x");
  ASSERT_NE(right, nullptr);
  EXPECT_EQ(right->Unit, "mm");
  EXPECT_GT(right->Maximum, 0);
}

TEST_F(Scanner, AreaLimitsThePicture) {
  ImageBitmap bmp;
  ASSERT_EQ(ScanWith(bmp, {{"tl-x", 0.0}, {"tl-y", 0.0}, {"br-x", 25.0}, {"br-y", 50.0},
                           {"resolution", 100.0}}),
            SUCCESS);
  EXPECT_NEAR(bmp.Width, 98, 1);  // 25 × 50 mm at 100 dpi
  EXPECT_NEAR(bmp.Height, 196, 1);
}

TEST_F(Scanner, LineArtSixteenBitAndSeparateFramesBecomeEightBitPictures) {
  ImageBitmap art;
  ASSERT_EQ(ScanWith(art, {{"depth", 1.0}}), SUCCESS);
  EXPECT_EQ(art.BitsPerPixel, 8);
  EXPECT_EQ(art.Width, 157);
  for (int y = 0; y < art.Height; y += 7)
    for (int x = 0; x < art.Width; x += 7) {
      const int grey = qGray(art.Pixels.pixel(x, y));
      ASSERT_TRUE(grey == 0 || grey == 255) << grey;
    }
  EXPECT_TRUE(HasSeveralValues(art.Pixels));

  ImageBitmap deep;
  ASSERT_EQ(ScanWith(deep, {{"depth", 16.0}}), SUCCESS);
  EXPECT_EQ(deep.BitsPerPixel, 8);
  EXPECT_EQ(deep.Width, 157);
  EXPECT_TRUE(HasSeveralValues(deep.Pixels));

  ImageBitmap planes;
  ASSERT_EQ(ScanWith(planes, {{"mode", QString("Color")}, {"three-pass", 1.0}}), SUCCESS);
  ImageBitmap unused;
  ASSERT_EQ(ScanWith(unused, {{"mode", QString("Color")}, {"three-pass", 0.0}}), SUCCESS);
  EXPECT_EQ(planes.BitsPerPixel, 24);
  EXPECT_EQ(planes.Width, 157);
  bool coloured = false;
  for (int y = 0; y < planes.Height && !coloured; y += 5)
    for (int x = 0; x < planes.Width && !coloured; x += 5) {
      const QRgb c = planes.Pixels.pixel(x, y);
      coloured = qRed(c) != qGreen(c) || qGreen(c) != qBlue(c);
    }
  EXPECT_TRUE(coloured);
}

TEST_F(Scanner, CancelledScansAndRefusedSettingsLeaveThePictureAlone) {
  const ImageBitmap before = [] {
    ImageBitmap b;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    SetBitmapImage(b, image);
    return b;
  }();
  ImageBitmap bmp = before;

  SetProgressCallback([](int) { return 0; });
  EXPECT_EQ(AcquireFromTwain(bmp, TWAIN_QUICK_SCAN), ERROR_USER_ABORT);
  SetProgressCallback({});

  SetScanOptionsCallback([](const QList<ScanOption>&, QVariantMap&) { return false; });
  EXPECT_EQ(AcquireFromTwain(bmp, TWAIN_WITH_OPTIONS), ERROR_USER_ABORT);

  EXPECT_EQ(ScanWith(bmp, {{"mode", QString("Sepia")}}), ERROR_INV_PARAMETER);
  EXPECT_EQ(ScanWith(bmp, {{"resolution", 1e9}}), ERROR_INV_PARAMETER);
  EXPECT_EQ(ScanWith(bmp, {{"resolution", QString("high")}}), ERROR_INV_PARAMETER);
  EXPECT_EQ(ScanWith(bmp, {{"no-such-option", 1.0}}), ERROR_INV_PARAMETER);
  EXPECT_EQ(AcquireFromTwain(bmp, 7), ERROR_INV_PARAMETER);
  EXPECT_EQ(bmp.Width, 4);
  EXPECT_EQ(bmp.Pixels, before.Pixels);

  // The device is usable again after each of those.
  EXPECT_EQ(AcquireFromTwain(bmp, TWAIN_QUICK_SCAN), SUCCESS);
  EXPECT_EQ(bmp.Width, 157);
}

TEST_F(Scanner, FailingOrUnknownDevicesReturnCodes) {
  ImageBitmap bmp;
  // (A device failing partway through reading is not simulated here: SANE's test backend
  // cancels its reader thread for it and can then deadlock in the allocator.)

  ASSERT_EQ(SelectTwainSource({"Veldano", "Photo Application", "Brivane", "test:99"}), SUCCESS);
  EXPECT_EQ(AcquireFromTwain(bmp, TWAIN_QUICK_SCAN), ERROR_FAILURE);
  ASSERT_EQ(SelectTwainSource({"Veldano", "Photo Application", "Brivane", "nowhere:x"}), SUCCESS);
  EXPECT_EQ(AcquireFromTwain(bmp, TWAIN_QUICK_SCAN), ERROR_FAILURE);
  EXPECT_EQ(SelectTwainSource({"Veldano", "Photo Application", "Brivane", " "}),
            ERROR_INV_PARAMETER);
}
