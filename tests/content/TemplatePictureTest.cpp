// The shipped templates: their pure black pixels are where the photo shows through, so
// the hole must be one sensible window and no other pixel of the artwork may be black.

#include <QDir>
#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "fil/ltfil.h"
#include "krn/ResultCodes.h"
#include "krn/ltkrn.h"

namespace {
QString ProgramFolder() { return QStringLiteral(BRIVANE_PROGRAM_DIR); }

QImage LoadRgb(const QString& file) {
  ImageBitmap bmp;
  const int result = LoadPictureFile(file, bmp);
  EXPECT_EQ(result, SUCCESS) << file.toStdString() << ": " << ResultName(result);
  return result == SUCCESS ? BitmapToRgb32(bmp).convertToFormat(QImage::Format_RGB32) : QImage();
}

bool IsBlack(QRgb c) { return (c & 0xFFFFFF) == 0; }

// How the black pixels of a template lie: the window is the 4-connected black area around
// the centre (where the frame dialog fills its thumbnail); anything black beside it is
// stray. Artwork laid over the window (lettering, a stamp, a badge) leaves small
// see-through gaps of its own, which are stray but still within the window's bounds.
struct HoleLayout {
  bool centreIsHole = false;
  double windowShare = 0;    // of the whole picture
  qint64 strayPixels = 0;
  qint64 strayOutsideWindowBounds = 0;
  int farthestStray = 0;     // steps from the window
  qint64 largestStray = 0;   // pixels of the biggest stray patch
};

HoleLayout Survey(const QImage& rgb) {
  const int w = rgb.width(), h = rgb.height();
  auto at = [w](int x, int y) { return size_t(y) * size_t(w) + size_t(x); };
  std::vector<uchar> black(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < w; ++x) black[at(x, y)] = IsBlack(row[x]);
  }
  const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
  // label 1: the window; 2: stray, counted per patch
  std::vector<uchar> label(black.size(), 0);
  auto flood = [&](int sx, int sy, uchar mark) {
    qint64 size = 0;
    std::deque<std::pair<int, int>> queue{{sx, sy}};
    label[at(sx, sy)] = mark;
    while (!queue.empty()) {
      auto [x, y] = queue.front();
      queue.pop_front();
      ++size;
      for (int k = 0; k < 4; ++k) {
        const int nx = x + dx[k], ny = y + dy[k];
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
        if (!black[at(nx, ny)] || label[at(nx, ny)]) continue;
        label[at(nx, ny)] = mark;
        queue.emplace_back(nx, ny);
      }
    }
    return size;
  };
  HoleLayout layout;
  layout.centreIsHole = black[at(w / 2, h / 2)];
  if (!layout.centreIsHole) return layout;
  layout.windowShare = double(flood(w / 2, h / 2, 1)) / double(qint64(w) * h);
  QRect bounds;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (label[at(x, y)] == 1) bounds |= QRect(x, y, 1, 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (black[at(x, y)] && !label[at(x, y)]) {
        const qint64 size = flood(x, y, 2);
        layout.strayPixels += size;
        layout.largestStray = std::max(layout.largestStray, size);
      }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (label[at(x, y)] == 2 && !bounds.contains(x, y)) ++layout.strayOutsideWindowBounds;
  if (layout.strayPixels == 0) return layout;
  // Steps from the window to every pixel, over the whole picture.
  std::vector<int> distance(black.size(), -1);
  std::deque<std::pair<int, int>> queue;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (label[at(x, y)] == 1) {
        distance[at(x, y)] = 0;
        queue.emplace_back(x, y);
      }
  while (!queue.empty()) {
    auto [x, y] = queue.front();
    queue.pop_front();
    for (int k = 0; k < 4; ++k) {
      const int nx = x + dx[k], ny = y + dy[k];
      if (nx < 0 || ny < 0 || nx >= w || ny >= h || distance[at(nx, ny)] >= 0) continue;
      distance[at(nx, ny)] = distance[at(x, y)] + 1;
      if (label[at(nx, ny)] == 2) layout.farthestStray = std::max(layout.farthestStray, distance[at(nx, ny)]);
      queue.emplace_back(nx, ny);
    }
  }
  return layout;
}

QStringList Templates(const QString& folder) {
  return QDir(ProgramFolder() + folder).entryList(QDir::Files, QDir::Name);
}

// The folders whose templates have a crisp window.
const QStringList kCrispFolders = {QStringLiteral("frames"), QStringLiteral("sportscard"),
                                   QStringLiteral("magazine"), QStringLiteral("greetingcard")};
}  // namespace

