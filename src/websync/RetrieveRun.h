#pragma once

#include <QString>
#include <QStringList>

class InternetSession;
class LabelTemplateList;
class SyncProgress;

// One retrieving run: every photo file of the account into My Photos with its time, and
// the account's albums added to photos.dat. The download dialog after the account wizard
// and `brivane retrieve` run it.
struct RetrieveRequest {
  QString ServiceHost;  // "name[:port]" of the path request (https)
  QString UserId;
  QString PhotoFolder;  // My Photos, ending "/"
  QString AlbumsFile;   // photos.dat
  const LabelTemplateList* Templates = nullptr;
  // A photo here of the same name as one on the web but another file is kept. With
  // ReplaceOlder the web's copy replaces it when the web's is newer; otherwise, and when
  // the photo here is newer, the web's copy is stored as "Name (2)".
  bool ReplaceOlder = false;
};

struct RetrieveResult {
  // Ran to its end; false when stopped or the service could not be reached (Error).
  bool Completed = false;
  bool Stopped = false;
  QString Error;
  int FilesToReceive = 0;
  int FilesReceived = 0;
  qint64 BytesToReceive = 0;
  qint64 BytesReceived = 0;
  // Files that are here already, the same size and time: not received again.
  int AlreadyHere = 0;
  // Files that did not arrive whole, each with the reason; the next run tries them again.
  QStringList Failed;
  // Names in the service's listing that may not become file names here; skipped.
  QStringList Refused;
  // "Name -> Name (2)": photos of the web stored under another name.
  QStringList Renamed;
  int AlbumsAdded = 0;
};

// Runs on the caller's thread; the session's stop check ends it within one 4 KiB block.
// A file is written beside its place and moved there only when it arrived whole.
RetrieveResult RunRetrieve(InternetSession& session, const RetrieveRequest& request, SyncProgress& progress);
