#include "getphoto/FolderListing.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QSet>

void SortZToA(QStringList& names) {
  std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.toLower() > b.toLower();
  });
}

FolderListing ListFolder(const QString& folder, const QStringList& patterns) {
  FolderListing listing;
  QDir dir(folder);
  if (!dir.exists() || !dir.isReadable()) return listing;
  // A folder we may not enter lists as nothing rather than failing later.
  const QFileInfo self(dir.absolutePath());
  if (!self.isExecutable()) return listing;

  listing.Folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  QSet<QString> seen;
  for (const QString& pattern : patterns) {
    const QStringList matches = dir.entryList({pattern}, QDir::Files);
    for (const QString& name : matches) {
      if (seen.contains(name)) continue;
      seen.insert(name);
      listing.Files.append(name);
    }
  }
  SortZToA(listing.Folders);
  SortZToA(listing.Files);
  listing.Listed = true;
  return listing;
}
