#pragma once

#include <QString>

// One photo of the store as a listing shows it.
struct PhotoEntry {
  QString Stem;         // the file stem: the files are Stem + ".jpg" and Stem + "_tn.jpg"
  QString Name;         // the stem with "&&" shown as "&"
  qint64 FileTime = 0;  // the thumbnail's last-write time, in whole seconds since the epoch
  QString Description;  // comment type 3 of the thumbnail
};
