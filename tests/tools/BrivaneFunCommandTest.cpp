#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "LimitedBrivaneRun.h"

namespace {
// brivane fun on a fresh program folder holding the built templates and one photo,
// "Beach", also kept as a picture file.
class BrivaneFunCommandTest : public BrivaneFolderTest {
 protected:
  BrivaneFunCommandTest() {
    for (const char* folder : {"sportscard", "magazine", "greetingcard"}) {
      const QDir built(QString(BRIVANE_PROGRAM_DIR) + folder);
      QDir().mkpath(ProgramFolder() + folder);
      for (const QString& name : built.entryList(QDir::Files))
        EXPECT_TRUE(QFile::copy(built.filePath(name), ProgramFolder() + folder + "/" + name))
            << name.toStdString();
    }
    QImage image(200, 150, QImage::Format_RGB32);
    image.fill(qRgb(30, 90, 200));
    EXPECT_TRUE(image.save(File("Beach.png")));
    EXPECT_EQ(Brivane({"import", File("Beach.png")}).status, 0);
  }
};
}  // namespace

TEST_F(BrivaneFunCommandTest, MakesCalendarPagesAsFilesAndPhotos) {
  const BrivaneOutcome file = Brivane(
      {"fun", "calendar", "--month", "2", "--year", "2009", "Beach", "--out", File("feb.png")});
  ASSERT_EQ(file.status, 0) << file.err.toStdString();
  EXPECT_EQ(file.out.trimmed(), File("feb.png"));
  const QImage page(File("feb.png"));
  ASSERT_EQ(page.size(), QSize(640, 960));
  // The small photo keeps its size, centred at the top; the stored photo is a JPEG.
  EXPECT_NEAR(qBlue(page.pixel(320, 100)), 200, 8);
  EXPECT_NEAR(qRed(page.pixel(320, 100)), 30, 8);
  EXPECT_EQ(page.pixel(320, 200), qRgb(255, 255, 255));

  const BrivaneOutcome stored =
      Brivane({"fun", "calendar", "--month=12", "--year=1900", "--file", File("Beach.png"),
               "--store", "December", "--description", "Old times"});
  ASSERT_EQ(stored.status, 0) << stored.err.toStdString();
  EXPECT_EQ(stored.out.trimmed(), "December");
  EXPECT_EQ(QImage(ProgramFolder() + "myphotos/December.jpg").size(), QSize(640, 960));
  EXPECT_TRUE(Brivane({"list"}).out.contains("\tOld times"));

  // A name that is stored already is refused before anything is drawn.
  const BrivaneOutcome again = Brivane(
      {"fun", "calendar", "--month", "1", "--year", "2000", "Beach", "--store", "December"});
  EXPECT_EQ(again.status, 1);
  EXPECT_FALSE(again.err.isEmpty());
  EXPECT_EQ(QImage(ProgramFolder() + "myphotos/December.jpg").size(), QSize(640, 960));
}

