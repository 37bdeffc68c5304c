#pragma once

#include <QList>
#include <QString>

// A photo of the builder's lists: its stem (the file name without ".jpg") and description.
struct ShowPhoto {
  QString Stem;
  QString Description;
};

// Every "*.jpg" of the store's folder but the thumbnails, by name as the folder lists them
// on the system shows were first made for (without regard to case), with descriptions.
QList<ShowPhoto> AvailableShowPhotos(const QString& photoFolder);

// Sorts by the column (0 photo, 1 description), comparing the texts byte by byte.
void SortShowPhotos(QList<ShowPhoto>& photos, int column, bool ascending);
