#include "websync/RetrieveRun.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include "albums/AlbumFile.h"
#include "inet/FolderListing.h"
#include "inet/FtpConnection.h"
#include "inet/InternetSession.h"
#include "inet/ServiceRequests.h"
#include "inet/UploadPaths.h"
#include "library/StoreFiles.h"
#include "system/LockFile.h"
#include "websync/PublishRequests.h"
#include "websync/RemoteAlbums.h"
#include "websync/RetrievePlan.h"
#include "websync/SyncProgress.h"
#include "websync/UploadFolder.h"

namespace {

bool SameAlbum(const PhotoAlbum& a, const PhotoAlbum& b) {
  if (a.Name != b.Name || a.Pages.size() != b.Pages.size()) return false;
  for (size_t p = 0; p < a.Pages.size(); ++p) {
    const AlbumPage& x = a.Pages[p];
    const AlbumPage& y = b.Pages[p];
    if (x.Layout != y.Layout || x.PlaceCount() != y.PlaceCount()) return false;
    for (int k = 0; k < x.PlaceCount(); ++k)
      if (x.Name(k) != y.Name(k)) return false;
  }
  return true;
}

// A photo's thumbnail is received before its picture. Killed between the two, we leave a
// lone thumbnail, which the next start removes; a picture without its thumbnail would get
// one made there instead, which then differs from the web's and keeps the photo from ever
// being received whole.
QList<RetrieveItem> ThumbnailsBeforePictures(const QList<RetrieveItem>& items) {
  const QLatin1String thumbnailSuffix("_tn.jpg");
  QHash<QString, qsizetype> thumbnailOf;  // a picture's target -> the index of its thumbnail
  for (qsizetype i = 0; i < items.size(); ++i)
    if (items[i].target.endsWith(thumbnailSuffix))
      thumbnailOf.insert(items[i].target.chopped(thumbnailSuffix.size()) + QStringLiteral(".jpg"),
                         i);
  QList<RetrieveItem> ordered;
  QSet<qsizetype> placed;
  for (qsizetype i = 0; i < items.size(); ++i) {
    if (placed.contains(i)) continue;
    if (const auto thumbnail = thumbnailOf.constFind(items[i].target);
        thumbnail != thumbnailOf.constEnd() && !placed.contains(*thumbnail)) {
      ordered.append(items[*thumbnail]);
      placed.insert(*thumbnail);
    }
    ordered.append(items[i]);
    placed.insert(i);
  }
  return ordered;
}

class RetrieveWorker {
 public:
  RetrieveWorker(InternetSession& session, const RetrieveRequest& request, SyncProgress& progress)
      : m_session(session), m_request(request), m_progress(progress) {}

  RetrieveResult run();

 private:
  bool stopped() {
    if (m_session.stopRequested()) m_result.Stopped = true;
    return m_result.Stopped;
  }
  bool receive(FtpConnection& ftp, const RetrieveItem& item);
  void readAlbums(const QHash<QString, QString>& renamedStems);

