#pragma once

#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

#include "library/PhotoImporter.h"

class PhotoStore;

// One dropped file that is to be imported, and what to do if its name is stored.
struct PlannedImport {
  QString file;
  PhotoImporter::WhenTaken whenTaken = PhotoImporter::WhenTaken::Skip;
};

// What the user chose for a dropped file whose photo name is already stored (or taken by
// an earlier file of the same drop).
enum class TakenChoice { Replace, KeepBoth, Skip };

// Decides, in the order given, which dropped files are imported: files whose extension
// is not in the image file-type table, or whose name cannot be a photo name, are left
// out silently; for a name that is taken, `ask` is called with the photo name.
QList<PlannedImport> PlanDropImport(const QStringList& files, PhotoStore& store,
                                    const std::function<TakenChoice(const QString& name)>& ask);
