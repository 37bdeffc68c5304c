#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "system/AtomicFile.h"
#include "system/Profile.h"

namespace {
QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteRaw(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(content);
}

mode_t ModeOf(const QString& path) {
  struct stat info {};
  ::stat(QFile::encodeName(path).constData(), &info);
  return info.st_mode & 07777;
}

class Profile : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  QString ini() const { return folder.filePath("test.ini"); }
};
}  // namespace

TEST_F(Profile, MissingFileSectionOrKeyYieldsTheDefault) {
  EXPECT_EQ(ReadProfileString(ini(), "Settings", "EmailServer", "none"), "none");
  EXPECT_EQ(ReadProfileInt(ini(), "Settings", "FileList", 32775), 32775);
  WriteRaw(ini(), "[Settings]\nEmailServer=\nFileList=\n[Other]\nKey=1\n");
  EXPECT_EQ(ReadProfileString(ini(), "Missing", "Key", "d"), "d");
  EXPECT_EQ(ReadProfileString(ini(), "Settings", "Missing", "d"), "d");
  // A key that is there but empty is empty, not the default; for a number it is the default.
  EXPECT_EQ(ReadProfileString(ini(), "Settings", "EmailServer", "d"), "");
  EXPECT_EQ(ReadProfileInt(ini(), "Settings", "FileList", 7), 7);
}

TEST_F(Profile, NumbersAreReadAsTheWindowsRoutineReadsThem) {
  WriteRaw(ini(), "[S]\na=59410\nb=-12\nc=12abc\nd=abc\ne=99999999999\nf=-99999999999\n");
  EXPECT_EQ(ReadProfileInt(ini(), "S", "a", 0), 59410);
  EXPECT_EQ(ReadProfileInt(ini(), "S", "b", 0), -12);
  EXPECT_EQ(ReadProfileInt(ini(), "S", "c", 0), 12);
  EXPECT_EQ(ReadProfileInt(ini(), "S", "d", 5), 0);
  EXPECT_EQ(ReadProfileInt(ini(), "S", "e", 0), 2147483647);
  EXPECT_EQ(ReadProfileInt(ini(), "S", "f", 0), -2147483647 - 1);
}

TEST_F(Profile, AWriteKeepsEverythingElseInTheFile) {
  WriteRaw(ini(),
           "; Written by hand\r\n"
           "[Other]\r\n"
           "; about the colour\r\n"
           "Colour=blue\r\n"
           "[Settings]\r\n"
           "FileList=59410\r\n"
           "EmailServer=old.example.com\r\n"
           "; the end\r\n");
  ASSERT_TRUE(WriteProfileString(ini(), "settings", "emailserver", "smtp.example.com"));
  ASSERT_TRUE(WriteProfileString(ini(), "Settings", "UserId", "anna"));

  const QString text = QString::fromUtf8(ReadAll(ini()));
  EXPECT_TRUE(text.contains("; Written by hand"));
  EXPECT_TRUE(text.contains("; about the colour\nColour=blue"));
  EXPECT_TRUE(text.trimmed().endsWith("; the end"));
  // The key was changed where it stood, not added a second time under another spelling.
  EXPECT_EQ(text.count("mailserver", Qt::CaseInsensitive), 1);
  EXPECT_LT(text.indexOf("[Other]"), text.indexOf("[Settings]"));
  EXPECT_LT(text.indexOf("FileList"), text.indexOf("EmailServer"));
  EXPECT_EQ(ReadProfileString(ini(), "Settings", "EmailServer"), "smtp.example.com");
  EXPECT_EQ(ReadProfileString(ini(), "Settings", "UserId"), "anna");
  EXPECT_EQ(ReadProfileInt(ini(), "Settings", "FileList", 0), 59410);
}

TEST_F(Profile, AwkwardValuesReadBackExactly) {
  const QStringList values = {
      QString::fromUtf8("Ångström — 写真 📷"), "  padded  ", "\"quoted\"", "'single'",
      "a=b;c#d [e]", "", "\"", "x\""};
  for (const QString& value : values) {
    ASSERT_TRUE(WriteProfileString(ini(), "S", "Key", value)) << value.toStdString();
    EXPECT_EQ(ReadProfileString(ini(), "S", "Key", "default"), value) << value.toStdString();
  }
  // The Windows reader's quotes are taken off a value written by hand too.
  WriteRaw(ini(), "[S]\nKey= \"  spaced \" \n");
  EXPECT_EQ(ReadProfileString(ini(), "S", "Key"), "  spaced ");
}

TEST_F(Profile, ALineBreakInAValueCannotAddAKey) {
  ASSERT_TRUE(WriteProfileString(ini(), "Settings", "EmailAddress",
                                 "me@example.com\nPassword=stolen\r\n[Evil]\nx=1"));
  EXPECT_FALSE(QueryProfileString(ini(), "Settings", "Password").has_value());
  EXPECT_FALSE(QueryProfileString(ini(), "Evil", "x").has_value());
  EXPECT_EQ(ReadProfileString(ini(), "Settings", "EmailAddress"),
            "me@example.com Password=stolen [Evil] x=1");
  // Names that cannot be stored as they are are refused rather than mangled.
  EXPECT_FALSE(WriteProfileString(ini(), "Settings", "a=b", "v"));
  EXPECT_FALSE(WriteProfileString(ini(), "Settings", "a\nb", "v"));
  EXPECT_FALSE(WriteProfileString(ini(), "Set]tings", "Key", "v"));
  EXPECT_FALSE(WriteProfileString(ini(), "", "Key", "v"));
  EXPECT_FALSE(WriteProfileString(ini(), "Settings", "", "v"));
}

