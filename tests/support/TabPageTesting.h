#pragma once

#include <functional>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include "controls/CTabPage.h"

// Lays a tab page's controls out in content (1000 x 700 or so) where the main window's
// frame would put them, and shows it as the current tab.
inline void ShowTabPage(CTabPage& page, QWidget& content) {
  TabPageFrame frame;
  frame.client = content.size();
  frame.page = QRect(230, 40, 760, 650);
  frame.leftColumn = QRect(6, 40, 210, 650);
  const QHash<int, QRect> at = page.layout(frame);
  for (auto it = at.cbegin(); it != at.cend(); ++it)
    if (QWidget* control = page.control(it.key())) control->setGeometry(it.value());
  page.setCurrent(true);
  content.show();
  QCoreApplication::processEvents();
}

// Answers the next modal dialog, which must be a Dialog, with fn once it is up.
template <class Dialog>
void WhenModalOpens(std::function<void(Dialog&)> fn) {
  QTimer::singleShot(0, [fn] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    fn(*dialog);
  });
}
