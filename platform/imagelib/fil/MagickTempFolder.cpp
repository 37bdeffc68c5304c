#include "fil/MagickTempFolder.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cstdlib>

MagickTempFolder::MagickTempFolder() {
  const char* root = std::getenv("TMPDIR");
  QByteArray pattern = root != nullptr && *root != '\0' ? QByteArray(root) : QByteArray("/tmp");
  if (!pattern.endsWith('/')) pattern += '/';
  pattern += "brivane-magick-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return;
  path_ = QFile::decodeName(pattern);
  owner_ = ::getpid();
  guard_.emplace(path_, RemoveOnSignal::Kind::Folder);
}

MagickTempFolder::~MagickTempFolder() {
  if (path_.isEmpty() || ::getpid() != owner_) return;
  guard_.reset();
  QDir folder(path_);
  for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
    folder.remove(name);
  folder.rmdir(path_);
}
