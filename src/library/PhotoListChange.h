#pragma once

#include <QList>
#include <QString>

#include "library/PhotoItem.h"

// One change the thumbnail watcher hands to the interface thread. Entries are addressed
// by their stem, matched case-sensitively as the files are.
struct PhotoListChange {
  enum class Kind {
    Clear,          // empty the list (the watcher starts from nothing)
    Add,            // insert Stem with Item at its place, newest first
    Replace,        // give the entry Stem the new Item; it keeps its place
    Remove,         // delete the entry Stem
    ScanDone,       // a scan ended: select entry 0 when nothing is selected
    FirstScanDone,  // the first scan ended: the list shows the whole folder
  };
  Kind Type = Kind::Clear;
  QString Stem;
  PhotoItemPtr Item;
};

using PhotoListChanges = QList<PhotoListChange>;
