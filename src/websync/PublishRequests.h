#pragma once

#include <QString>

// The queries of the service's announce requests, escaped as the service reads them:
// photo names with quotes doubled and "&&" sent as one "&"; comments and album names
// with quotes doubled; user ids, album ids and numbers as they are.

QString SavePhotoQuery(const QString& userId, const QString& stem, qint64 size, int width, int height,
                       const QString& comment);
QString DeletePhotoQuery(const QString& userId, const QString& stem);
QString SaveSpaceQuery(const QString& userId, qint64 bytesUsed);
QString DeleteAlbumQuery(const QString& userId, const QString& album);
QString SaveAlbumQuery(const QString& userId, const QString& album, int pages);
QString SaveAlbumPageQuery(const QString& albumId, int page, int rows, int columns);
QString SaveAlbumPhotoQuery(const QString& userId, const QString& albumId, int page, int slot, const QString& stem);
QString GetAlbumsQuery(const QString& userId);
