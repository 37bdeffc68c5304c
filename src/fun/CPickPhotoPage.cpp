#include "fun/CPickPhotoPage.h"

#include <QLabel>
#include <QVBoxLayout>

#include "controls/BackgroundRunner.h"
#include "controls/CPictureListBox.h"
#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "editing/DialogParts.h"
#include "fun/CFunProjectWizard.h"
#include "krn/ltkrn.h"
#include "library/PhotoListModel.h"
#include "library/PhotoNames.h"
#include "library/PhotoStore.h"

CPickPhotoPage::CPickPhotoPage(CFunProjectWizard& wizard)
    : CWizardPage(QStringLiteral("Pick a Photo"), 226), m_wizard(wizard) {
  // A copy of the list as it is now: the photos keep their places while the user picks.
  m_photos = new PhotoListModel(this);
  const PhotoListModel& photos = wizard.host().photoList();
  for (int row = 0; row < photos.count(); ++row) m_photos->append(photos.text(row), photos.item(row));
  m_list = new CPictureListBox(this);
  m_list->setObjectName(QStringLiteral("1070"));
  m_list->setModel(m_photos);
  m_text = Named(HintLabel(this), 1038);
  m_text->setText(QStringLiteral("Choose the photo you want to place in a %1.").arg(QString::fromLatin1(wizard.info().Name)));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_text);
  layout->addWidget(m_list, 1);
  connect(m_list, &QAbstractItemView::doubleClicked, this, [this] {
    if (sheet()) sheet()->pressNext();
  });
}

void CPickPhotoPage::onSetActive() {
  if (sheet()) sheet()->setWizardButtons(CWizardSheet::Next);
}

void CPickPhotoPage::onWizardNext() {
  const int row = m_list->currentRow();
  FeatureHost& host = m_wizard.host();
  if (row < 0) {
    host.prompter().showMessage(this, QStringLiteral("Please select a photo."));
    return;
  }
  const QString stem = m_photos->text(row);
  const PhotoStore& store = host.photoStore();
  BackgroundTask task;
  task.text = QStringLiteral("Opening the photo...");
  task.objectName = QStringLiteral("openPhotoProgress");
  auto [result, picture] = host.backgroundRunner().run(task, [&store, stem](BackgroundJob&) {
    ImageBitmap loaded;
    const int code = store.LoadPhoto(loaded, stem);
    return std::make_pair(code, std::move(loaded));
  });
  if (result != SUCCESS) {
    host.prompter().showError(this, QStringLiteral("The photo '%1' could not be opened: %2")
                                        .arg(NameForStem(stem), QString::fromUtf8(ResultText(result))));
    return;
  }
  host.workingPicture() = std::move(picture);
  CWizardPage::onWizardNext();
}
