// Save comments: passed with a save or taken from the process-wide table, and the
// description written into files.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <thread>
#include <vector>

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

TEST_F(FileComment, CommentsPassedWithTheSaveAreWrittenWhateverTheTableHolds) {
  SaveComments comments;
  EXPECT_EQ(comments.Set(-1, "x"), ERROR_INV_PARAMETER);
  EXPECT_EQ(comments.Set(COMMENT_TYPE_COUNT, "x"), ERROR_INV_PARAMETER);
  EXPECT_EQ(comments.Set(7, "a note"), SUCCESS);
  EXPECT_EQ(comments.Get(7), "a note");
  EXPECT_EQ(comments.Set(7, QString()), SUCCESS);
  EXPECT_TRUE(comments.IsEmpty());
  EXPECT_EQ(SaveComments::Description(QString()), SaveComments());

  SetSaveComment(COMMENT_DESCRIPTION, "left in the table");
  for (int format : {FILE_PNG, FILE_JPEG}) {
    SCOPED_TRACE(format);
    const QString own = Path("own." + FormatExtension(format));
    ASSERT_EQ(SaveImageFile(own, Picture(), format, 24, 20, SaveComments::Description("its own")),
              SUCCESS);
    QString read;
    EXPECT_EQ(ReadFileComment(own, COMMENT_DESCRIPTION, &read), 7);
    EXPECT_EQ(read, "its own");
    const QString none = Path("none." + FormatExtension(format));
    ASSERT_EQ(SaveImageFileAs(none, Picture(), format, 24, 20, 2, SaveComments()), SUCCESS);
    EXPECT_EQ(ReadFileComment(none, COMMENT_DESCRIPTION, nullptr), ERROR_NO_COMMENT);
    // The entry without comments still writes the table's.
    const QString table = Path("table." + FormatExtension(format));
    ASSERT_EQ(SaveImageFile(table, Picture(), format, 24, 20), SUCCESS);
    EXPECT_EQ(ReadFileComment(table, COMMENT_DESCRIPTION, &read), 17);
    EXPECT_EQ(read, "left in the table");
  }
  EXPECT_EQ(GetSaveComment(COMMENT_DESCRIPTION), "left in the table");
}

TEST_F(FileComment, SavesOnSeveralThreadsEachWriteTheirOwnDescription) {
  constexpr int kThreads = 3;
  constexpr int kSaves = 6;
  std::atomic<bool> saving{true};
  // Another part of the program keeps changing the table meanwhile.
  std::thread tableWriter([&] {
    for (int i = 0; saving; ++i) SetSaveComment(COMMENT_DESCRIPTION, QStringLiteral("table %1").arg(i));
  });
  std::vector<std::thread> savers;
  for (int t = 0; t < kThreads; ++t)
    savers.emplace_back([this, t] {
      for (int i = 0; i < kSaves; ++i) {
        const QString text = QStringLiteral("thread %1 save %2").arg(t).arg(i);
        SaveImageFile(Path(QStringLiteral("t%1-%2.jpg").arg(t).arg(i)), Picture(), FILE_JPEG, 24,
                      20, SaveComments::Description(text));
      }
    });
  for (std::thread& saver : savers) saver.join();
  saving = false;
  tableWriter.join();

  for (int t = 0; t < kThreads; ++t)
    for (int i = 0; i < kSaves; ++i) {
      QString read;
      ReadFileComment(Path(QStringLiteral("t%1-%2.jpg").arg(t).arg(i)), COMMENT_DESCRIPTION, &read);
      EXPECT_EQ(read, QStringLiteral("thread %1 save %2").arg(t).arg(i));
    }
}
