#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One entry of the file browser's "Files of Type" list.
struct PhotoFileType {
  QString Description;
  QString Pattern;  // patterns separated by ";", as "*.jpg;*.jpeg"
};

// The file types the browser offers, in the order shown; the first is selected at start.
const QList<PhotoFileType>& PhotoFileTypes();

// The patterns of a type's pattern text, split at ";". "*.*" means every file, also
// those without a dot in their name.
QStringList SplitPatterns(const QString& pattern);
