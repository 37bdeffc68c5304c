#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// Controls the account pages share.

// A word-wrapped text.
QLabel* AccountText(const QString& text, QWidget* parent, int id = 0);
// An edit with its id as object name; a password edit hides what is typed.
QLineEdit* AccountEdit(int id, QWidget* parent, bool password = false);
// The status line (1019) in which a page says what is missing.
QLabel* AccountStatusLine(QWidget* parent);
