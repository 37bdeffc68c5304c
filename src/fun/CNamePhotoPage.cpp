#include "fun/CNamePhotoPage.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "controls/CDescriptionEdit.h"
#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "fun/CFunProjectWizard.h"
#include "fun/CPrintSaveFunPage.h"
#include "img/ltimg.h"
#include "library/PhotoNames.h"
#include "library/PhotoStore.h"
#include "library/PhotoStoreTexts.h"

CNamePhotoPage::CNamePhotoPage(CFunProjectWizard& wizard)
    : CFunProjectPage(wizard, QStringLiteral("Name the Photo"), 225) {
  setViewerTitle(QString());
  auto* nameLabel = new QLabel(QStringLiteral("What would you like to name the photo?"), this);
  m_name = new QLineEdit(this);
  m_name->setObjectName(QStringLiteral("1051"));
  m_name->setMaxLength(kMaxNameLength);
  nameLabel->setBuddy(m_name);
  auto* descriptionLabel = new QLabel(QStringLiteral("You may type a description of the photo if you like."), this);
  descriptionLabel->setWordWrap(true);
  m_description = new CDescriptionEdit(QString(), this);
  m_description->setObjectName(QStringLiteral("1010"));
  descriptionLabel->setBuddy(m_description);
  fields()->addWidget(nameLabel);
  fields()->addWidget(m_name);
  fields()->addWidget(descriptionLabel);
  fields()->addWidget(m_description, 1);
  hint()->setText(QStringLiteral("When you press <Finish> your %1 will be stored in your 'My Photos' folder as a new "
                                 "photo.")
                      .arg(QString::fromLatin1(wizard.info().Name)));
}

void CNamePhotoPage::onSetActive() {
  showPicture(&m_wizard.projectPicture());
  if (sheet()) sheet()->setWizardButtons(CWizardSheet::Back | CWizardSheet::Finish);
  m_name->setFocus();
}

void CNamePhotoPage::onWizardBack() {
  if (m_wizard.choice() == CFunProjectWizard::Choice::SaveOnly)
    sheet()->setActivePage(m_wizard.printSavePage());
  else
    CWizardPage::onWizardBack();
}

bool CNamePhotoPage::onWizardFinish() {
  FeatureHost& host = m_wizard.host();
  const NameCheck check = host.photoStore().CheckName(m_name->text());
  if (!check.accepted()) {
    host.prompter().showError(this, check.Message);
    m_name->setFocus();
    return false;
  }
  // The project goes out through the working picture, as every stored photo does.
  ImageBitmap& working = host.workingPicture();
  working = m_wizard.projectPicture();
  if (m_wizard.project() == FunProject::Calendar) FinishBitmap(working, 0);
  const int result = host.photoStore().StorePhoto(working, check.Name, m_description->text(),
                                                  PhotoStore::Placing::NoReplace);
  if (result == ERROR_FILE_EXISTS) {
    host.prompter().showError(this, QString::fromLatin1(PhotoStoreTexts::kNameTaken).arg(check.Name));
    m_name->setFocus();
    return false;
  }
  if (result != SUCCESS) {
    host.prompter().showError(this, QStringLiteral("Brivane could not store the photo '%1' in the 'My Photos' folder.  %2")
                                        .arg(check.Name, QString::fromLatin1(ResultText(result))));
    return false;
  }
  m_wizard.setStoredName(check.Name);
  return true;
}
