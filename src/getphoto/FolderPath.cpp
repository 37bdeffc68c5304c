#include "getphoto/FolderPath.h"

#include <QDir>

namespace FolderPath {

QString Clean(const QString& path) {
  if (path.isEmpty()) return QString();
  return QDir::cleanPath(QDir(path).absolutePath());
}

QString Child(const QString& folder, const QString& name) {
  return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QString Parent(const QString& folder) {
  const int slash = int(folder.lastIndexOf('/'));
  if (slash <= 0) return QStringLiteral("/");
  return folder.left(slash);
}

bool IsWithin(const QString& folder, const QString& root) {
  if (folder == root) return true;
  if (root == "/") return folder.startsWith('/');
  return folder.startsWith(root + '/');
}

QStringList StepsBelow(const QString& root, const QString& folder) {
  if (folder == root || !IsWithin(folder, root)) return {};
  const QString rest = folder.mid(root == "/" ? 1 : root.size() + 1);
  return rest.split('/', Qt::SkipEmptyParts);
}

QString Join(const QString& root, const QStringList& steps, int count) {
  QString path = root;
  for (int i = 0; i < count && i < steps.size(); ++i) path = Child(path, steps[i]);
  return path;
}

}  // namespace FolderPath
