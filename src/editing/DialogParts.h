#pragma once

#include <QLabel>
#include <QString>

// Small pieces the editing dialogs share.

// A hint or description text on the light-yellow hint background.
inline QLabel* HintLabel(QWidget* parent) {
  auto* hint = new QLabel(parent);
  hint->setWordWrap(true);
  hint->setMargin(4);
  hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  hint->setAutoFillBackground(true);
  QPalette colours = hint->palette();
  colours.setColor(QPalette::Window, QColor(255, 255, 128));
  colours.setColor(QPalette::WindowText, Qt::black);
  hint->setPalette(colours);
  return hint;
}

// The control, named by its id as every control the program's dialogs name.
template <class Widget>
Widget* Named(Widget* widget, int id) {
  widget->setObjectName(QString::number(id));
  return widget;
}
