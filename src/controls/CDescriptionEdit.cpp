#include "controls/CDescriptionEdit.h"

#include <QSignalBlocker>
#include <QTextCursor>

#include "library/PhotoNames.h"

CDescriptionEdit::CDescriptionEdit(const QString& text, QWidget* parent)
    : QPlainTextEdit(text, parent) {
  setTabChangesFocus(true);
  connect(this, &QPlainTextEdit::textChanged, this, &CDescriptionEdit::limit);
  limit();
}

void CDescriptionEdit::limit() {
  const QString text = toPlainText();
  if (CharacterCount(text) <= kMaxDescriptionLength) return;
  const QSignalBlocker blocker(this);
  setPlainText(LeftCharacters(text, kMaxDescriptionLength));
  moveCursor(QTextCursor::End);
}
