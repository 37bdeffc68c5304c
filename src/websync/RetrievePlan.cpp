#include "websync/RetrievePlan.h"

#include <QFileInfo>
#include <QSet>

namespace {

constexpr int kMaxNumberedName = 999;

// A listing without a readable time leaves the size to judge by: the file could never
// match otherwise, and each run would store the web's copy again beside it.
bool SameFile(const FileEntry& a, const FileEntry& b) {
  return a.size == b.size && (!a.lastWrite.isValid() || !b.lastWrite.isValid() ||
                              a.lastWrite.toSecsSinceEpoch() == b.lastWrite.toSecsSinceEpoch());
}

struct Pair {
  QString stem;                 // the photo's stem on the web
  QList<const FileEntry*> files;  // the photo (first, when there is one) and its thumbnail
};

// "Beach.jpg" and "Beach_tn.jpg" share the stem "Beach"; a "_tn" file without its photo
// stands alone.
QString PairStem(const FileEntry& file, const QList<FileEntry>& remote) {
  const QString stem = QFileInfo(file.name).completeBaseName();
  if (stem.endsWith(QLatin1String("_tn")) && file.name.endsWith(QLatin1String("_tn.jpg")) &&
      FindEntry(remote, stem.chopped(3) + QStringLiteral(".jpg")))
    return stem.chopped(3);
  return stem;
}

// The file's name under another stem: "Beach.jpg" -> "Beach (2).jpg".
QString Restemmed(const QString& name, const QString& stem, const QString& newStem) {
  return newStem + name.mid(stem.size());
}

}  // namespace

RetrievePlan PlanRetrieve(const QList<FileEntry>& remote, const QList<FileEntry>& local, bool replaceOlder) {
  RetrievePlan plan;
  QList<Pair> pairs;
  QHash<QString, int> pairOf;
  for (const FileEntry& file : remote) {
    // Hidden names are never photos: transfers of the server's or ours still under way.
    if (file.name.startsWith(QLatin1Char('.'))) continue;
    const QString stem = PairStem(file, remote);
    auto at = pairOf.constFind(stem);
    if (at == pairOf.constEnd()) {
      at = pairOf.insert(stem, int(pairs.size()));
      pairs.append(Pair{stem, {}});
    }
    pairs[*at].files.append(&file);
  }

  QSet<QString> taken;
  for (const FileEntry& file : local) taken.insert(file.name);
  QHash<const FileEntry*, QString> targets;
  for (const Pair& pair : pairs) {
    bool clash = false;
    bool allHere = true;
    bool webNewer = true;
    for (const FileEntry* file : pair.files) {
      const FileEntry* here = FindEntry(local, file->name);
      if (!here) {
        allHere = false;
        continue;
      }
      if (SameFile(*here, *file)) continue;
      allHere = false;
      clash = true;
      if (file->lastWrite <= here->lastWrite) webNewer = false;
    }
    if (allHere) {
      plan.alreadyHere += int(pair.files.size());
      continue;
    }
    QString stem = pair.stem;
    if (clash && !(replaceOlder && webNewer)) {
      stem.clear();
      for (int number = 2; number <= kMaxNumberedName && stem.isEmpty(); ++number) {
        const QString candidate = pair.stem + QStringLiteral(" (%1)").arg(number);
        bool free = true;
        for (const FileEntry* file : pair.files)
          free = free && !taken.contains(Restemmed(file->name, pair.stem, candidate)) &&
                 IsSafeFileName(Restemmed(file->name, pair.stem, candidate));
        if (free) stem = candidate;
      }
      if (stem.isEmpty()) {
        plan.noFreeName.append(pair.files.first()->name);
        continue;
      }
      plan.renamedStems.insert(pair.stem, stem);
    }
    for (const FileEntry* file : pair.files) {
      const QString target = Restemmed(file->name, pair.stem, stem);
      // What is here already, the same file, stays as it is.
      if (const FileEntry* here = FindEntry(local, target); here && SameFile(*here, *file)) {
        ++plan.alreadyHere;
        continue;
      }
      targets.insert(file, target);
      taken.insert(target);
    }
  }
  for (const FileEntry& file : remote)
    if (targets.contains(&file)) plan.receive.append(RetrieveItem{file, targets.value(&file)});
  return plan;
}
