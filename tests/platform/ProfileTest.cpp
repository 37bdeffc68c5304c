#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>
#include <thread>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "system/AtomicFile.h"
#include "system/Profile.h"
#include "support/FileBytes.h"

namespace {
mode_t ModeOf(const QString& path) {
  struct stat info {};
  ::stat(QFile::encodeName(path).constData(), &info);
  return info.st_mode & 07777;
}

bool IsFifo(const QString& path) {
  struct stat info {};
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

QByteArray RandomBytes(qsizetype size) {
  std::mt19937 random(20240501);
  QByteArray bytes(size, Qt::Uninitialized);
  for (char& byte : bytes) byte = char(random() & 0xFF);
  return bytes;
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
  // Well formed but too large to be a settings file: reading yields defaults and a write
  // would throw its content away, so none is made.
  const QByteArray big = "[S]\nK=1\nPadding=" + QByteArray(1024 * 1024, 'x') + '\n';
  WriteRaw(ini(), big);
  EXPECT_EQ(ReadProfileString(ini(), "S", "K", "d"), "d");
  EXPECT_FALSE(WriteProfileString(ini(), "S", "K", "2"));
  EXPECT_EQ(ReadAll(ini()), big);
}

TEST_F(Profile, UnicodeFilesWithAByteOrderMarkAreReadAndKeepEveryKeyThroughAWrite) {
  const QString text = QString::fromUtf8(
      "; saved by Notepad\r\n[Settings]\r\nUserId=zoë\r\nPassword=写真 📷\r\n"
      "EmailServer=smtp.example.com\r\nFileList=59410\r\n[Other]\r\nKey=1\r\n");
  const std::pair<const char*, QByteArray> files[] = {
      {"UTF-16 LE", Utf16(text, false)},
      {"UTF-16 BE", Utf16(text, true)},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + text.toUtf8()}};
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    WriteRaw(ini(), bytes);
    EXPECT_EQ(ReadProfileString(ini(), "Settings", "UserId"), QString::fromUtf8("zoë"));
    ASSERT_TRUE(WriteProfileString(ini(), "Settings", "FileList", "32775"));
    EXPECT_EQ(ReadProfileString(ini(), "Settings", "UserId"), QString::fromUtf8("zoë"));
    EXPECT_EQ(ReadProfileString(ini(), "Settings", "Password"), QString::fromUtf8("写真 📷"));
    EXPECT_EQ(ReadProfileString(ini(), "Settings", "EmailServer"), "smtp.example.com");
    EXPECT_EQ(ReadProfileString(ini(), "Settings", "FileList"), "32775");
    EXPECT_EQ(ReadProfileString(ini(), "Other", "Key"), "1");
    // Written back as UTF-8, comment and all.
    const QByteArray written = ReadAll(ini());
    EXPECT_TRUE(written.startsWith("; saved by Notepad\n")) << written.toStdString();
    EXPECT_TRUE(written.contains("\n[Settings]\n"));
  }
}

