#include "websync/PublishRun.h"

#include <optional>

#include <QFile>
#include <QFileInfo>

#include "albums/AlbumFile.h"
#include "fil/ltfil.h"
#include "inet/FolderListing.h"
#include "inet/FtpConnection.h"
#include "inet/InternetSession.h"
#include "inet/ResponseText.h"
#include "inet/ServiceRequests.h"
#include "inet/UploadPaths.h"
#include "labels/LabelTemplate.h"
#include "library/ServiceSite.h"
#include "library/Settings.h"
#include "websync/PublishRequests.h"
#include "websync/SyncProgress.h"
#include "websync/UploadFolder.h"

namespace {

QString Stem(const QString& fileName) { return QFileInfo(fileName).completeBaseName(); }

// While it lives, the session's transfers run to their end whatever the stop check says;
// the check is put back afterwards and is seen by the next transfer.
class StopHeld {
 public:
  explicit StopHeld(InternetSession& session) : m_session(session), m_check(session.stopCheck()) {
    session.setStopCheck({});
  }
  ~StopHeld() { m_session.setStopCheck(std::move(m_check)); }
  StopHeld(const StopHeld&) = delete;
  StopHeld& operator=(const StopHeld&) = delete;

 private:
  InternetSession& m_session;
  StopCheck m_check;
};

class PublishWorker {
 public:
  PublishWorker(InternetSession& session, const PublishRequest& request, SyncProgress& progress)
      : m_session(session), m_request(request), m_progress(progress) {}

  PublishResult run();

 private:
  bool stopped() {
    if (m_session.stopRequested()) m_result.Stopped = true;
    return m_result.Stopped;
  }
  void announce(const QString& path, const QString& query) {
    ServiceGet(m_session, m_paths.webPath, path, query);
  }
  void removeDeleted(FtpConnection& ftp, const PublishPlan& plan);
  void sendFiles(FtpConnection& ftp, const PublishPlan& plan, const QList<FileEntry>& remote);
  bool sendFile(FtpConnection& ftp, const FileEntry& file);
  void publishAlbums();

