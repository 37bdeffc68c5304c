#pragma once

#include <QString>
#include <QStringList>

// A note in the store's folder about a change that moves more than one file: written and
// synced before the first file moves, removed when the object goes. A start that finds
// one (no writer can still be at work: notes live only while the store is locked)
// finishes the change that a kill cut short (see RepairPhotoStore). Hidden, and named so
// that no listing takes it for a photo and no sweep for a temporary.
class StoreNote {
 public:
  StoreNote() = default;
  ~StoreNote();
  StoreNote(const StoreNote&) = delete;
  StoreNote& operator=(const StoreNote&) = delete;

  // Writes the lines (none holding a line break); false when the note is not on disk.
  bool Write(const QString& folder, const QStringList& lines);

  static bool IsNote(const QString& fileName);
  // The lines of a note as written; none when the note was cut short.
  static QStringList Read(const QString& path);

 private:
  QString path_;
};
