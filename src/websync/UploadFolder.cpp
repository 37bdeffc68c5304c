#include "websync/UploadFolder.h"

#include "inet/FtpConnection.h"
#include "inet/UploadPaths.h"

std::unique_ptr<FtpConnection> OpenUserFolder(InternetSession& session, const UploadPaths& paths,
                                              const QString& userId, bool create, QString* error, bool* missing) {
  if (missing) *missing = false;
  std::unique_ptr<FtpConnection> ftp =
      OpenUploadConnection(session, paths.uploadHost(), paths.uploadId, paths.uploadPassword, error);
  if (!ftp) return nullptr;
  // An upload path without a folder means the log-in folder.
  const QString folder = paths.uploadFolder();
  if (folder != QLatin1String("/") && !ftp->setCurrentDirectory(folder, error)) return nullptr;
  if (ftp->setCurrentDirectory(userId)) return ftp;
  if (!create) {
    if (missing) *missing = true;
    return ftp;
  }
  if (!ftp->createDirectory(userId, error) || !ftp->setCurrentDirectory(userId, error)) return nullptr;
  return ftp;
}
