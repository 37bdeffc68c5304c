#include "web/RequiredFields.h"

#include <QLineEdit>

void RequiredFields::clear() {
  for (QLineEdit* field : m_marked) field->setStyleSheet(QString());
  m_marked.clear();
}

void RequiredFields::mark(QLineEdit* field) {
  if (isMarked(field)) return;
  field->setStyleSheet(QStringLiteral("QLineEdit { background: rgb(255, 0, 0); }"));
  m_marked.append(field);
}

bool RequiredFields::isMarked(const QLineEdit* field) const {
  return std::find(m_marked.begin(), m_marked.end(), field) != m_marked.end();
}

bool RequiredFields::markIfEmpty(QLineEdit* field) {
  if (!field->text().isEmpty()) return false;
  mark(field);
  return true;
}
