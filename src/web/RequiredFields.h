#pragma once

#include <QList>

class QLineEdit;

// The account pages paint the boxes of required fields left empty red until the user
// tries again.
class RequiredFields {
 public:
  // Clears every mark.
  void clear();
  void mark(QLineEdit* field);
  bool anyMarked() const { return !m_marked.isEmpty(); }
  bool isMarked(const QLineEdit* field) const;
  // Marks the field when its text is empty; true when it did.
  bool markIfEmpty(QLineEdit* field);

 private:
  QList<QLineEdit*> m_marked;
};
