// The program folder holds every picture and data file the program asks for by name,
// each readable by our own imaging library.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextStream>

#include <gtest/gtest.h>

#include "fil/ltfil.h"
#include "krn/ResultCodes.h"
#include "krn/ltkrn.h"

namespace {
QString ProgramFolder() { return QStringLiteral(BRIVANE_PROGRAM_DIR); }

QImage Load(const QString& relative) {
  ImageBitmap bmp;
  const int result = LoadPictureFile(ProgramFolder() + relative, bmp);
  EXPECT_EQ(result, SUCCESS) << relative.toStdString() << ": " << ResultName(result);
  return result == SUCCESS ? BitmapToRgb32(bmp) : QImage();
}

QStringList Names(const QString& folder) {
  QStringList names;
  for (const QString& file : QDir(ProgramFolder() + folder).entryList(QDir::Files, QDir::Name))
    names << QFileInfo(file).completeBaseName();
  return names;
}
}  // namespace

TEST(ShippedFiles, FunListAndTabPicturesAreThereUnderTheirNames) {
  for (const char* name : {"Sports Card.jpg", "Calendar.jpg", "Magazine.jpg", "Greeting Card.jpg",
                           "pavonel.jpg", "corilan.jpg"}) {
    const QImage picture = Load(QString::fromUtf8(name));
    // The fun list draws them at their own size in 125-pixel rows, text below.
    EXPECT_GE(picture.width(), 64) << name;
    EXPECT_LE(picture.height(), 104) << name;
  }
  QSize tabSize;
  for (const char* name : {"camera.gif", "kid.gif", "label.gif", "web.gif", "fun.gif"}) {
    const QImage picture = Load(QString::fromUtf8(name));
    if (tabSize.isEmpty()) tabSize = picture.size();
    EXPECT_EQ(picture.size(), tabSize) << name;
    EXPECT_LE(picture.height(), 32) << name;
  }
  EXPECT_FALSE(Load(QStringLiteral("logo.gif")).isNull());
  EXPECT_TRUE(QFile::exists(ProgramFolder() + QStringLiteral("labels.dat")));
}

TEST(ShippedFiles, TemplateFoldersHoldOnlyGifsAndEnoughOfThem) {
  const struct {
    const char* folder;
    int atLeast;
  } folders[] = {{"frames", 10}, {"edges", 6}, {"sportscard", 3}, {"magazine", 3}, {"greetingcard", 3}};
  for (const auto& f : folders) {
    const QString folder = QString::fromUtf8(f.folder) + u'/';
    const QStringList files = QDir(ProgramFolder() + folder).entryList(QDir::Files, QDir::Name);
    EXPECT_GE(files.size(), f.atLeast) << f.folder;
    for (const QString& file : files) {
      // A selected template is loaded as "<listed name>.gif": any other file would be
      // listed and then show nothing.
      FileInfo info;
      EXPECT_EQ(GetImageFileInfo(ProgramFolder() + folder + file, info), SUCCESS) << file.toStdString();
      EXPECT_EQ(info.Format, FILE_GIF) << file.toStdString();
      EXPECT_TRUE(file.endsWith(QStringLiteral(".gif"))) << file.toStdString();
    }
  }
  const QStringList frames = Names(QStringLiteral("frames"));
  for (const char* kind : {"Oval", "Rounded", "Heart", "Star", "Film Strip", "Instant Photo", "Postcard",
                           "Ornate Gold", "Wood", "Brushed Metal"})
    EXPECT_TRUE(frames.contains(QString::fromUtf8(kind))) << kind;
  const QStringList edges = Names(QStringLiteral("edges"));
  for (const char* kind : {"Soft Vignette", "Torn Paper", "Brush Stroke", "Deckled", "Rounded Soft", "Splatter"})
    EXPECT_TRUE(edges.contains(QString::fromUtf8(kind))) << kind;
}

TEST(ShippedFiles, ToolbarStripHasElevenKeyedImages) {
  const QImage strip = Load(QStringLiteral("resources/toolbar.bmp"));
  ASSERT_EQ(strip.size(), QSize(11 * 29, 28));
  for (int button = 0; button < 11; ++button) {
    int key = 0, drawn = 0;
    for (int y = 0; y < 28; ++y)
      for (int x = button * 29; x < (button + 1) * 29; ++x)
        ((strip.pixel(x, y) & 0xFFFFFF) == 0xFF00FF ? key : drawn)++;
    // Magenta all round shows the toolbar through; every button has a drawing on it.
    EXPECT_GT(key, 29 * 28 / 5) << "button " << button;
    EXPECT_GT(drawn, 29 * 28 / 10) << "button " << button;
    EXPECT_EQ(strip.pixel(button * 29, 0) & 0xFFFFFF, 0xFF00FFu) << "button " << button;
  }
}

TEST(ShippedFiles, DialogPicturesComeInMatchingSets) {
  EXPECT_EQ(Load(QStringLiteral("resources/blank-page.bmp")).size(), QSize(96, 127));
  auto sameSize = [](const QStringList& files) {
    QSize first;
    for (const QString& file : files) {
      const QSize size = Load(QStringLiteral("resources/") + file).size();
      if (first.isEmpty()) first = size;
      EXPECT_EQ(size, first) << file.toStdString();
    }
    return first;
  };
  // The crop list takes its icon size from one bitmap for all six.
  EXPECT_FALSE(sameSize({QStringLiteral("crop-square.bmp"), QStringLiteral("crop-rectangle.bmp"),
                         QStringLiteral("crop-wide-rectangle.bmp"), QStringLiteral("crop-oval.bmp"),
                         QStringLiteral("crop-wide-oval.bmp"), QStringLiteral("crop-circle.bmp")})
                   .isEmpty());
  EXPECT_FALSE(sameSize({QStringLiteral("caption-thinking.bmp"), QStringLiteral("caption-talking.bmp"),
                         QStringLiteral("caption-sticky-note.bmp")})
                   .isEmpty());
  EXPECT_FALSE(sameSize({QStringLiteral("album-email.bmp"), QStringLiteral("album-view-web.bmp")}).isEmpty());
  EXPECT_FALSE(Load(QStringLiteral("resources/preview-pattern.bmp")).isNull());
  for (int size : {16, 32, 48, 256}) {
    const QImage icon = Load(QStringLiteral("resources/brivane-%1.png").arg(size));
    EXPECT_EQ(icon.size(), QSize(size, size));
    EXPECT_TRUE(icon.hasAlphaChannel()) << size;
  }
}

TEST(ShippedFiles, EveryCursorHasAHotSpotOnItsPicture) {
  QFile file(ProgramFolder() + QStringLiteral("resources/cursors.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
  QStringList listed;
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.isEmpty() || line.startsWith(u';')) continue;
    const QStringList parts = line.split(u',');
    ASSERT_EQ(parts.size(), 3) << line.toStdString();
    const QImage cursor = Load(QStringLiteral("resources/") + parts[0]);
    ASSERT_FALSE(cursor.isNull());
    EXPECT_TRUE(cursor.hasAlphaChannel()) << parts[0].toStdString();
    const QPoint hot(parts[1].toInt(), parts[2].toInt());
    EXPECT_TRUE(cursor.rect().contains(hot)) << line.toStdString();
    listed << parts[0];
  }
  EXPECT_EQ(listed, (QStringList{QStringLiteral("cursor-153.png"), QStringLiteral("cursor-172.png"),
                                 QStringLiteral("cursor-240.png")}));
}
