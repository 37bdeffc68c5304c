#pragma once

#include <optional>

#include <QString>

// The stand-in for the current user's registry: an INI file, "registry.ini" in the
// Windows folder, with one section per key ("Control Panel\Desktop") and one entry per
// text value. Key paths and value names are found without regard to case; the value
// with the empty name (a key's default value) is stored as "@". Writes are atomic and the
// file is private to its owner, as for every profile file; a file the profile reader does
// not understand in full is left as it is (see Profile.h): nothing reads from it and
// nothing is stored in it.
class RegistryStore {
 public:
  static QString DefaultFile();

  explicit RegistryStore(QString file = DefaultFile());

  const QString& file() const { return m_file; }

  // The value's text, or nullopt when the key or the value does not exist.
  std::optional<QString> queryValue(const QString& key, const QString& name) const;
  // Creates the key as needed. Value names holding "=" or line breaks are refused.
  bool setValue(const QString& key, const QString& name, const QString& value);
  // True when the value is gone afterwards (also when it never existed).
  bool deleteValue(const QString& key, const QString& name);
  // False when the file exists but is not used; that is noted (TakeProfileNotices).
  bool isUsable() const;

 private:
  QString m_file;
};
