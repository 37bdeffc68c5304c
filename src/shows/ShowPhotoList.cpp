#include "shows/ShowPhotoList.h"

#include <QDir>
#include <algorithm>

#include "library/PhotoEncoding.h"

QList<ShowPhoto> AvailableShowPhotos(const QString& photoFolder) {
  QList<ShowPhoto> photos;
  const QStringList files =
      QDir(photoFolder)
          .entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
  for (const QString& file : files) {
    if (file.endsWith(QStringLiteral("_tn.jpg"), Qt::CaseInsensitive)) continue;
    photos.append({file.chopped(4), ReadPhotoDescription(photoFolder + file)});
  }
  return photos;
}

void SortShowPhotos(QList<ShowPhoto>& photos, int column, bool ascending) {
  const auto text = [column](const ShowPhoto& photo) {
    return (column == 0 ? photo.Stem : photo.Description).toUtf8();
  };
  std::stable_sort(photos.begin(), photos.end(), [&](const ShowPhoto& a, const ShowPhoto& b) {
    const int order = qstrcmp(text(a), text(b));
    return ascending ? order < 0 : order > 0;
  });
}
