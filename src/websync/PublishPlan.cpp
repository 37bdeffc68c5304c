#include "websync/PublishPlan.h"

#include <QFileInfo>

#include "inet/FtpConnection.h"

QString UploadTimeText(const QDateTime& when) {
  return when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

bool IsAlbumPhoto(const QString& fileName, const std::vector<PhotoAlbum>& albums) {
  const QString stem = QFileInfo(fileName).completeBaseName();
  const QString photo = stem.endsWith(QLatin1String("_tn")) ? stem.chopped(3) : QString();
  for (const PhotoAlbum& album : albums)
    for (const AlbumPage& page : album.Pages)
      for (const QString& name : page.Names)
        if (!name.isEmpty() && (name == stem || name == photo)) return true;
  return false;
}

bool AlbumsNeedPublishing(const QString& lastUploadDate, const QDateTime& albumsFileTime) {
  return lastUploadDate.isEmpty() || lastUploadDate < UploadTimeText(albumsFileTime);
}

bool AlbumsToSend(const QString& lastUploadDate, const QDateTime& albumsFileTime,
                  const std::vector<PhotoAlbum>& albums) {
  if (AlbumsNeedPublishing(lastUploadDate, albumsFileTime)) return true;
  for (const PhotoAlbum& album : albums)
    for (const AlbumPage& page : album.Pages)
      if (page.WebLink.isEmpty()) return true;
  return false;
}

namespace {
// Listings give whole seconds; the file system gives more.
qint64 Seconds(const QDateTime& when) { return when.toSecsSinceEpoch(); }
}  // namespace

PublishPlan PlanPublish(const QList<FileEntry>& local, const QList<FileEntry>& remote, bool sendAll,
                        const std::vector<PhotoAlbum>& albums) {
  PublishPlan plan;
  for (const FileEntry& file : local) {
    if (!sendAll && !IsAlbumPhoto(file.name, albums)) continue;
    // Both times are instants: comparing a local clock's text with a UTC text would
    // send everything again east of Greenwich.
    if (const FileEntry* there = FindEntry(remote, file.name)) {
      // A listing without a readable time leaves the size to judge by.
      if ((!there->lastWrite.isValid() || Seconds(file.lastWrite) <= Seconds(there->lastWrite)) &&
          file.size == there->size)
        continue;
      plan.netChange += file.size - there->size;
    } else {
      plan.netChange += file.size;
    }
    plan.send.append(file);
    plan.bytesToSend += file.size;
  }
  for (const FileEntry& file : remote) {
    if (FindEntry(local, file.name) && !FtpConnection::IsTemporaryUploadName(file.name)) continue;
    plan.remove.append(file);
    plan.netChange -= file.size;
  }
  return plan;
}

std::optional<SpaceShortage> CheckWebSpace(qint64 used, qint64 purchased, qint64 netChange) {
  if (netChange <= 0 || used + netChange <= purchased) return std::nullopt;
  constexpr double kMegabyte = 1.0 / 1048576;
  return SpaceShortage{double(used) * kMegabyte, double(netChange) * kMegabyte, double(purchased) * kMegabyte};
}

QString WebSpaceText(const SpaceShortage& shortage) {
  // The figures as "%6.1f" and "%6.3f" would give them, without the leading blanks.
  const auto figure = [](double value, int decimals) { return QString::number(value, 'f', decimals); };
  return QStringLiteral("Currently you have used %1 Megabytes.  You have %2 Megabytes all total available to you.  "
                        "Therefore you need an additional %3 megabytes.")
      .arg(figure(shortage.usedMb, 1), figure(shortage.availableMb, 1), figure(shortage.neededMb, 3));
}