TEST_F(Profile, WhatTheReaderUnderstandsSurvivesAWrite) {
  // Keys before any section, blanks around "=", a section in two parts, old Mac line ends.
  WriteRaw(ini(),
           "Global=1\n[Settings]\n  UserId = anna  \n\t; indented comment\n[Other]\rA=1\r"
           "[settings]\r\nPassword=x=y\n# hash comment\n");
  ASSERT_TRUE(WriteProfileString(ini(), "Other", "B", "2"));
  EXPECT_EQ(ReadProfileString(ini(), "", "Global", "none"), "none");
  EXPECT_EQ(ReadProfileString(ini(), "Settings", "UserId"), "anna");
  EXPECT_EQ(ReadProfileString(ini(), "Settings", "Password"), "x=y");
  EXPECT_EQ(ReadProfileString(ini(), "Other", "A"), "1");
  EXPECT_EQ(ReadProfileString(ini(), "Other", "B"), "2");
  const QByteArray text = ReadAll(ini());
  EXPECT_TRUE(text.contains("Global=1\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("; indented comment"));
  EXPECT_TRUE(text.contains("# hash comment"));

  // Control characters in a value would make the file one the reader refuses: blanks.
  ASSERT_TRUE(WriteProfileString(ini(), "Settings", "UserId",
                                 QString("a") + QChar(1) + "b" + QChar(0x1b) + "\tc"));
  EXPECT_EQ(ReadProfileString(ini(), "Settings", "UserId"), "a b \tc");
  EXPECT_FALSE(WriteProfileString(ini(), "Settings", QString("Key\x7"), "v"));
}

TEST_F(Profile, AFileNotUnderstoodInFullIsReadAsDefaultsAndNeverWritten) {
  const std::pair<const char*, QByteArray> files[] = {
      {"NUL mid-file", QByteArray("[Settings]\nUserId=anna\n") + '\0' + "Password=x\nMore=1\n"},
      {"random binary", RandomBytes(4096)},
      {"invalid UTF-8", "[Settings]\nUserId=an\xC3na\n"},
      {"UTF-8 cut off at the end", "[Settings]\nUserId=anna\n#\xD4"},
      {"UTF-16 without a mark", Utf16("[Settings]\nUserId=anna\n", false).mid(2)},
      {"UTF-16 of odd length", Utf16("[Settings]\nUserId=anna\n", false) + 'x'},
      {"lone surrogate", Utf16("[Settings]\nUserId=a", false) + QByteArray("\x00\xD8", 2) +
                             Utf16("\n", false).mid(2)},
      {"control character", "[Settings]\nUserId=an\x02na\n"},
      {"unterminated section", "[Settings]\nUserId=anna\n[Settings\nPassword=x\n"},
      {"text after a section", "[Settings] ; main\nUserId=anna\n"},
      {"empty section name", "[ ]\nUserId=anna\n"},
      {"line without =", "[Settings]\nUserId=anna\njust some words\n"},
      {"empty key", "[Settings]\nUserId=anna\n=value\n"},
      {"repeated key", "[Settings]\nUserId=anna\n[Other]\nA=1\n[settings]\nuserid=bob\n"}};
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    WriteRaw(ini(), bytes);
    EXPECT_EQ(ReadProfileString(ini(), "Settings", "UserId", "default"), "default");
    EXPECT_FALSE(CheckProfileFile(ini()));
    EXPECT_FALSE(WriteProfileString(ini(), "Settings", "FileList", "59410"));
    EXPECT_FALSE(DeleteProfileKey(ini(), "Settings", "UserId"));
    EXPECT_FALSE(DeleteProfileSection(ini(), "Settings"));
    EXPECT_EQ(ReadAll(ini()), bytes);
  }
}

TEST_F(Profile, PathsThatAreNotRegularFilesAreRefusedWithoutWaiting) {
  // A FIFO with no writer would block an ordinary open for ever; ctest's time limit is
  // what ends this test if it does.
  const QString fifo = folder.filePath("fifo.ini");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString linkToFifo = folder.filePath("link.ini");
  ASSERT_TRUE(QFile::link(fifo, linkToFifo));
  for (const QString& path : {fifo, linkToFifo, folder.path()}) {
    SCOPED_TRACE(path.toStdString());
    EXPECT_EQ(ReadProfileString(path, "Settings", "UserId", "default"), "default");
    EXPECT_FALSE(CheckProfileFile(path));
    EXPECT_FALSE(WriteProfileString(path, "Settings", "UserId", "anna"));
    EXPECT_FALSE(DeleteProfileSection(path, "Settings"));
  }
  EXPECT_TRUE(IsFifo(fifo));
  EXPECT_TRUE(QFileInfo(linkToFifo).isSymLink());
  // A device that never ends is refused rather than read until the limit.
  EXPECT_EQ(ReadProfileString("/dev/zero", "Settings", "UserId", "default"), "default");
}

TEST_F(Profile, EachFileNotUsedIsNotedOncePerProcess) {
  TakeProfileNotices();
  const QString binary = folder.filePath("binary.ini");
  WriteRaw(binary, RandomBytes(4096));
  const QString fifo = folder.filePath("fifo.ini");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  WriteRaw(ini(), "[Settings]\nUserId=anna\n");
  for (int i = 0; i < 3; ++i) {
    ReadProfileString(binary, "Settings", "UserId");
    WriteProfileString(binary, "Settings", "UserId", "anna");
    ReadProfileString(fifo, "Settings", "UserId");
    ReadProfileString(ini(), "Settings", "UserId");
    ReadProfileString(folder.filePath("missing.ini"), "Settings", "UserId");
  }
  const QList<ProfileNotice> notices = TakeProfileNotices();
  ASSERT_EQ(notices.size(), 2);
  EXPECT_EQ(notices[0].Path, binary);
  EXPECT_EQ(notices[0].Reason, "it is not UTF-8 or UTF-16 text");
  EXPECT_EQ(notices[1].Path, fifo);
  EXPECT_EQ(notices[1].Reason, "it is not a regular file");
  // Met again, under another spelling of the same path too: already told.
  EXPECT_FALSE(CheckProfileFile(folder.path() + "/./binary.ini"));
  EXPECT_TRUE(TakeProfileNotices().isEmpty());

  WriteRaw(ini(), "[Settings\n");
  CheckProfileFile(ini());
  const QList<ProfileNotice> later = TakeProfileNotices();
  ASSERT_EQ(later.size(), 1);
  EXPECT_EQ(later[0].Reason, "line 1 is not a whole [section] header");
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
