#pragma once

#include <QMap>
#include <QString>

// Comment types 0 to 173; only the description is ever written into files.
constexpr int COMMENT_DESCRIPTION = 3;
constexpr int COMMENT_TYPE_COUNT = 174;

// The comments one save writes into its file, by comment type. Passed with the save, so
// saves running at the same time never see each other's comments.
class SaveComments {
 public:
  SaveComments() = default;
  // Comments holding only the description (none at all when it is empty).
  static SaveComments Description(const QString& text);

  // Sets (or, with an empty text, clears) the comment of that type.
  int Set(int type, const QString& text);
  // "" for a type without a comment or out of range.
  QString Get(int type) const;
  bool IsEmpty() const { return texts_.isEmpty(); }

  friend bool operator==(const SaveComments&, const SaveComments&) = default;

 private:
  QMap<int, QString> texts_;
};
