#include "system/RegistryStore.h"

#include <utility>

#include "system/Folders.h"
#include "system/Profile.h"

namespace {
// "\Control Panel\Desktop\" and "Control Panel\Desktop" name the same key, and so do
// " \ Control Panel\Desktop \ ": blanks go wherever they meet the ends.
QString Section(const QString& key) {
  QString section = key.trimmed();
  while (section.startsWith('\\') || section.endsWith('\\')) {
    if (section.startsWith('\\')) section.remove(0, 1);
    if (section.endsWith('\\')) section.chop(1);
    section = section.trimmed();
  }
  return section;
}

QString Entry(const QString& name) { return name.isEmpty() ? QStringLiteral("@") : name; }
}  // namespace

QString RegistryStore::DefaultFile() { return GetWindowsFolder() + "registry.ini"; }

RegistryStore::RegistryStore(QString file) : m_file(std::move(file)) {}

std::optional<QString> RegistryStore::queryValue(const QString& key, const QString& name) const {
  return QueryProfileString(m_file, Section(key), Entry(name));
}

bool RegistryStore::setValue(const QString& key, const QString& name, const QString& value) {
  return WriteProfileString(m_file, Section(key), Entry(name), value);
}

bool RegistryStore::deleteValue(const QString& key, const QString& name) {
  return DeleteProfileKey(m_file, Section(key), Entry(name));
}

bool RegistryStore::isUsable() const { return CheckProfileFile(m_file); }
