#include "getphoto/DropImportPlan.h"

#include <QSet>

#include "krn/ImageBitmap.h"
#include "library/PhotoNames.h"
#include "library/PhotoStore.h"

QList<PlannedImport> PlanDropImport(const QStringList& files, PhotoStore& store,
                                    const std::function<TakenChoice(const QString& name)>& ask) {
  QList<PlannedImport> plan;
  QSet<QString> dropped;  // stems earlier files of this drop are stored under
  ImageBitmap unused;
  // Only the file checks are used, which touch neither the store nor the bitmap.
  PhotoImporter checker(store, unused);
  checker.SetWhenTaken(PhotoImporter::WhenTaken::Replace);
  for (const QString& file : files) {
    ImportResult result;
    if (!checker.CheckFile(file, result)) continue;
    const QString stem = StemForName(result.Name);
    PlannedImport planned{file, PhotoImporter::WhenTaken::Skip};
    // A name whose files are another photo's is refused whatever the answer: no question.
    const bool clashes = !store.ClashingPhoto(stem).isEmpty();
    if (!clashes && (store.HasFilesFor(stem) || dropped.contains(stem))) {
      switch (ask(result.Name)) {
        case TakenChoice::Replace: planned.whenTaken = PhotoImporter::WhenTaken::Replace; break;
        case TakenChoice::KeepBoth: planned.whenTaken = PhotoImporter::WhenTaken::Rename; break;
        case TakenChoice::Skip: continue;
      }
    }
    if (planned.whenTaken != PhotoImporter::WhenTaken::Rename) dropped.insert(stem);
    plan.append(planned);
  }
  return plan;
}
