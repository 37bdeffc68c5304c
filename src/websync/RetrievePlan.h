#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "inet/FileEntry.h"

// Where each file of the account goes in My Photos. A photo and its thumbnail
// (stem + "_tn.jpg") are decided together, so the pair always stays a pair. A file that
// is here already (same name, size and time) is not received again; a photo here of the
// same name but another file is never overwritten unless replaceOlder and the web's copy
// is newer; otherwise the pair is stored under the first free "Name (2)", "Name (3)" ...
struct RetrieveItem {
  FileEntry remote;
  QString target;  // the local file name
};

struct RetrievePlan {
  QList<RetrieveItem> receive;  // in the listing's order
  int alreadyHere = 0;
  // Pairs that would find no free name; each its remote file name.
  QStringList noFreeName;
  // stem on the web -> stem here, for pairs stored under another name.
  QHash<QString, QString> renamedStems;
};

RetrievePlan PlanRetrieve(const QList<FileEntry>& remote, const QList<FileEntry>& local, bool replaceOlder);
