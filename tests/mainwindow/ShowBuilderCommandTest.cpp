#include <QApplication>
#include <QTimer>

#include "MainWindowFixture.h"
#include "fun/CFunPage.h"
#include "controls/CPictureListBox.h"
#include "fun/CNamePavonelPage.h"
#include "fun/CShowBuilderWizard.h"
#include "library/PhotoListModel.h"

namespace {

// The title of the modal window that a double click on the Fun list's row opens.
QString OpenedByFunRow(CMainDialog& window, int row) {
  QString title;
  QTimer::singleShot(0, &window, [&title] {
    if (auto* wizard = qobject_cast<CShowBuilderWizard*>(QApplication::activeModalWidget())) {
      title = wizard->windowTitle() + " / " + wizard->namePage()->caption();
      wizard->reject();
    }
  });
  emit window.fun().funList()->doubleClicked(window.fun().funModel().index(row, 0));
  return title;
}

TEST_F(MainWindowFixture, TheFunListStartsTheShowBuilders) {
  auto window = makeWindow();
  window->show();
  EXPECT_EQ(OpenedByFunRow(*window, 4), "Slide Show / Name Your Slide Show");
  EXPECT_EQ(OpenedByFunRow(*window, 5), "Slide Show / Name Your Screen Saver");
}

}  // namespace
