#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "library/Settings.h"
#include "system/Profile.h"
#include "support/FileBytes.h"

namespace {
void ExpectDefaults(const Settings& settings) {
  EXPECT_EQ(settings.fileList(), Settings::kLargeIcons);
  EXPECT_EQ(settings.lastFolderRead(), "");
  EXPECT_EQ(settings.emailServer(), "");
  EXPECT_EQ(settings.userId(), "");
  EXPECT_EQ(settings.password(), "");
}

class SettingsFile : public ::testing::Test {
 protected:
  QTemporaryDir windows;
  QString file() const { return windows.filePath("quendal.ini"); }
  QString stored(const char* key) const {
    return ReadProfileString(file(), "Settings", key, "<missing>");
  }
};
}  // namespace

TEST_F(SettingsFile, AFirstRunStartsFromTheDefaultsAndWritesNothing) {
  qputenv("BRIVANE_WINDOWS_FOLDER", QFile::encodeName(windows.path()));
  EXPECT_EQ(Settings::DefaultFile(), file());
  qunsetenv("BRIVANE_WINDOWS_FOLDER");

  Settings settings(file());
  settings.read();
  EXPECT_EQ(settings.fileList(), Settings::kLargeIcons);
  EXPECT_EQ(settings.lastFolderRead(), "");
  EXPECT_EQ(settings.emailServer(), "");
  EXPECT_EQ(settings.emailAddress(), "");
  EXPECT_EQ(settings.userId(), "");
  EXPECT_EQ(settings.password(), "");
  EXPECT_EQ(settings.lastUploadDate(), "");
  EXPECT_FALSE(settings.lastUploadTime().isValid());
  EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(SettingsFile, ValuesSurviveARestart) {
  {
    Settings settings(file());
    settings.read();
    settings.setEmailServer("smtp.example.com");
    settings.setEmailAddress(QString::fromUtf8("zoë@example.com"));
    settings.setUserId("anna");
    settings.setPassword("  p=ss \"word\" ");
    settings.setLastUploadDate(QDateTime(QDate(2024, 5, 1), QTime(13, 2, 3)));
    settings.setLabelType("C2160");
    // The view settings wait for the main window to go.
    settings.setFileList(Settings::kDetails);
    settings.setLastFolderRead("/home/anna/Pictures/Summer 2024/");
    EXPECT_EQ(stored("FileList"), "<missing>");
    EXPECT_TRUE(settings.writeViewSettings());
  }
  Settings restarted(file());
  restarted.read();
  EXPECT_EQ(restarted.emailServer(), "smtp.example.com");
  EXPECT_EQ(restarted.emailAddress(), QString::fromUtf8("zoë@example.com"));
  EXPECT_EQ(restarted.userId(), "anna");
  EXPECT_EQ(restarted.password(), "  p=ss \"word\" ");
  EXPECT_EQ(restarted.lastUploadDate(), "2024-05-01 13:02:03");
  EXPECT_EQ(restarted.lastUploadTime(), QDateTime(QDate(2024, 5, 1), QTime(13, 2, 3)));
  EXPECT_EQ(restarted.fileList(), Settings::kDetails);
  EXPECT_EQ(restarted.lastFolderRead(), "/home/anna/Pictures/Summer 2024/");
  EXPECT_EQ(stored("FileList"), "59411");
  EXPECT_EQ(stored("LabelType"), "C2160");

  // The file holds a password: created for its owner's eyes only.
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(file()).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(SettingsFile, ValuesOutOfFormOrTooLongAreNotTakenAsTheyStand) {
  const QString longFolder = "/home/anna/" + QString(300, 'f') + "/";
  const QString longServer = QString(300, 's');
  // 256 characters outside the basic plane: 512 UTF-16 units.
  QString longPassword;
  for (int i = 0; i < 256; ++i) longPassword += QString::fromUtf8("😀");
  WriteProfileString(file(), "Settings", "FileList", "12345");
  WriteProfileString(file(), "Settings", "LastFolderRead", longFolder);
  WriteProfileString(file(), "Settings", "EmailServer", longServer);
  WriteProfileString(file(), "Settings", "Password", longPassword);
  WriteProfileString(file(), "Settings", "LastUploadDate", "last Tuesday");

  Settings settings(file());
  settings.read();
  EXPECT_EQ(settings.fileList(), Settings::kLargeIcons);
  // A cut-off folder would be another folder: it reads as no last folder at all.
  EXPECT_EQ(settings.lastFolderRead(), "");
  EXPECT_EQ(settings.emailServer(), longServer.left(260));
  EXPECT_EQ(settings.password().toUcs4().size(), 255);
  EXPECT_EQ(settings.password(), longPassword.left(510));
  EXPECT_EQ(settings.lastUploadDate(), "");

  EXPECT_FALSE(settings.setFileList(42));
  EXPECT_EQ(settings.fileList(), Settings::kLargeIcons);
  settings.setUserId(QString(300, 'u'));
  EXPECT_EQ(stored("UserId"), QString(255, 'u'));
}

TEST_F(SettingsFile, ANotepadUnicodeFileKeepsEveryKeyThroughTheSaveAtExit) {
  const QString text = QString::fromUtf8(
      "[Settings]\r\nFileList=59410\r\nLastFolderRead=C:\\Photos\\\r\n"
      "EmailServer=smtp.example.com\r\nEmailAddress=zoë@example.com\r\nLabelType=C2160\r\n"
      "UserId=zoë\r\nPassword=p@ss wörd\r\nLastUploadDate=2024-05-01 13:02:03\r\n");
  for (const bool bigEndian : {false, true}) {
    SCOPED_TRACE(bigEndian ? "UTF-16 BE" : "UTF-16 LE");
    WriteRaw(file(), Utf16(text, bigEndian));
    Settings settings(file());
    settings.read();
    EXPECT_EQ(settings.userId(), QString::fromUtf8("zoë"));
    EXPECT_EQ(settings.fileList(), Settings::kList);
    settings.setLastFolderRead("/home/anna/Pictures/");
    ASSERT_TRUE(settings.writeViewSettings());

    Settings restarted(file());
    restarted.read();
    EXPECT_EQ(restarted.userId(), QString::fromUtf8("zoë"));
    EXPECT_EQ(restarted.password(), QString::fromUtf8("p@ss wörd"));
    EXPECT_EQ(restarted.emailServer(), "smtp.example.com");
    EXPECT_EQ(restarted.emailAddress(), QString::fromUtf8("zoë@example.com"));
    EXPECT_EQ(restarted.lastUploadDate(), "2024-05-01 13:02:03");
    EXPECT_EQ(restarted.fileList(), Settings::kList);
    EXPECT_EQ(restarted.lastFolderRead(), "/home/anna/Pictures/");
    EXPECT_EQ(stored("LabelType"), "C2160");
  }
}

TEST_F(SettingsFile, AFileNotUnderstoodStaysByteForByteThroughRepeatedSaves) {
  std::mt19937 random(7);
  QByteArray binary(4096, Qt::Uninitialized);
  for (char& byte : binary) byte = char(random() & 0xFF);
  const std::pair<const char*, QByteArray> files[] = {
      {"NUL mid-file", QByteArray("[Settings]\nUserId=anna\n") + '\0' +
                           "Password=secret\nEmailServer=smtp.example.com\n"},
      {"random binary", binary},
      {"unterminated section", "[Settings\nUserId=anna\nPassword=secret\n"}};
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    WriteRaw(file(), bytes);
    // Five runs of the program: start, change what the user may change, exit.
    for (int run = 0; run < 5; ++run) {
      Settings settings(file());
      settings.read();
      ExpectDefaults(settings);
      EXPECT_FALSE(settings.setUserId("anna"));
      settings.setFileList(Settings::kDetails);
      EXPECT_FALSE(settings.writeViewSettings());
      EXPECT_EQ(ReadAll(file()), bytes);
    }
  }
}

TEST_F(SettingsFile, ASettingsPathThatIsAFifoGivesTheDefaultsAtOnce) {
  // Opened the ordinary way this would wait for a writer for ever; ctest's time limit ends
  // the test then.
  ASSERT_EQ(::mkfifo(QFile::encodeName(file()).constData(), 0600), 0);
  Settings settings(file());
  settings.read();
  ExpectDefaults(settings);
  EXPECT_FALSE(settings.setEmailServer("smtp.example.com"));
  EXPECT_FALSE(settings.writeViewSettings());
  EXPECT_EQ(settings.emailServer(), "smtp.example.com");
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(file()).constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
