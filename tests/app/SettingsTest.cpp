#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "library/Settings.h"
#include "system/Profile.h"

namespace {
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
