#pragma once

#include <QString>
#include <QStringList>

// The photos of a show: "photo0.jpg", "photo1.jpg", ... beside the player, in show order,
// up to the first number that is missing (the launcher does not pass their count).
class PhotoSequence {
 public:
  // The paths of the photos in folder (ending in "/"), in numeric order.
  static QStringList inFolder(const QString& folder);
  // The folder of the running program, ending in "/"; the current folder when the
  // program's own file cannot be found.
  static QString programFolder();
  // The photos beside the program, or in the current folder when there are none there.
  static QStringList besideProgram();
};