TEST_F(BrivaneFunCommandTest, MakesEachKindOfCardFromItsTemplates) {
  const BrivaneOutcome list = Brivane({"fun", "card", "--kind", "sportscard", "--list-templates"});
  ASSERT_EQ(list.status, 0) << list.err.toStdString();
  EXPECT_EQ(list.out, "1\tAll Star\n2\tChampion\n3\tRookie\n");

  const BrivaneOutcome sports =
      Brivane({"fun", "card", "--kind", "sportscard", "--template", "2", "--text", "Ann Ace",
               "Beach", "--out", File("sports.png")});
  ASSERT_EQ(sports.status, 0) << sports.err.toStdString();
  EXPECT_EQ(QImage(File("sports.png")).size(), QSize(343, 480));

  const BrivaneOutcome magazine =
      Brivane({"fun", "card", "--kind", "magazine", "--template", "1", "--text", "Summer|Sea||Sun",
               "--file", File("Beach.png"), "--store", "Cover"});
  ASSERT_EQ(magazine.status, 0) << magazine.err.toStdString();
  EXPECT_EQ(QImage(ProgramFolder() + "myphotos/Cover.jpg").size(), QSize(372, 480));

  const BrivaneOutcome greeting = Brivane(
      {"fun", "card", "--kind", "greetingcard", "--template", "3", "--text", "Thank you\nso much",
       "--font", "DejaVu Sans,30,bold", "--colour", "#c00000", "Beach", "--out", File("card.png")});
  ASSERT_EQ(greeting.status, 0) << greeting.err.toStdString();
  const QImage card(File("card.png"));
  ASSERT_EQ(card.size(), QSize(1200, 1581));
  // The message in the lower right quarter, the photo in the upper left.
  int red = 0;
  for (int y = 790; y < 1581; ++y)
    for (int x = 600; x < 1200; ++x)
      red += qRed(card.pixel(x, y)) > 150 && qGreen(card.pixel(x, y)) < 60;
  EXPECT_GT(red, 100);
  EXPECT_EQ(card.pixel(900, 300), qRgb(255, 255, 255));
  EXPECT_NE(card.pixel(300, 395), qRgb(255, 255, 255));
}

TEST_F(BrivaneFunCommandTest, RefusesWrongCommandLines) {
  const struct {
    QStringList arguments;
    int status;
    const char* message;
  } cases[] = {
      {{"fun", "poster", "Beach"}, 2, "the fun commands are 'calendar' and 'card'"},
      {{"fun", "calendar", "--month", "2", "--year", "1899", "Beach", "--out", "x.png"},
       2,
       "from 1900 to 2100"},
      {{"fun", "calendar", "--month", "2", "--year", "2101", "Beach", "--out", "x.png"},
       2,
       "from 1900 to 2100"},
      {{"fun", "calendar", "--month", "13", "--year", "2000", "Beach", "--out", "x.png"},
       2,
       "from 1 to 12"},
      {{"fun", "calendar", "--month", "1", "--year", "2000", "Beach"},
       2,
       "give either --out FILE or --store NAME"},
      {{"fun", "calendar", "--month", "1", "--year", "2000", "Beach", "--out", "x.png",
        "--description", "d"},
       2,
       "--description is for a photo stored with --store"},
      {{"fun", "calendar", "--month", "1", "--year", "2000", "Cloud", "--out", "x.png"},
       1,
       "there is no photo named 'Cloud'"},
      {{"fun", "calendar", "--month", "1", "--year", "2000", "Beach", "--out", "x.xyz"},
       1,
       "does not end in an image file type"},
      {{"fun", "card", "--kind", "poster", "--template", "1", "Beach", "--out", "x.png"},
       2,
       "--kind is sportscard"},
      {{"fun", "card", "--kind", "magazine", "--template", "4", "Beach", "--out", "x.png"},
       2,
       "the templates are 1 Family Life, 2 Pet Star, 3 Trailblazer"},
      {{"fun", "card", "--kind", "magazine", "--template", "1", "--text", "a|b|c|d|e", "Beach",
        "--out", "x.png"},
       2,
       "at most 4 captions"},
      {{"fun", "card", "--kind", "sportscard", "--template", "1", "--colour", "red", "Beach",
        "--out", "x.png"},
       2,
       "--font and --colour are for greeting cards"},
      {{"fun", "card", "--kind", "greetingcard", "--template", "1", "--font", "Serif", "Beach",
        "--out", "x.png"},
       2,
       "a font is a family and a size"},
      {{"fun", "card", "--kind", "sportscard", "Beach", "--out", "x.png"},
       2,
       "--template N chooses the template"},
  };
  for (const auto& c : cases) {
    const BrivaneOutcome run = Brivane(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
  }
  EXPECT_FALSE(QFile::exists(File("x.png")));
  EXPECT_EQ(Brivane({"list"}).out.count('\n'), 1);
}
