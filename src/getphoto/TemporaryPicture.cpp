#include "getphoto/TemporaryPicture.h"

#include <unistd.h>

#include <QDir>
#include <QFile>

QString TemporaryPicturePath() {
  return QDir::tempPath() + QString("/brivane-%1/tmp.jpg").arg(getuid());
}

bool RemoveTemporaryPicture() {
  const QString path = TemporaryPicturePath();
  return !QFile::exists(path) || QFile::remove(path);
}
