#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "LimitedBrivaneRun.h"

namespace {
// brivane effect, resize and caption on a fresh program folder holding one photo, "Sky",
// and a picture file.
class BrivaneEditCommandTest : public BrivaneFolderTest {
 protected:
  BrivaneEditCommandTest() {
    QDir().mkpath(ProgramFolder());
    QImage image(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) image.setPixel(x, y, x < 32 ? qRgb(20, 40, 220) : qRgb(230, 230, 30));
    EXPECT_TRUE(image.save(File("Sky.png")));
    EXPECT_EQ(Brivane({"import", "--description", "Blue and yellow", File("Sky.png")}).status, 0);
  }
};
}  // namespace

TEST_F(BrivaneEditCommandTest, AppliesEffectsToPhotosAndFiles) {
  const BrivaneOutcome list = Brivane({"effect", "--list"});
  ASSERT_EQ(list.status, 0);
  EXPECT_EQ(list.out.count('\n'), 17);
  EXPECT_TRUE(list.out.contains("112\tAdd noise\t0 to 100, start 50.0\t0 Master Channel; 1 Red Channel"));

  // Stored photos are changed in place and keep their descriptions; one that is missing
  // is told and does not stop the others.
  ASSERT_EQ(Brivane({"import", "--rename", "--description", "Blue and yellow", File("Sky.png")}).status, 0);
  const BrivaneOutcome several = Brivane({"effect", "Sky", "Cloud", "Sky (2)", "invert-colors"});
  EXPECT_EQ(several.status, 1);
  EXPECT_TRUE(several.err.contains("there is no photo named 'Cloud'")) << several.err.toStdString();
  for (const char* photo : {"myphotos/Sky.jpg", "myphotos/Sky (2).jpg"}) {
    const QImage inverted(ProgramFolder() + photo);
    EXPECT_GT(qRed(inverted.pixel(5, 5)), 200) << photo;
    EXPECT_LT(qBlue(inverted.pixel(5, 5)), 60) << photo;
  }
  EXPECT_TRUE(Brivane({"list"}).out.contains("Sky\t"));
  EXPECT_EQ(Brivane({"list"}).out.count("\tBlue and yellow"), 2);

  // A file is read and the result written in the format its name gives; options by name.
  ASSERT_EQ(Brivane({"effect", "--file", "--value", "-90", File("Sky.png"), File("turned.png"), "Rotate"}).status, 0);
  EXPECT_EQ(QImage(File("turned.png")).size(), QSize(48, 64));
  ASSERT_EQ(Brivane({"effect", "--file", "--option", "green channel", "--value", "100", File("Sky.png"),
                     File("noisy.png"), "Add noise"})
                .status,
            0);
  const QImage noisy(File("noisy.png"));
  EXPECT_EQ(qRed(noisy.pixel(3, 3)), 20);
  EXPECT_EQ(qBlue(noisy.pixel(3, 3)), 220);
  ASSERT_EQ(Brivane({"effect", "--file", File("Sky.png"), File("grey.bmp"), "113"}).status, 0);
  EXPECT_FALSE(QImage(File("grey.bmp")).isNull());
}

TEST_F(BrivaneEditCommandTest, RefusesWhatItCannotDoAndChangesNothing) {
  const QByteArray before = [&] {
    QFile photo(ProgramFolder() + "myphotos/Sky.jpg");
    return photo.open(QIODevice::ReadOnly) ? photo.readAll() : QByteArray();
  }();
  struct Case {
    QStringList arguments;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{"effect", "--value", "17", "Sky", "blur"}, 2, "the value of Blur is a whole number from 0 to 16"},
      {{"effect", "--value", "101", "Sky", "Add noise"}, 2, "from 0 to 100"},
      {{"effect", "--value", "x", "Sky", "Hue"}, 2, "from -360 to 360"},
      {{"effect", "--value", "3", "Sky", "Invert Colors"}, 2, "Invert Colors takes no value"},
      {{"effect", "--option", "Up", "Sky", "Emboss"}, 2, "the direction of Emboss is a number from 0 to 7"},
      {{"effect", "--option", "1", "Sky", "Blur"}, 2, "Blur offers no choices"},
      {{"effect", "Sky", "Sepia"}, 2, "there is no effect 'Sepia'"},
      {{"effect", "Cloud", "Blur"}, 1, "there is no photo named 'Cloud'"},
      {{"effect", "--file", "missing.png", "out.png", "Blur"}, 1, "cannot read"},
      {{"effect", "--file", "Sky.png", "out.xyz", "Blur"}, 1, "does not end in an image file type"},
      {{"effect", "Sky"}, 2, "give photo names and an effect"},
  };
  for (const Case& c : cases) {
    QStringList arguments = c.arguments;
    if (arguments.contains("--file"))
      for (int i = arguments.size() - 3; i < arguments.size() - 1; ++i) arguments[i] = File(arguments[i]);
    const BrivaneOutcome run = Brivane(arguments);
    EXPECT_EQ(run.status, c.status) << arguments.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
  }
  EXPECT_FALSE(QFile::exists(File("out.png")));
  QFile photo(ProgramFolder() + "myphotos/Sky.jpg");
  ASSERT_TRUE(photo.open(QIODevice::ReadOnly));
  EXPECT_EQ(photo.readAll(), before);
}

