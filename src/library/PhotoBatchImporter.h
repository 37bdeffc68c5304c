#pragma once

#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

#include "library/ImportResult.h"
#include "library/PhotoImporter.h"

class PhotoStore;

// Imports many files at once, decoding and encoding on several threads. The outcome is
// the one importing the files one after another in the given order would have: files are
// decoded and encoded side by side, then named and placed strictly in that order.
class PhotoBatchImporter {
 public:
  // Called on the calling thread for each file, in the order given.
  using Report = std::function<void(qsizetype index, const QString& file, const ImportResult& result)>;

  explicit PhotoBatchImporter(PhotoStore& store);

  void SetDescription(const QString& description) { description_ = description; }
  void SetWhenTaken(PhotoImporter::WhenTaken policy) { whenTaken_ = policy; }
  // How many files are worked on at once; 0 (the default) for one per processor.
  void SetThreads(int threads) { threads_ = threads; }

  // Every imported photo gets the description.
  QList<ImportResult> Import(const QStringList& files, const Report& report = {});

 private:
  PhotoStore& store_;
  QString description_;
  PhotoImporter::WhenTaken whenTaken_ = PhotoImporter::WhenTaken::Skip;
  int threads_ = 0;
};