TEST_F(Profile, ABareNameLiesInTheWindowsFolder) {
  const QString windows = folder.filePath("config/brivane");
  qputenv("BRIVANE_WINDOWS_FOLDER", QFile::encodeName(windows));
  EXPECT_EQ(ProfileFilePath("quendal.ini"), windows + "/quendal.ini");
  ASSERT_TRUE(WriteProfileString("quendal.ini", "Settings", "UserId", "anna"));
  EXPECT_EQ(ReadProfileString(windows + "/quendal.ini", "Settings", "UserId"), "anna");
  // The folder was made for the file, private to its owner.
  EXPECT_EQ(ModeOf(windows), 0700u);
  qunsetenv("BRIVANE_WINDOWS_FOLDER");
}

TEST_F(Profile, FilePermissionsAndLinksSurviveWrites) {
  ASSERT_TRUE(WriteProfileString(ini(), "S", "Password", "secret"));
  EXPECT_EQ(ModeOf(ini()), 0600u);

  const QString shared = folder.filePath("shared.ini");
  WriteRaw(shared, "[S]\nK=1\n");
  ::chmod(QFile::encodeName(shared).constData(), 0644);
  ASSERT_TRUE(WriteProfileString(shared, "S", "K", "2"));
  EXPECT_EQ(ModeOf(shared), 0644u);

  // A settings file kept elsewhere and linked in stays linked.
  const QString link = folder.filePath("linked.ini");
  ASSERT_TRUE(QFile::link(shared, link));
  ASSERT_TRUE(WriteProfileString(link, "S", "K", "3"));
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(ReadProfileString(shared, "S", "K"), "3");
}

TEST_F(Profile, AnInterruptedWriteLeavesTheOldFileWhole) {
  WriteRaw(ini(), "; keep me\n[Settings]\nEmailServer=old\n");
  const QByteArray before = ReadAll(ini());
  SetAtomicWriteHook([](const QString&) { return false; });
  EXPECT_FALSE(WriteProfileString(ini(), "Settings", "EmailServer", "new"));
  EXPECT_FALSE(WriteProfileString(folder.filePath("fresh.ini"), "S", "K", "v"));
  SetAtomicWriteHook({});

  EXPECT_EQ(ReadAll(ini()), before);
  EXPECT_FALSE(QFile::exists(folder.filePath("fresh.ini")));
  // Nothing half-written is left lying beside the file.
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"test.ini"});
  EXPECT_TRUE(WriteProfileString(ini(), "Settings", "EmailServer", "new"));
  EXPECT_EQ(ReadProfileString(ini(), "Settings", "EmailServer"), "new");
}

TEST_F(Profile, AFileThatCannotBeReadIsNotOverwritten) {
  // Far too large to be a settings file: reading yields defaults and a write would
  // throw its content away, so none is made.
  const QByteArray big = "[S]\nK=1\n" + QByteArray(5 * 1024 * 1024, 'x');
  WriteRaw(ini(), big);
  EXPECT_EQ(ReadProfileString(ini(), "S", "K", "d"), "d");
  EXPECT_FALSE(WriteProfileString(ini(), "S", "K", "2"));
  EXPECT_EQ(ReadAll(ini()).size(), big.size());
  EXPECT_FALSE(WriteProfileString(folder.path(), "S", "K", "2"));  // a folder, not a file
}

TEST_F(Profile, KeysAndSectionsCanBeDeleted) {
  WriteRaw(ini(), "[A]\nx=1\ny=2\n[B]\nz=3\n");
  EXPECT_TRUE(DeleteProfileKey(ini(), "A", "x"));
  EXPECT_TRUE(DeleteProfileKey(ini(), "A", "never"));
  EXPECT_TRUE(DeleteProfileSection(ini(), "B"));
  EXPECT_FALSE(QueryProfileString(ini(), "A", "x").has_value());
  EXPECT_EQ(ReadProfileString(ini(), "A", "y"), "2");
  EXPECT_FALSE(QueryProfileString(ini(), "B", "z").has_value());
}

TEST_F(Profile, WritersInParallelLoseNoKey) {
  const auto writer = [this](const QString& key) {
    for (int i = 0; i < 40; ++i) WriteProfileString(ini(), "S", key, QString::number(i));
  };
  std::thread first(writer, "First");
  std::thread second(writer, "Second");
  first.join();
  second.join();
  EXPECT_EQ(ReadProfileString(ini(), "S", "First"), "39");
  EXPECT_EQ(ReadProfileString(ini(), "S", "Second"), "39");
}