TEST(TemplatePicture, CrispTemplatesShowThePhotoOnlyThroughTheirWindow) {
  for (const QString& folder : kCrispFolders) {
    const QStringList files = Templates(folder);
    EXPECT_FALSE(files.isEmpty()) << folder.toStdString();
    for (const QString& name : files) {
      const QImage rgb = LoadRgb(ProgramFolder() + folder + u'/' + name);
      if (rgb.isNull()) continue;
      const std::string id = (folder + u'/' + name).toStdString();
      const HoleLayout layout = Survey(rgb);
      ASSERT_TRUE(layout.centreIsHole) << id << ": the middle of a template must show the photo";
      EXPECT_GE(layout.windowShare, 0.15) << id;
      EXPECT_LE(layout.windowShare, 0.85) << id;
      EXPECT_EQ(layout.strayOutsideWindowBounds, 0) << id << ": black artwork would let the photo through";
    }
  }
}

TEST(TemplatePicture, SoftEdgesScatterTheirBorderOnlyAroundTheWindow) {
  const QStringList files = Templates(QStringLiteral("edges"));
  EXPECT_FALSE(files.isEmpty());
  for (const QString& name : files) {
    const QImage rgb = LoadRgb(ProgramFolder() + QStringLiteral("edges/") + name);
    if (rgb.isNull()) continue;
    const std::string id = name.toStdString();
    const HoleLayout layout = Survey(rgb);
    ASSERT_TRUE(layout.centreIsHole) << id;
    EXPECT_GE(layout.windowShare, 0.15) << id;
    EXPECT_LE(layout.windowShare, 0.85) << id;
    // A feathered border leaves see-through specks and droplets close to the window;
    // black artwork elsewhere (a line, a letter, a dark corner) would lie farther out.
    EXPECT_LE(layout.farthestStray, 90) << id;
    EXPECT_LE(layout.largestStray, 700) << id;
  }
}

TEST(TemplatePicture, ThumbnailsKeepABlackMiddleForTheListsFill) {
  // The frame list shrinks each template to 64 x 48 and fills its hole with white from
  // (32, 24), the fun wizard's list from (30, 24); both points must still be black.
  for (const QString& folder : kCrispFolders + QStringList{QStringLiteral("edges")}) {
    for (const QString& name : Templates(folder)) {
      ImageBitmap bmp;
      ASSERT_EQ(LoadPictureFile(ProgramFolder() + folder + u'/' + name, bmp), SUCCESS);
      ASSERT_EQ(ResizeBitmap(bmp, 64, 48), SUCCESS);
      const QImage thumb = BitmapToRgb32(bmp);
      EXPECT_TRUE(IsBlack(thumb.pixel(32, 24))) << (folder + u'/' + name).toStdString();
      EXPECT_TRUE(IsBlack(thumb.pixel(30, 24))) << (folder + u'/' + name).toStdString();
    }
  }
}

TEST(TemplatePicture, SportsCardsLeaveTheNameLineLightAndWhole) {
  for (const QString& name : Templates(QStringLiteral("sportscard"))) {
    QImage rgb = LoadRgb(ProgramFolder() + QStringLiteral("sportscard/") + name);
    if (rgb.isNull()) continue;
    // The card is brought to 480 high before the name goes on at 90 % of its height.
    if (rgb.height() > 480) rgb = rgb.scaled(rgb.width() * 480 / rgb.height(), 480);
    const int top = int(rgb.height() * 0.9);
    qint64 sum = 0, count = 0;
    for (int y = top; y < top + 14; ++y)
      for (int x = rgb.width() / 5; x < rgb.width() * 4 / 5; ++x) {
        const QRgb c = rgb.pixel(x, y);
        EXPECT_FALSE(IsBlack(c)) << name.toStdString() << " at " << x << "," << y;
        sum += qGray(c);
        ++count;
      }
    // Dark default text must stand out from the band it is written on.
    EXPECT_GE(sum / count, 200) << name.toStdString();
  }
}

TEST(TemplatePicture, MagazineCoversKeepTheirMastheadOutOfThePhoto) {
  for (const QString& name : Templates(QStringLiteral("magazine"))) {
    const QImage rgb = LoadRgb(ProgramFolder() + QStringLiteral("magazine/") + name);
    if (rgb.isNull()) continue;
    for (int y = 0; y < rgb.height() * 15 / 100; ++y)
      for (int x = 0; x < rgb.width(); ++x)
        ASSERT_FALSE(IsBlack(rgb.pixel(x, y))) << name.toStdString() << " at " << x << "," << y;
  }
}
