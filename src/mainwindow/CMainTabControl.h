#pragma once

#include <QTabWidget>

class CMainTabBar;

// Tab control 1007: the five main tabs drawn by CMainTabBar. Its pages are empty: the
// controls of each tab are the main window's and lie over the page area.
class CMainTabControl : public QTabWidget {
  Q_OBJECT

 public:
  explicit CMainTabControl(QWidget* parent = nullptr);

  CMainTabBar* mainTabBar() const { return m_bar; }
  int barHeight() const;

 private:
  CMainTabBar* m_bar;
};
