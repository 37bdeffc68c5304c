#include "library/Settings.h"

#include <utility>

#include "system/Profile.h"

namespace {
// At most limit characters (code points, so a character outside the basic plane is never
// cut in half).
QString Limited(const QString& text, int limit) {
  qsizetype end = 0;
  for (int characters = 0; end < text.size() && characters < limit; ++characters)
    end += (text[end].isHighSurrogate() && end + 1 < text.size()) ? 2 : 1;
  return text.left(end);
}

qsizetype CharacterCount(const QString& text) { return text.toUcs4().size(); }

bool IsViewStyle(int value) {
  return value == Settings::kLargeIcons || value == Settings::kSmallIcons ||
         value == Settings::kList || value == Settings::kDetails;
}

QString FolderOrNothing(const QString& folder) {
  return CharacterCount(folder) > Settings::kPathLimit ? QString() : folder;
}

bool IsEmailSecurity(const QString& text) {
  return text == QLatin1String("none") || text == QLatin1String("starttls") || text == QLatin1String("tls");
}

bool IsUploadDate(const QString& text) {
  return QDateTime::fromString(text, Settings::kUploadDateFormat).isValid();
}
}  // namespace

QString Settings::DefaultFile() { return ProfileFilePath(kFileName); }

Settings::Settings(QString file) : m_file(std::move(file)) {}

void Settings::read() {
  const auto text = [this](const char* key) { return ReadProfileString(m_file, kSection, key); };
  const int fileList = ReadProfileInt(m_file, kSection, "FileList", kLargeIcons);
  m_fileList = IsViewStyle(fileList) ? fileList : kLargeIcons;
  m_lastFolderRead = FolderOrNothing(text("LastFolderRead"));
  m_emailServer = Limited(text("EmailServer"), kPathLimit);
  m_emailAddress = Limited(text("EmailAddress"), kPathLimit);
  const int port = ReadProfileInt(m_file, kSection, "EmailPort", kDefaultEmailPort);
  m_emailPort = port > 0 && port < 65536 ? port : kDefaultEmailPort;
  const QString security = text("EmailSecurity").toLower();
  m_emailSecurity = IsEmailSecurity(security) ? security : QStringLiteral("none");
  m_emailUser = Limited(text("EmailUser"), kAccountLimit);
  m_userId = Limited(text("UserId"), kAccountLimit);
  m_password = Limited(text("Password"), kAccountLimit);
  const QString uploadDate = text("LastUploadDate");
  // A date out of form reads as none: the next publish run then compares against nothing
  // rather than against a wrong time.
  m_lastUploadDate = IsUploadDate(uploadDate) ? uploadDate : QString();
}

bool Settings::setFileList(int viewStyle) {
  if (!IsViewStyle(viewStyle)) return false;
  m_fileList = viewStyle;
  return true;
}

void Settings::setLastFolderRead(const QString& folder) {
  m_lastFolderRead = FolderOrNothing(folder);
}

bool Settings::writeViewSettings() {
  const bool fileListWritten = write("FileList", QString::number(m_fileList));
  return write("LastFolderRead", m_lastFolderRead) && fileListWritten;
}

bool Settings::setEmailServer(const QString& server) {
  m_emailServer = Limited(server, kPathLimit);
  return write("EmailServer", m_emailServer);
}

bool Settings::setEmailAddress(const QString& address) {
  m_emailAddress = Limited(address, kPathLimit);
  return write("EmailAddress", m_emailAddress);
}

bool Settings::setEmailPort(int port) {
  if (port <= 0 || port >= 65536) return false;
  m_emailPort = port;
  return write("EmailPort", QString::number(port));
}

bool Settings::setEmailSecurity(const QString& security) {
  if (!IsEmailSecurity(security)) return false;
  m_emailSecurity = security;
  return write("EmailSecurity", security);
}

bool Settings::setEmailUser(const QString& user) {
  m_emailUser = Limited(user, kAccountLimit);
  return write("EmailUser", m_emailUser);
}

bool Settings::setLabelType(const QString& productCode) {
  return write("LabelType", productCode);
}

bool Settings::setUserId(const QString& userId) {
  m_userId = Limited(userId, kAccountLimit);
  return write("UserId", m_userId);
}

bool Settings::setPassword(const QString& password) {
  m_password = Limited(password, kAccountLimit);
  return write("Password", m_password);
}

QDateTime Settings::lastUploadTime() const {
  return QDateTime::fromString(m_lastUploadDate, kUploadDateFormat);
}

bool Settings::setLastUploadDate(const QDateTime& when) {
  m_lastUploadDate = when.isValid() ? when.toLocalTime().toString(kUploadDateFormat) : QString();
  return write("LastUploadDate", m_lastUploadDate);
}

bool Settings::write(const char* key, const QString& value) {
  return WriteProfileString(m_file, kSection, key, value);
}