TEST_F(BrivaneEditCommandTest, ResizesPhotosAndFilesToASizeOrOneSide) {
  ASSERT_EQ(Brivane({"resize", "Sky", "640x"}).status, 0);
  EXPECT_EQ(QImage(ProgramFolder() + "myphotos/Sky.jpg").size(), QSize(640, 480));
  EXPECT_TRUE(Brivane({"list"}).out.contains("\tBlue and yellow"));
  ASSERT_EQ(Brivane({"resize", "--file", File("Sky.png"), File("tall.png"), "x96"}).status, 0);
  EXPECT_EQ(QImage(File("tall.png")).size(), QSize(128, 96));
  ASSERT_EQ(Brivane({"resize", "--file", File("Sky.png"), File("odd.bmp"), "7x300"}).status, 0);
  EXPECT_EQ(QImage(File("odd.bmp")).size(), QSize(7, 300));

  for (const char* wrong : {"0x10", "x", "800", "5x-3", "axb"}) {
    const BrivaneOutcome run = Brivane({"resize", "Sky", wrong});
    EXPECT_EQ(run.status, 2) << wrong;
    EXPECT_TRUE(run.err.contains("is not a size such as 800x600")) << run.err.toStdString();
  }
  const BrivaneOutcome huge = Brivane({"resize", "--file", File("Sky.png"), File("huge.png"), "70000x10"});
  EXPECT_EQ(huge.status, 1);
  EXPECT_TRUE(huge.err.contains("from 1 to 65535 pixels")) << huge.err.toStdString();
  EXPECT_FALSE(QFile::exists(File("huge.png")));
}

TEST_F(BrivaneEditCommandTest, DrawsCaptionsAsTheDialogDoes) {
  // A note at (4, 4) of the 64 x 48 picture: it is 100 units, so it fills the picture.
  ASSERT_EQ(Brivane({"caption", "--file", "--shape", "note", "--text", "Hi", "--at", "4,4", File("Sky.png"),
                     File("note.png")})
                .status,
            0);
  const QImage note(File("note.png"));
  EXPECT_EQ(note.pixel(30, 5), qRgb(255, 255, 128));

  // A speech balloon with a long accented text on the stored photo, kept inside it.
  const BrivaneOutcome talking = Brivane({"caption", "--shape", "talking", "--font", "DejaVu Serif,9,bold",
                                          "--colour", "#c00000", "--text", "Très belle journée à la plage", "Sky"});
  ASSERT_EQ(talking.status, 0) << talking.err.toStdString();
  const QImage stored(ProgramFolder() + "myphotos/Sky.jpg");
  int red = 0;
  for (int y = 0; y < stored.height(); ++y)
    for (int x = 0; x < stored.width(); ++x) red += qRed(stored.pixel(x, y)) > 150 && qGreen(stored.pixel(x, y)) < 90;
  EXPECT_GT(red, 10);
  EXPECT_TRUE(Brivane({"list"}).out.contains("\tBlue and yellow"));

  const struct {
    QStringList arguments;
    const char* message;
  } wrong[] = {
      {{"caption", "Sky"}, "give the caption's --text"},
      {{"caption", "--text", "x", "--shape", "cloud", "Sky"}, "the shape is thinking, talking or note"},
      {{"caption", "--text", "x", "--font", "Serif", "Sky"}, "a font is a family and a size"},
      {{"caption", "--text", "x", "--colour", "blurple", "Sky"}, "'blurple' is not a colour"},
      {{"caption", "--text", "x", "--at", "3", "Sky"}, "--at takes X,Y"},
  };
  for (const auto& c : wrong) {
    const BrivaneOutcome run = Brivane(c.arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
  }
}
