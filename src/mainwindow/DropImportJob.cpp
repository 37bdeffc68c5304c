#include "mainwindow/DropImportJob.h"

#include <QMetaObject>
#include <QPointer>

#include "library/PhotoBatchImporter.h"

namespace {
// Files handed over at a time: enough to keep the processors busy, few enough that a
// cancel is felt quickly.
constexpr int kFilesInHand = 2;
}  // namespace

DropImportJob::DropImportJob(PhotoStore& store, QList<PlannedImport> plan, QObject* parent)
    : QObject(parent), m_store(store), m_plan(std::move(plan)) {}

DropImportJob::~DropImportJob() {
  m_cancelled = true;
  if (m_worker.joinable()) m_worker.join();
}

void DropImportJob::start() { m_worker = std::thread([this] { run(); }); }

void DropImportJob::run() {
  int done = 0;
  int imported = 0;
  qsizetype next = 0;
  while (next < m_plan.size() && !m_cancelled) {
    // A run of files with the same policy, at most kFilesInHand long.
    const PhotoImporter::WhenTaken policy = m_plan[next].whenTaken;
    QStringList files;
    while (next < m_plan.size() && files.size() < kFilesInHand && m_plan[next].whenTaken == policy)
      files.append(m_plan[next++].file);
    PhotoBatchImporter importer(m_store);
    importer.SetWhenTaken(policy);
    importer.SetDescription(QString());
    importer.Import(files, [&](qsizetype, const QString&, const ImportResult& result) {
      ++done;
      if (result.imported()) ++imported;
      QMetaObject::invokeMethod(this, [this, done, imported] { emit progressed(done, imported); },
                                Qt::QueuedConnection);
    });
  }
  const bool cancelled = m_cancelled;
  QMetaObject::invokeMethod(this, [this, imported, cancelled] { emit finished(imported, cancelled); },
                            Qt::QueuedConnection);
}
