#pragma once

#include <QString>
#include <QStringList>

// The file browser's folder paths: absolute, "/"-separated, without a trailing "/" except
// the root folder "/" itself.
namespace FolderPath {

// path made absolute and clean ("a/../b" → "b"; "/x/" → "/x").
QString Clean(const QString& path);
// folder + "/" + name.
QString Child(const QString& folder, const QString& name);
// The folder above; the root stays the root.
QString Parent(const QString& folder);
// Whether folder is root or lies inside it.
bool IsWithin(const QString& folder, const QString& root);
// The names leading from root down to folder ("/home/ann/Pictures" below "/" →
// home, ann, Pictures); empty when folder is root or outside it.
QStringList StepsBelow(const QString& root, const QString& folder);
// root followed by the first `count` steps.
QString Join(const QString& root, const QStringList& steps, int count);

}  // namespace FolderPath
