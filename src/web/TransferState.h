#pragma once

#include <mutex>

#include <QString>
#include <QStringList>

#include "websync/SyncProgress.h"

// What a run reports, kept for the dialog that shows it: the run writes on its thread,
// the dialog reads a copy on its timer. Shared by both, so neither outlives the other's
// view of it.
class TransferState : public SyncProgress {
 public:
  struct Snapshot {
    QString action;
    int files = -1;  // -1 until the run knows
    int filesDone = 0;
    qint64 bytes = 0;
    qint64 bytesDone = 0;
    qint64 fileBytes = 0;
    qint64 fileSize = -1;  // -1: no file on its way
    QStringList problems;  // not shown yet
  };

  // The state as it is, the problems handed over (each is taken once).
  Snapshot take();

  void action(const QString& text) override;
  void totals(int files, qint64 bytes) override;
  void filesDone(int files) override;
  void bytesDone(qint64 total, qint64 fileBytes, qint64 fileSize) override;
  void fileEnded() override;
  void problem(const QString& title, const QString& text) override;

 private:
  std::mutex m_mutex;
  Snapshot m_state;
};
