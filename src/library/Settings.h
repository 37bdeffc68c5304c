#pragma once

#include <QDateTime>
#include <QString>

// The program's settings: section "Settings" of "quendal.ini" in the Windows folder.
// The main window owns one and reads it at start; every later reader asks it. Each
// setter updates the value and the file together, except the view settings (FileList,
// LastFolderRead), which writeViewSettings() puts into the file when the main window
// goes. Failed writes are not reported: the value still holds for this run.
class Settings {
 public:
  static constexpr const char* kFileName = "quendal.ini";
  static constexpr const char* kSection = "Settings";

  // View styles of the file browser's list: the command ids of its View pop-up.
  static constexpr int kLargeIcons = 32775;
  static constexpr int kSmallIcons = 32776;
  static constexpr int kList = 59410;
  static constexpr int kDetails = 59411;

  // Longest values, in characters: folders and mail fields, then the account fields.
  static constexpr int kPathLimit = 260;
  static constexpr int kAccountLimit = 255;
  static constexpr int kDefaultEmailPort = 25;

  // The form of LastUploadDate: local time, "%Y-%m-%d %H:%M:%S".
  static constexpr const char* kUploadDateFormat = "yyyy-MM-dd HH:mm:ss";

  // "quendal.ini" in the Windows folder.
  static QString DefaultFile();

  explicit Settings(QString file = DefaultFile());

  const QString& file() const { return m_file; }

  // Reads every key but LabelType (which is never read back). A missing file, or a key
  // whose value is out of form, leaves that key at its default; so does, for every key, a
  // file that exists but is not used (see Profile.h), which no setter then writes over.
  void read();

  int fileList() const { return m_fileList; }
  // Anything but one of the four view styles is refused (false, no change).
  bool setFileList(int viewStyle);
  QString lastFolderRead() const { return m_lastFolderRead; }
  // A folder longer than kPathLimit characters is not kept (it would be a different,
  // cut-off folder): the value becomes empty, which means no last folder.
  void setLastFolderRead(const QString& folder);
  // Writes FileList as a decimal number and LastFolderRead as it stands.
  bool writeViewSettings();

  QString emailServer() const { return m_emailServer; }
  bool setEmailServer(const QString& server);
  QString emailAddress() const { return m_emailAddress; }
  bool setEmailAddress(const QString& address);
  // The outgoing server's port (25 unless set), its security ("none", "starttls" or
  // "tls") and the user name it wants (empty: none). The password is kept apart.
  int emailPort() const { return m_emailPort; }
  bool setEmailPort(int port);
  QString emailSecurity() const { return m_emailSecurity; }
  bool setEmailSecurity(const QString& security);
  QString emailUser() const { return m_emailUser; }
  bool setEmailUser(const QString& user);

  // The product code of the chosen label template.
  bool setLabelType(const QString& productCode);

  QString userId() const { return m_userId; }
  bool setUserId(const QString& userId);
  // Kept in plain text, as the file has always held it; the file is private to its owner.
  QString password() const { return m_password; }
  bool setPassword(const QString& password);

  // Empty when no publish run has been recorded.
  QString lastUploadDate() const { return m_lastUploadDate; }
  // The recorded time, invalid when there is none.
  QDateTime lastUploadTime() const;
  bool setLastUploadDate(const QDateTime& when);

 private:
  bool write(const char* key, const QString& value);

  QString m_file;
  int m_fileList = kLargeIcons;
  QString m_lastFolderRead;
  QString m_emailServer;
  QString m_emailAddress;
  int m_emailPort = kDefaultEmailPort;
  QString m_emailSecurity = QStringLiteral("none");
  QString m_emailUser;
  QString m_userId;
  QString m_password;
  QString m_lastUploadDate;
};
