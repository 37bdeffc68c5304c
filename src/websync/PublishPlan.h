#pragma once

#include <optional>
#include <vector>

#include <QDateTime>
#include <QList>
#include <QString>

#include "albums/PhotoAlbum.h"
#include "inet/FileEntry.h"

// The decisions of a publishing run that need no network: what to send, what to delete
// on the service, whether the albums changed and whether the web space suffices.

// The form of LastUploadDate and of the times compared: "%Y-%m-%d %H:%M:%S".
QString UploadTimeText(const QDateTime& when);

// Whether a file of My Photos (name with extension) is a photo some album page holds,
// or such a photo's thumbnail.
bool IsAlbumPhoto(const QString& fileName, const std::vector<PhotoAlbum>& albums);

// Whether the albums changed since the last run: photos.dat was written after
// LastUploadDate (local time text), or there was no run yet.
bool AlbumsNeedPublishing(const QString& lastUploadDate, const QDateTime& albumsFileTime);
// Whether a run must send the albums: they changed, or a page has no web address yet
// (albums retrieved from the service come without one).
bool AlbumsToSend(const QString& lastUploadDate, const QDateTime& albumsFileTime,
                  const std::vector<PhotoAlbum>& albums);

struct PublishPlan {
  QList<FileEntry> send;    // local files, in the order of the local list
  QList<FileEntry> remove;  // remote files without a local one
  qint64 bytesToSend = 0;
  // Bytes the service will hold more (or, negative, less) afterwards.
  qint64 netChange = 0;
};

// A local file is sent when the service has none of its name, or has one of another
// size, or an older one (compared to the second). Without sendAll only album photos are
// sent; every remote file without a local one is removed, left-over temporaries of
// uploads that never finished among them.
PublishPlan PlanPublish(const QList<FileEntry>& local, const QList<FileEntry>& remote, bool sendAll,
                        const std::vector<PhotoAlbum>& albums);

// The figures of a run that would pass the purchased space, in megabytes.
struct SpaceShortage {
  double usedMb = 0;
  double neededMb = 0;
  double availableMb = 0;
};

// None when the change fits: it shrinks the space used, or used + change stays within
// the purchased space.
std::optional<SpaceShortage> CheckWebSpace(qint64 used, qint64 purchased, qint64 netChange);

// The Web Space dialog's sentence for the figures.
QString WebSpaceText(const SpaceShortage& shortage);
