#include "getphoto/CNamePage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "controls/FeatureHost.h"
#include "controls/CDescriptionEdit.h"
#include "controls/CPicturePreview.h"
#include "controls/ProgramCursors.h"
#include "controls/Prompter.h"
#include "getphoto/CGetPhotoWizard.h"
#include "getphoto/CPickFilePage.h"
#include "getphoto/TemporaryPicture.h"
#include "krn/ResultCodes.h"
#include "library/PhotoNames.h"
#include "library/PhotoStore.h"
#include "library/PhotoStoreTexts.h"
#include "library/Settings.h"

namespace {
constexpr int kHandCursor = 172;
}

CNamePage::CNamePage(CGetPhotoWizard& wizard)
    : CWizardPage(QStringLiteral("Name the Photo"), 171), m_wizard(wizard) {
  m_name = new QLineEdit(this);
  m_name->setObjectName(QStringLiteral("1051"));
  m_name->setMaxLength(kMaxNameLength);
  auto* nameLabel = new QLabel(QStringLiteral("&Name:"), this);
  nameLabel->setBuddy(m_name);
  m_description = new CDescriptionEdit(QString(), this);
  m_description->setObjectName(QStringLiteral("1010"));
  auto* descriptionLabel = new QLabel(QStringLiteral("&Description:"), this);
  descriptionLabel->setBuddy(m_description);
  m_another = new QCheckBox(QStringLiteral("&Get another photo"), this);
  m_another->setObjectName(QStringLiteral("1000"));
  m_message = new QLabel(this);
  m_message->setObjectName(QStringLiteral("1054"));
  m_message->setWordWrap(true);

  m_preview = new CPicturePreview(this);
  m_preview->setObjectName(QStringLiteral("1006"));
  m_preview->setDisplayMode(CPicturePreview::Fit);
  m_preview->setFixedSize(200, 200);
  m_preview->setCursor(ProgramCursor(kHandCursor));
  m_preview->installEventFilter(this);
  auto* previewBox = new QGroupBox(QStringLiteral("Preview"), this);
  auto* previewLayout = new QVBoxLayout(previewBox);
  previewLayout->addWidget(m_preview, 0, Qt::AlignCenter);
  previewLayout->addStretch(1);

  auto* fields = new QVBoxLayout;
  fields->addWidget(nameLabel);
  fields->addWidget(m_name);
  fields->addWidget(descriptionLabel);
  fields->addWidget(m_description, 1);
  fields->addWidget(m_another);
  fields->addWidget(m_message);
  auto* layout = new QGridLayout(this);
  layout->addLayout(fields, 0, 0);
  layout->addWidget(previewBox, 0, 1);
  layout->setColumnStretch(0, 1);

  connect(m_another, &QCheckBox::toggled, this, &CNamePage::updateButtons);
}

CNamePage::~CNamePage() { m_preview->setPicture(nullptr); }

QString CNamePage::Message(bool another) {
  return QStringLiteral(
             "When you press <%1> your photo will be stored in your 'My Photos' folder on the "
             "main window.  ***If you want to see the full size photo just click on it.")
      .arg(another ? QStringLiteral("Next") : QStringLiteral("Finish"));
}

void CNamePage::setProposedName(const QString& name) { m_name->setText(name); }

void CNamePage::updateButtons() {
  const bool another = m_another->isChecked();
  m_message->setText(Message(another));
  if (sheet() && sheet()->activePage() == this)
    sheet()->setWizardButtons(CWizardSheet::Back |
                              (another ? CWizardSheet::Next : CWizardSheet::Finish));
}

void CNamePage::onSetActive() {
  m_preview->setPicture(&m_wizard.host().workingPicture());
  updateButtons();
  m_name->setFocus();
  m_name->selectAll();
}

void CNamePage::onKillActive() {
  // The working bitmap becomes the thumbnail when stored: the preview lets go of it.
  m_preview->setPicture(nullptr);
  RemoveTemporaryPicture();
}

void CNamePage::onWizardBack() {
  sheet()->setActivePage(m_source ? m_source : m_wizard.pickPage());
}

void CNamePage::onWizardNext() {
  if (!store()) return;
  sheet()->setActivePage(sheet()->page(0));
}

bool CNamePage::onWizardFinish() { return store(); }

bool CNamePage::store() {
  FeatureHost& host = m_wizard.host();
  const NameCheck check = host.photoStore().CheckName(m_name->text());
  if (!check.accepted()) {
    host.prompter().showError(this, check.Message);
    if (check.Verdict != NameVerdict::Empty) m_name->setFocus();
    return false;
  }
  // The name was free when checked; another program storing under it meanwhile keeps its photo.
  const int result = host.photoStore().StorePhoto(host.workingPicture(), check.Name,
                                                  m_description->text(), PhotoStore::Placing::NoReplace);
  if (result == ERROR_FILE_EXISTS) {
    host.prompter().showError(this, QString::fromLatin1(PhotoStoreTexts::kNameTaken).arg(check.Name));
    m_name->setFocus();
    return false;
  }
  if (result != SUCCESS) {
    // The picture is still in the working bitmap: the user can try again or cancel.
    host.prompter().showError(this, QStringLiteral("Brivane could not store the photo '%1' in "
                                                 "the 'My Photos' folder.  %2")
                                      .arg(check.Name, QString::fromLatin1(ResultText(result))));
    return false;
  }
  host.settings().setLastFolderRead(m_wizard.pickPage()->currentFolder());
  m_wizard.countStored();
  return true;
}

bool CNamePage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_preview && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    FeatureHost& host = m_wizard.host();
    if (host.workingPicture().hasPixels()) host.viewFullSize(host.workingPicture(), QString());
    return true;
  }
  return CWizardPage::eventFilter(watched, event);
}
