#pragma once

#include <QPlainTextEdit>

// The description box of the naming pages and Edit Comment: several lines of text, cut
// at the description limit as the user types or pastes (counted in characters). Tab
// moves on to the next control.
class CDescriptionEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit CDescriptionEdit(const QString& text = QString(), QWidget* parent = nullptr);

  QString text() const { return toPlainText(); }

 private:
  void limit();
};