  InternetSession& m_session;
  const RetrieveRequest& m_request;
  SyncProgress& m_progress;
  UploadPaths m_paths;
  RetrieveResult m_result;
};

RetrieveResult RetrieveWorker::run() {
  m_progress.action(QStringLiteral("Retrieving remote download information"));
  m_paths = GetUploadPaths(m_session, m_request.ServiceHost, m_request.UserId);
  if (stopped()) return m_result;
  if (!m_paths.ok) {
    m_result.Error = !m_paths.errorText.isEmpty()
                         ? m_paths.errorText
                         : QStringLiteral("Brivane was not able to retrieve any data about your account.  "
                                          "Please try again.");
    return m_result;
  }
  QString error;
  bool noFolder = false;
  std::unique_ptr<FtpConnection> ftp = OpenUserFolder(m_session, m_paths, m_request.UserId, false, &error, &noFolder);
  if (!ftp) {
    if (!stopped()) m_result.Error = error;
    return m_result;
  }
  QList<FileEntry> remote;
  // An account that never sent a photo has no folder yet: nothing to receive.
  if (!noFolder) {
    const std::optional<QList<FileEntry>> listed = ftp->listCurrentDirectory(&error, &m_result.Refused);
    if (!listed) {
      if (!stopped()) m_result.Error = QStringLiteral("The photos on the web could not be listed: ") + error;
      return m_result;
    }
    remote = *listed;
  }
  if (!QFile::exists(m_request.PhotoFolder) && !QDir().mkpath(m_request.PhotoFolder)) {
    m_result.Error = QStringLiteral("The folder %1 could not be created.").arg(m_request.PhotoFolder);
    return m_result;
  }
  const RetrievePlan plan = PlanRetrieve(remote, ListFolder(m_request.PhotoFolder), m_request.ReplaceOlder);
  m_result.AlreadyHere = plan.alreadyHere;
  for (const QString& name : plan.noFreeName)
    m_result.Failed.append(name + QStringLiteral(": there is no free name for it here"));
  m_result.FilesToReceive = int(plan.receive.size());
  for (const RetrieveItem& item : plan.receive) m_result.BytesToReceive += item.remote.size;
  m_progress.totals(m_result.FilesToReceive, m_result.BytesToReceive);

  // The folder's names are made lasting once for the run, not after every file; each
  // file's own bytes are synced before it takes its name.
  struct SyncFolderAtEnd {
    QString folder;
    ~SyncFolderAtEnd() { SyncStoreFolder(folder); }
  } syncAtEnd{m_request.PhotoFolder};
  for (const RetrieveItem& item : ThumbnailsBeforePictures(plan.receive)) {
    m_progress.action(QStringLiteral("Receiving %1").arg(item.remote.name));
    const bool received = receive(*ftp, item);
    m_progress.fileEnded();
    if (stopped()) return m_result;
    if (!received) continue;
    m_progress.filesDone(++m_result.FilesReceived);
    if (item.target != item.remote.name)
      m_result.Renamed.append(item.remote.name + QStringLiteral(" -> ") + item.target);
  }
  ftp.reset();
  readAlbums(plan.renamedStems);
  m_result.Completed = !m_result.Stopped && m_result.Error.isEmpty();
  return m_result;
}

bool RetrieveWorker::receive(FtpConnection& ftp, const RetrieveItem& item) {
  const QString folder = m_request.PhotoFolder;
  // Temporaries of the store's kind: hidden, swept by the store's repair if we die.
  const LockFile writing(StoreWritingLockPath(folder), LockFile::Mode::Shared);
  const QString temporary = NewStoreTemporary(folder);
  QFile file(temporary);
  const auto fail = [&](const QString& reason) {
    file.close();
    RemoveStoreFile(temporary);
    if (!m_result.Stopped) m_result.Failed.append(item.remote.name + QStringLiteral(": ") + reason);
    return false;
  };
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return fail(QStringLiteral("it could not be written here: ") + file.errorString());
  const qint64 before = m_result.BytesReceived;
  const qint64 size = item.remote.size;
  QString error;
  const bool received = ftp.download(item.remote.name, file, [&](qint64 moved) {
    m_result.BytesReceived = before + moved;
    m_progress.bytesDone(m_result.BytesReceived, moved, size);
  }, &error, size);
  const qint64 got = file.size();
  if (stopped()) {
    m_result.BytesReceived = before;
    return fail(QString());
  }
  if (!received || got != size) {
    m_result.BytesReceived = before;
    if (received) error = QStringLiteral("%1 of %2 bytes arrived").arg(got).arg(size);
    m_progress.problem(QStringLiteral("Error"), QStringLiteral("Access is denied"));
    return fail(error);
  }
  // The times go on last: a later write would move them.
  if (!file.flush()) return fail(QStringLiteral("it could not be written here: ") + file.errorString());
  if (item.remote.lastWrite.isValid()) {
    file.setFileTime(item.remote.lastWrite, QFileDevice::FileModificationTime);
    file.setFileTime(item.remote.lastWrite, QFileDevice::FileAccessTime);
  }
  file.close();
  if (!SyncStoreFile(temporary)) return fail(QStringLiteral("it could not be written here"));

  const QString target = folder + item.target;
  const LockFile changes(StoreLockPath(folder), LockFile::Mode::Exclusive);
  // The plan decided whether this may replace what is here; a file that appeared since
  // is never replaced.
  const bool replaces = QFile::exists(target) && item.target == item.remote.name;
  if (replaces) {
    if (!MoveStoreFile(temporary, target)) return fail(QStringLiteral("it could not be put in place"));
  } else if (MoveStoreFileWithoutReplacing(temporary, target) != MoveOutcome::Moved) {
    return fail(QStringLiteral("a file of that name appeared here meanwhile"));
  }
  return true;
}

void RetrieveWorker::readAlbums(const QHash<QString, QString>& renamedStems) {
  m_progress.action(QStringLiteral("Retrieving your remote photo albums.  Please wait..."));
  QString error;
  const QString answer = ServiceGet(m_session, m_paths.webPath, QStringLiteral("/getalbums.asp"),
                                    GetAlbumsQuery(m_request.UserId), &error);
  if (stopped()) return;
  if (answer.isEmpty() || answer == QLatin1String(kRequestFailed)) {
    m_result.Error = QStringLiteral("Your photo albums could not be retrieved: ") + error;
    return;
  }
  std::vector<PhotoAlbum> remote = ParseRemoteAlbums(answer, *m_request.Templates);
  for (auto it = renamedStems.cbegin(); it != renamedStems.cend(); ++it)
    RenamePhotoInAlbums(remote, it.key(), it.value());
  std::vector<PhotoAlbum> albums = LoadAlbums(m_request.AlbumsFile, *m_request.Templates);
  // An album that is here already, page for page, is not added twice by a second run.
  for (PhotoAlbum& album : remote) {
    if (std::any_of(albums.begin(), albums.end(), [&](const PhotoAlbum& a) { return SameAlbum(a, album); }))
      continue;
    albums.push_back(std::move(album));
    ++m_result.AlbumsAdded;
  }
  if (!SaveAlbums(m_request.AlbumsFile, albums))
    m_result.Error = QStringLiteral("The albums could not be saved in %1.").arg(m_request.AlbumsFile);
}

}  // namespace

RetrieveResult RunRetrieve(InternetSession& session, const RetrieveRequest& request, SyncProgress& progress) {
  return RetrieveWorker(session, request, progress).run();
}
