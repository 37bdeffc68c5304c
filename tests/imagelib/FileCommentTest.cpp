// Save comments: the process-wide table, and the description written into files.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <thread>

#include "fil/ltfil.h"
#include "support/RequireTool.h"

namespace {
// 255 characters, many of them outside ASCII and one outside the 16-bit range.
QString LongDescription() {
  QString text = QStringLiteral("Grüße aus Köln – 日本の夏 🌅 ");
  while (text.toUcs4().size() < 255) text += QStringLiteral("é");
  return text;
}

ImageBitmap Picture() {
  ImageBitmap bmp;
  CreateBitmap(bmp, 1, 24, 16, 24, ColorOrder::Bgr, nullptr, TopLeft);
  FillBitmap(bmp, qRgb(40, 90, 160));
  return bmp;
}

QString Exiftool(const QString& tag, const QString& file) {
  QProcess tool;
  tool.start("exiftool", {"-charset", "utf8", "-s3", "-" + tag, file});
  if (!tool.waitForFinished(30000)) return "(exiftool did not finish)";
  return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

class FileComment : public ::testing::Test {
 protected:
  void TearDown() override { SetSaveComment(COMMENT_DESCRIPTION, QString()); }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};
}  // namespace

TEST_F(FileComment, TableTakesEveryTypeAndRefusesOthers) {
  for (int type : {0, 3, 173}) {
    EXPECT_EQ(SetSaveComment(type, QStringLiteral("note %1").arg(type)), SUCCESS);
    EXPECT_EQ(GetSaveComment(type), QStringLiteral("note %1").arg(type));
    EXPECT_EQ(SetSaveComment(type, QString()), SUCCESS);
    EXPECT_TRUE(GetSaveComment(type).isEmpty());
  }
  EXPECT_EQ(SetSaveComment(-1, "x"), ERROR_INV_PARAMETER);
  EXPECT_EQ(SetSaveComment(COMMENT_TYPE_COUNT, "x"), ERROR_INV_PARAMETER);
  EXPECT_TRUE(GetSaveComment(COMMENT_TYPE_COUNT).isEmpty());

  // The interface thread sets while a worker reads: every read sees a whole text.
  std::thread writer([] {
    for (int i = 0; i < 20000; ++i)
      SetSaveComment(7, i % 2 ? QStringLiteral("odd text") : QStringLiteral("even"));
  });
  for (int i = 0; i < 20000; ++i) {
    const QString seen = GetSaveComment(7);
    ASSERT_TRUE(seen.isEmpty() || seen == "odd text" || seen == "even") << seen.toStdString();
  }
  writer.join();
  SetSaveComment(7, QString());
}

TEST_F(FileComment, DescriptionGoesIntoFilesAndComesBack) {
  const QString description = LongDescription();
  ASSERT_EQ(description.toUcs4().size(), 255);
  ASSERT_EQ(SetSaveComment(COMMENT_DESCRIPTION, description), SUCCESS);
  const bool exiftool = RequireTool("exiftool", "libimage-exiftool-perl");
  for (int format : {FILE_PNG, FILE_TIF, FILE_PSD, FILE_JPEG}) {
    const QString file = Path("described." + FormatExtension(format));
    SCOPED_TRACE(file.toStdString());
    ASSERT_EQ(SaveImageFile(file, Picture(), format, 24, 20), SUCCESS);
    QString read;
    EXPECT_EQ(ReadFileComment(file, COMMENT_DESCRIPTION, &read), 255);
    EXPECT_EQ(read, description);
    EXPECT_EQ(ReadFileComment(file, COMMENT_DESCRIPTION, nullptr), 255);
    EXPECT_EQ(ReadFileComment(file, 5, &read), ERROR_NO_COMMENT);
    EXPECT_EQ(ReadFileComment(file, 174, &read), ERROR_INV_PARAMETER);
    // Other programs see it too, and the picture still loads.
    if (exiftool) {
      EXPECT_EQ(Exiftool("EXIF:ImageDescription", file), description);
      EXPECT_EQ(Exiftool("XMP-dc:Description", file), description);
    }
    ImageBitmap back;
    EXPECT_EQ(LoadImageFile(file, back), SUCCESS);
    EXPECT_EQ(back.Width, 24);
  }
}

TEST_F(FileComment, FilesWithoutADescriptionSaySo) {
  for (int format : {FILE_PNG, FILE_TIF, FILE_BMP, FILE_GIF}) {
    const QString file = Path("plain." + FormatExtension(format));
    ASSERT_EQ(SaveImageFile(file, Picture(), format, 24, 20), SUCCESS);
    QString read = "untouched";
    EXPECT_EQ(ReadFileComment(file, COMMENT_DESCRIPTION, &read), ERROR_NO_COMMENT) << format;
    EXPECT_EQ(read, "untouched");
  }
  // Longer descriptions keep their first 255 characters, in every format.
  const QString longer = LongDescription() + QStringLiteral("ÿ and more");
  SetSaveComment(COMMENT_DESCRIPTION, longer);
  for (int format : {FILE_PNG, FILE_JPEG}) {
    const QString file = Path("long." + FormatExtension(format));
    ASSERT_EQ(SaveImageFile(file, Picture(), format, 24, 20), SUCCESS);
    QString read;
    EXPECT_EQ(ReadFileComment(file, COMMENT_DESCRIPTION, &read), 255) << format;
    EXPECT_EQ(read, LongDescription());
  }

  // Formats without metadata are saved all the same when a description is set.
  SetSaveComment(COMMENT_DESCRIPTION, "a day at the sea");
  EXPECT_EQ(SaveImageFile(Path("sea.bmp"), Picture(), FILE_BMP, 24, 20), SUCCESS);
  EXPECT_EQ(ReadFileComment(Path("sea.bmp"), COMMENT_DESCRIPTION, nullptr), ERROR_NO_COMMENT);
}
