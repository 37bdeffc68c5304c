#include "websync/PublishRequests.h"

#include "inet/QueryEscape.h"

// Escaped values hold "%NN": they are joined, never passed through QString::arg again.
namespace {
QString Number(qint64 value) { return QString::number(value); }
}  // namespace

QString SavePhotoQuery(const QString& userId, const QString& stem, qint64 size, int width, int height,
                       const QString& comment) {
  return QStringLiteral("?UserId=") + userId + QStringLiteral("&Photo=") + EscapeQueryValue(stem) +
         QStringLiteral("&Size=") + Number(size) + QStringLiteral("&W=") + Number(width) + QStringLiteral("&H=") +
         Number(height) + QStringLiteral("&Comment=") + EscapeQueryText(comment);
}

QString DeletePhotoQuery(const QString& userId, const QString& stem) {
  return QStringLiteral("?UserId=") + userId + QStringLiteral("&Photo=") + EscapeQueryValue(stem);
}

QString SaveSpaceQuery(const QString& userId, qint64 bytesUsed) {
  return QStringLiteral("?UserId=") + userId + QStringLiteral("&WebSpace=") + Number(bytesUsed);
}

QString DeleteAlbumQuery(const QString& userId, const QString& album) {
  return QStringLiteral("?UserId=") + userId + QStringLiteral("&Album=") + EscapeQueryText(album);
}

QString SaveAlbumQuery(const QString& userId, const QString& album, int pages) {
  return QStringLiteral("?UserId=") + userId + QStringLiteral("&Album=") + EscapeQueryText(album) +
         QStringLiteral("&NumPages=") + Number(pages);
}

QString SaveAlbumPageQuery(const QString& albumId, int page, int rows, int columns) {
  return QStringLiteral("?AlbumId=") + PercentEncodeQueryValue(albumId) + QStringLiteral("&PageNum=") + Number(page) +
         QStringLiteral("&NumRows=") + Number(rows) + QStringLiteral("&NumCols=") + Number(columns);
}

QString SaveAlbumPhotoQuery(const QString& userId, const QString& albumId, int page, int slot, const QString& stem) {
  return QStringLiteral("?UserId=") + userId + QStringLiteral("&AlbumId=") + PercentEncodeQueryValue(albumId) +
         QStringLiteral("&PageNum=") + Number(page) + QStringLiteral("&PhotoNum=") + Number(slot) +
         QStringLiteral("&PhotoName=") + EscapeQueryValue(stem);
}

QString GetAlbumsQuery(const QString& userId) { return QStringLiteral("?UserId=") + userId; }
