#include "controls/CTabPage.h"

#include <QWidget>

#include "controls/CommandState.h"
#include "controls/PictureEditTarget.h"

CTabPage::CTabPage(QWidget* content, QObject* parent) : QObject(parent), m_content(content) {}

void CTabPage::addCommandState(CommandState&) const {}

bool CTabPage::onCommand(int) { return false; }

void CTabPage::setCurrent(bool current) {
  for (QWidget* control : std::as_const(m_controls)) control->setVisible(current);
}

void CTabPage::registerControl(QWidget* control, int id) {
  control->setObjectName(QString::number(id));
  control->hide();
  m_controls.insert(id, control);
}

std::unique_ptr<PictureEditTarget> CTabPage::editTarget(int) { return nullptr; }
