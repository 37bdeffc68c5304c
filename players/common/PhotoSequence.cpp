#include "common/PhotoSequence.h"

#include <QDir>
#include <QFileInfo>

QStringList PhotoSequence::inFolder(const QString& folder) {
  QStringList photos;
  for (int i = 0;; ++i) {
    const QString path = folder + QStringLiteral("photo%1.jpg").arg(i);
    if (!QFileInfo(path).isFile()) break;
    photos.append(path);
  }
  return photos;
}

QString PhotoSequence::programFolder() {
  const QFileInfo self(QStringLiteral("/proc/self/exe"));
  const QString target = self.canonicalFilePath();
  if (!target.isEmpty()) return QFileInfo(target).absolutePath() + QLatin1Char('/');
  return QDir::currentPath() + QLatin1Char('/');
}

QStringList PhotoSequence::besideProgram() {
  const QStringList photos = inFolder(programFolder());
  if (!photos.isEmpty()) return photos;
  return inFolder(QDir::currentPath() + QLatin1Char('/'));
}
