#include "getphoto/CDropImporter.h"

#include "controls/BackgroundRunner.h"
#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "getphoto/DropImportPlan.h"
#include "library/PhotoBatchImporter.h"

namespace {
constexpr const char* kTakenOnDrop =
    "You already have a photo named '%1'.\n\n"
    "Click Yes to replace it with the dropped picture, No to keep both (the dropped picture "
    "gets a new name), or Cancel to skip this picture.";
constexpr const char* kImporting = "Adding the dropped pictures to 'My Photos'...";
// Files handed to the importer at a time: enough to keep the processors busy, few enough
// that a cancel is felt quickly.
constexpr int kFilesInHand = 2;

struct DropOutcome {
  int imported = 0;
  bool cancelled = false;
};

DropOutcome ImportPlanned(PhotoStore& store, const QList<PlannedImport>& plan, BackgroundJob& job) {
  DropOutcome outcome;
  int done = 0;
  qsizetype next = 0;
  while (next < plan.size() && !job.stopRequested()) {
    // A run of files with the same policy, at most kFilesInHand long.
    const PhotoImporter::WhenTaken policy = plan[next].whenTaken;
    QStringList files;
    while (next < plan.size() && files.size() < kFilesInHand && plan[next].whenTaken == policy)
      files.append(plan[next++].file);
    PhotoBatchImporter importer(store);
    importer.SetWhenTaken(policy);
    importer.SetDescription(QString());
    importer.Import(files, [&](qsizetype, const QString&, const ImportResult& result) {
      if (result.imported()) ++outcome.imported;
      job.reportProgress(++done);
    });
  }
  outcome.cancelled = job.stopRequested();
  return outcome;
}
}  // namespace

CDropImporter::CDropImporter(FeatureHost& host, QObject* parent) : QObject(parent), m_host(host) {}

void CDropImporter::importFiles(const QStringList& files) {
  if (m_importing) return;
  QWidget* window = m_host.hostWindow();
  Prompter& prompter = m_host.prompter();
  QList<PlannedImport> plan = PlanDropImport(files, m_host.photoStore(), [&](const QString& name) {
    switch (prompter.askYesNoCancel(window, QString::fromLatin1(kTakenOnDrop).arg(name))) {
      case Prompter::Answer::Yes: return TakenChoice::Replace;
      case Prompter::Answer::No: return TakenChoice::KeepBoth;
      default: return TakenChoice::Skip;
    }
  });
  if (plan.isEmpty()) {
    emit finished(0, false);
    return;
  }

  BackgroundTask task;
  task.text = QString::fromLatin1(kImporting);
  task.maximum = int(plan.size());
  task.cancellable = true;
  task.showAfterMs = 0;
  task.progressBox = plan.size() > 1;
  task.waitCursor = plan.size() == 1;
  task.objectName = QStringLiteral("importProgress");
  m_importing = true;
  PhotoStore& store = m_host.photoStore();
  m_host.backgroundRunner().start(
      task, [&store, plan = std::move(plan)](BackgroundJob& job) { return ImportPlanned(store, plan, job); },
      [this](DropOutcome outcome) {
        m_importing = false;
        emit finished(outcome.imported, outcome.cancelled);
      });
}
