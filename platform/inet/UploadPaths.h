#pragma once

#include <QString>

class InternetSession;

// The service's answer to the path request: where the user's files go and how much room
// they have.
struct UploadPaths {
  QString uploadPath;   // "ftp://host[:port]/folder"
  QString uploadId;     // FTP user
  QString uploadPassword;
  QString webPath;      // base URL of the later requests
  qint64 spaceUsed = 0;
  qint64 spacePurchased = 0;
  QString errorMessage;

  bool ok = false;
  // What to tell the user when not ok: the service's error message, else the answer
  // itself (with what went wrong on the way), else empty.
  QString errorText;

  // The upload path's host (with port) and folder ("/" when it names none).
  QString uploadHost() const;
  QString uploadFolder() const;
};

// The path request for userId to serviceHost over https, on the session's cached
// connection (opened for this host when there is none).
UploadPaths GetUploadPaths(InternetSession& session, const QString& serviceHost, const QString& userId);

// Reads a path answer.
UploadPaths ReadUploadPaths(const QString& answer);
