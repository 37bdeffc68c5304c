#include "mainwindow/CMainTabControl.h"

#include "mainwindow/CMainTabBar.h"

CMainTabControl::CMainTabControl(QWidget* parent)
    : QTabWidget(parent), m_bar(new CMainTabBar(this)) {
  setTabBar(m_bar);
  setDocumentMode(false);
}

int CMainTabControl::barHeight() const { return m_bar->sizeHint().height(); }
