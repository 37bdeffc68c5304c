#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "albums/PhotoAlbum.h"
#include "websync/PublishPlan.h"

class InternetSession;
class Settings;
class SyncProgress;

// One publishing run: makes the service's copy of the photos and albums equal to the
// one here. The Publish to the Web dialog and `brivane publish` run it.
struct PublishRequest {
  QString ServiceHost;  // "name[:port]" of the path request (https)
  QString UserId;
  QString PhotoFolder;  // My Photos, ending "/"
  // deletealbums.dat: albums deleted here since the last run, to delete there too.
  QString DeletedAlbumsFile;
  // False: only photos some album holds (with their thumbnails) are sent.
  bool SendAll = true;
  std::vector<PhotoAlbum> Albums;
  // The albums changed since the last run (AlbumsNeedPublishing): they are sent too.
  bool AlbumsChanged = false;
};

struct PublishResult {
  // Ran to its end; false when stopped, refused for space, or it could not reach the
  // service (Error says why, unless the service already said it).
  bool Completed = false;
  bool Stopped = false;
  QString Error;
  std::optional<SpaceShortage> Shortage;
  int FilesToSend = 0;
  int FilesSent = 0;
  qint64 BytesToSend = 0;
  qint64 BytesSent = 0;
  int FilesDeleted = 0;
  // Files that could not be sent, each with the reason.
  QStringList Failed;
  // Files deleted here that could not be deleted on the web, each with the reason; the
  // next run tries again.
  QStringList NotDeleted;
  // Names in the service's listing that may not become file names here; left alone.
  QStringList Refused;
  // The albums were announced: Albums carries the pages' new web links.
  bool AlbumsPublished = false;
  std::vector<PhotoAlbum> Albums;
};

// Runs on the caller's thread; the session's stop check ends it within one 4 KiB block.
// A file is announced to the service only after it arrived whole.
PublishResult RunPublish(InternetSession& session, const PublishRequest& request, SyncProgress& progress);

// After a run whose albums were announced: writes photos.dat with the pages' web links
// and records its time as LastUploadDate, so that unchanged albums are not sent again.
// False when photos.dat could not be written.
bool StorePublishedAlbums(const QString& albumsFile, const std::vector<PhotoAlbum>& albums, Settings& settings);