  InternetSession& m_session;
  const PublishRequest& m_request;
  SyncProgress& m_progress;
  UploadPaths m_paths;
  PublishResult m_result;
  // Bytes the user's folder on the service holds, as the run changes it.
  qint64 m_held = 0;
  // From the last byte of a file on until its announcement: the file is finished.
  std::optional<StopHeld> m_finishing;
};

PublishResult PublishWorker::run() {
  m_result.Albums = m_request.Albums;
  m_progress.action(QStringLiteral("Retrieving remote upload information"));
  m_paths = GetUploadPaths(m_session, m_request.ServiceHost, m_request.UserId);
  if (!m_paths.ok) {
    if (stopped()) return m_result;
    if (m_paths.uploadPath.isEmpty())
      m_result.Error = !m_paths.errorText.isEmpty()
                           ? m_paths.errorText
                           : QStringLiteral("Brivane was not able to retrieve any data about your account.  "
                                            "Please try again.");
    else
      m_result.Error = m_paths.errorMessage;
    return m_result;
  }
  if (stopped()) return m_result;

  QString error;
  std::unique_ptr<FtpConnection> ftp = OpenUserFolder(m_session, m_paths, m_request.UserId, true, &error);
  if (!ftp) {
    if (!stopped()) m_result.Error = error;
    return m_result;
  }
  const std::optional<QList<FileEntry>> remote = ftp->listCurrentDirectory(&error, &m_result.Refused);
  if (!remote) {
    if (!stopped()) m_result.Error = QStringLiteral("The photos on the web could not be listed: ") + error;
    return m_result;
  }
  const PublishPlan plan =
      PlanPublish(ListFolder(m_request.PhotoFolder), *remote, m_request.SendAll, m_request.Albums);

  // The space used is what the folder holds: a figure the service kept from an earlier run
  // that was stopped, or whose files failed, would be off by what did not happen.
  for (const FileEntry& file : *remote) m_held += file.size;
  const qint64 used = m_held;
  removeDeleted(*ftp, plan);
  if (m_result.Stopped) return m_result;
  m_result.FilesToSend = int(plan.send.size());
  m_result.BytesToSend = plan.bytesToSend;
  m_progress.totals(m_result.FilesToSend, m_result.BytesToSend);

  m_result.Shortage = CheckWebSpace(used, m_paths.spacePurchased, plan.netChange);
  if (!m_result.Shortage) sendFiles(*ftp, plan, *remote);
  if (m_result.Stopped) return m_result;
  ftp.reset();
  announce(QStringLiteral("/savespace.asp"), SaveSpaceQuery(m_request.UserId, m_held));
  if (stopped() || m_result.Shortage) return m_result;
  if (m_request.AlbumsChanged) publishAlbums();
  m_result.Completed = !m_result.Stopped;
  return m_result;
}

void PublishWorker::removeDeleted(FtpConnection& ftp, const PublishPlan& plan) {
  for (const FileEntry& file : plan.remove) {
    // The record goes before the file: a run stopped in between leaves a file without a
    // record, which the next run deletes again, never a record that no run would find.
    // A left-over temporary of ours was never announced.
    if (!FtpConnection::IsTemporaryUploadName(file.name)) {
      announce(QStringLiteral("/deletephoto.asp"), DeletePhotoQuery(m_request.UserId, Stem(file.name)));
      if (stopped()) return;
    }
    QString error;
    if (ftp.deleteFile(file.name, &error)) {
      ++m_result.FilesDeleted;
      m_held -= file.size;
    } else if (!stopped()) {
      m_result.NotDeleted.append(file.name + QStringLiteral(": ") + error);
    }
    if (stopped()) return;
  }
}

void PublishWorker::sendFiles(FtpConnection& ftp, const PublishPlan& plan, const QList<FileEntry>& remote) {
  const QString hostName = ServiceSite::HostName(m_request.ServiceHost);
  for (const FileEntry& file : plan.send) {
    m_progress.action(QStringLiteral("Connecting to ") + hostName + QStringLiteral("..."));
    const bool sent = sendFile(ftp, file);
    m_progress.fileEnded();
    if (!sent) return;
    const FileEntry* replaced = FindEntry(remote, file.name);
    m_held += file.size - (replaced ? replaced->size : 0);
    // Announced only now that the service holds the whole file, and even when a stop
    // came since its last byte: the next run would find the file there as it is here,
    // and would neither send nor announce it again.
    const QString path = m_request.PhotoFolder + file.name;
    QString comment;
    ReadFileComment(path, 3, &comment);
    FileInfo info;
    GetImageFileInfo(path, info);
    m_progress.action(QStringLiteral("Sending %1 to the server.").arg(file.name));
    announce(QStringLiteral("/savephoto.asp"),
             SavePhotoQuery(m_request.UserId, Stem(file.name), file.size, info.Width, info.Height, comment));
    m_finishing.reset();
    m_progress.filesDone(++m_result.FilesSent);
    if (stopped()) return;
  }
}

bool PublishWorker::sendFile(FtpConnection& ftp, const FileEntry& file) {
  m_progress.action(file.name);
  QFile source(m_request.PhotoFolder + file.name);
  if (!source.open(QIODevice::ReadOnly)) {
    m_result.Failed.append(file.name + QStringLiteral(": ") + source.errorString());
    m_progress.problem(QStringLiteral("Error"), QStringLiteral("Access is denied"));
    return false;
  }
  const qint64 length = source.size();
  const qint64 before = m_result.BytesSent;
  QString error;
  const bool sent = ftp.uploadReplacing(file.name, source, file.lastWrite, [&](qint64 moved) {
    m_result.BytesSent = before + moved;
    m_progress.bytesDone(m_result.BytesSent, moved, length);
    // Its name and time are set after the last byte, in the same transfer: a stop there
    // would leave the file in place, unannounced. (A transfer begun again starts over.)
    if (moved < length) m_finishing.reset();
    else if (!m_finishing) m_finishing.emplace(m_session);
  }, &error);
  if (!sent) m_finishing.reset();
  else if (!m_finishing) m_finishing.emplace(m_session);
  if (!sent && stopped()) return false;
  if (!sent) {
    m_result.BytesSent = before;
    m_result.Failed.append(file.name + QStringLiteral(": ") + error);
    m_progress.problem(QStringLiteral("Error"), QStringLiteral("Access is denied"));
  }
  return sent;
}

void PublishWorker::publishAlbums() {
  const QStringList deleted = ReadDeletedAlbums(m_request.DeletedAlbumsFile);
  for (const QString& name : deleted) {
    announce(QStringLiteral("/deletealbum.asp"), DeleteAlbumQuery(m_request.UserId, name));
    if (stopped()) return;
  }
  // Only once every name was sent: a stopped run sends them again next time.
  if (!m_request.DeletedAlbumsFile.isEmpty()) QFile::remove(m_request.DeletedAlbumsFile);

  const QString& user = m_request.UserId;
  for (PhotoAlbum& album : m_result.Albums) {
    const QString answer = ServiceGet(m_session, m_paths.webPath, QStringLiteral("/savealbum.asp"),
                                      SaveAlbumQuery(user, album.Name, int(album.Pages.size())));
    const QString albumId = GetResponseValue(answer, QStringLiteral("AlbumId="));
    if (stopped()) return;
    if (albumId.isEmpty()) continue;
    for (int p = 0; p < int(album.Pages.size()); ++p) {
      AlbumPage& page = album.Pages[size_t(p)];
      const int rows = page.Layout ? page.Layout->Rows : 0;
      const int columns = page.Layout ? page.Layout->Columns : 0;
      const QString url = GetResponseValue(ServiceGet(m_session, m_paths.webPath, QStringLiteral("/savealbumpage.asp"),
                                                      SaveAlbumPageQuery(albumId, p, rows, columns)),
                                           QStringLiteral("URL="));
      if (stopped()) return;
      if (!url.isEmpty()) page.WebLink = url;
      for (int slot = 0; slot < page.PlaceCount(); ++slot) {
        announce(QStringLiteral("/savealbumphoto.asp"), SaveAlbumPhotoQuery(user, albumId, p, slot, page.Name(slot)));
        if (stopped()) return;
      }
    }
  }
  m_result.AlbumsPublished = true;
}

}  // namespace

PublishResult RunPublish(InternetSession& session, const PublishRequest& request, SyncProgress& progress) {
  return PublishWorker(session, request, progress).run();
}

bool StorePublishedAlbums(const QString& albumsFile, const std::vector<PhotoAlbum>& albums, Settings& settings) {
  if (!SaveAlbums(albumsFile, albums)) return false;
  settings.setLastUploadDate(QFileInfo(albumsFile).lastModified());
  return true;
}
