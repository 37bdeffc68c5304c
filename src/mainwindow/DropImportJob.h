#pragma once

#include <atomic>
#include <thread>

#include <QList>
#include <QObject>

#include "mainwindow/DropImportPlan.h"

class PhotoStore;

// Imports a planned drop away from the interface thread: a worker thread hands the
// files to PhotoBatchImporter a few at a time, in order, and posts each file's end to
// this object's thread. A cancel is honoured after the files in hand; destroying the job
// cancels it and waits only for those.
class DropImportJob : public QObject {
  Q_OBJECT

 public:
  DropImportJob(PhotoStore& store, QList<PlannedImport> plan, QObject* parent = nullptr);
  ~DropImportJob() override;

  void start();
  void cancel() { m_cancelled = true; }
  bool isCancelled() const { return m_cancelled; }
  int total() const { return int(m_plan.size()); }

 signals:
  // On the thread that owns the job: `done` of the total are through, `imported` of them stored.
  void progressed(int done, int imported);
  void finished(int imported, bool cancelled);

 private:
  void run();

  PhotoStore& m_store;
  QList<PlannedImport> m_plan;
  std::atomic<bool> m_cancelled{false};
  std::thread m_worker;
};
