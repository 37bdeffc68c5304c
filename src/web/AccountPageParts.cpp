#include "web/AccountPageParts.h"

#include <QLabel>
#include <QLineEdit>

QLabel* AccountText(const QString& text, QWidget* parent, int id) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  if (id) label->setObjectName(QString::number(id));
  return label;
}

QLineEdit* AccountEdit(int id, QWidget* parent, bool password) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::number(id));
  if (password) edit->setEchoMode(QLineEdit::Password);
  return edit;
}

QLabel* AccountStatusLine(QWidget* parent) {
  QLabel* status = AccountText(QString(), parent, 1019);
  QPalette colours = status->palette();
  colours.setColor(QPalette::WindowText, QColor(160, 0, 0));
  status->setPalette(colours);
  return status;
}
