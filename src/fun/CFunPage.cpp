#include "fun/CFunPage.h"

#include "controls/CPictureListBox.h"
#include "controls/FeatureHost.h"
#include "fun/CFunProjectWizard.h"
#include "fun/FunActivities.h"
#include "fun/FunProjects.h"
#include "library/PhotoListModel.h"
#include "fun/CShowBuilderWizard.h"
#include "system/Folders.h"

CFunPage::CFunPage(FeatureHost& host, QWidget* content, QObject* parent)
    : CTabPage(content, parent), m_host(host) {
  m_model = new PhotoListModel(this);
  m_list = addControl(new CPictureListBox(content), 1071);
  m_list->setModel(m_model);
  // Wide enough for "Create a Magazine Cover" on one or two lines.
  m_list->setColumnWidth(qMax(m_list->columnWidth(), 160));
  connect(m_list, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { startActivity(index.row()); });
  FillFunList(*m_model, GetProgramFolder());
}

QString CFunPage::tabText() const { return QStringLiteral("Fun"); }
QString CFunPage::tabPicture() const { return QStringLiteral("fun.gif"); }
QString CFunPage::instructions() const {
  return QStringLiteral("Just double click on the fun activity you want to do.");
}

QHash<int, QRect> CFunPage::layout(const TabPageFrame& frame) const { return {{1071, frame.page}}; }

void CFunPage::startActivity(int row) {
  if (const std::optional<FunProject> project = ProjectForFunRow(row)) {
    CFunProjectWizard::Run(m_host, *project, true, m_host.hostWindow());
    return;
  }
  if (row != kFunSlideShow && row != kFunScreenSaver) return;
  CShowBuilderWizard::Run(m_host, row == kFunSlideShow ? ShowKind::SlideShow : ShowKind::ScreenSaver,
                          m_host.hostWindow());
}
