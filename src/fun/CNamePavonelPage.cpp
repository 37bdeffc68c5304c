#include "fun/CNamePavonelPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "fun/CShowBuilderWizard.h"

namespace {
QString WithSlash(const QString& folder) {
  return folder.isEmpty() || folder.endsWith('/') ? folder : folder + '/';
}

// A folder at the end of a sentence: "/" before the full stop reads as a typo.
QString WithoutSlash(const QString& folder) {
  return folder.size() > 1 && folder.endsWith('/') ? folder.chopped(1) : folder;
}
}  // namespace

CNamePavonelPage::CNamePavonelPage(CShowBuilderWizard& wizard)
    : CWizardPage(QStringLiteral("Name Your Slide Show"), 237), m_wizard(wizard) {
  const bool saver = wizard.kind() == ShowKind::ScreenSaver;
  auto* nameQuestion = new QLabel(saver ? QStringLiteral("What would you like to name your screen saver?")
                                        : QStringLiteral("What would you like to name your slide show?"),
                                  this);
  nameQuestion->setObjectName(QStringLiteral("1223"));
  m_name = new QLineEdit(this);
  m_name->setObjectName(QStringLiteral("1051"));
  nameQuestion->setBuddy(m_name);
  auto* folderQuestion = new QLabel(
      saver ? QStringLiteral("Where would you like to save your screen saver?  The default is %1.")
                  .arg(WithoutSlash(wizard.systemFolder()))
            : QStringLiteral("Where would you like to save your slide show?"),
      this);
  folderQuestion->setObjectName(QStringLiteral("1224"));
  folderQuestion->setWordWrap(true);
  m_folderLabel = new QLabel(this);
  m_folderLabel->setObjectName(QStringLiteral("1064"));
  m_folderLabel->setFrameShape(QFrame::StyledPanel);
  m_folderLabel->setFrameShadow(QFrame::Sunken);
  m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_browse = new QPushButton(QStringLiteral("&Browse"), this);
  m_browse->setObjectName(QStringLiteral("1258"));
  m_browse->setAutoDefault(false);
  m_use = new QCheckBox(QStringLiteral("I &want to use this screen saver."), this);
  m_use->setObjectName(QStringLiteral("1225"));
  m_use->setVisible(saver);

  auto* layout = new QGridLayout(this);
  layout->addWidget(nameQuestion, 0, 0, 1, 2);
  layout->addWidget(m_name, 1, 0, 1, 2);
  layout->setRowMinimumHeight(2, 16);
  layout->addWidget(folderQuestion, 3, 0, 1, 2);
  layout->addWidget(m_folderLabel, 4, 0);
  layout->addWidget(m_browse, 4, 1);
  layout->addWidget(m_use, 5, 0, 1, 2);
  layout->setRowStretch(6, 1);
  layout->setColumnStretch(0, 1);

  if (saver) setCaption(QStringLiteral("Name Your Screen Saver"));
  setFolder(saver ? wizard.systemFolder() : wizard.showFolder());
  connect(m_name, &QLineEdit::textChanged, this, &CNamePavonelPage::updateButtons);
  connect(m_browse, &QPushButton::clicked, this, &CNamePavonelPage::browse);
}

QString CNamePavonelPage::showName() const { return m_name->text().trimmed(); }

void CNamePavonelPage::setFolder(const QString& folder) {
  m_folder = WithSlash(folder);
  m_folderLabel->setText(m_folder);
  updateButtons();
}

bool CNamePavonelPage::useAsScreenSaver() const {
  return m_wizard.kind() == ShowKind::ScreenSaver && m_use->isChecked();
}

void CNamePavonelPage::browse() {
  const QString chosen = m_wizard.host().prompter().chooseFolder(
      this, QStringLiteral("Where do you want to save it?"), m_folder);
  if (!chosen.isEmpty()) setFolder(chosen);
}

void CNamePavonelPage::updateButtons() {
  if (!sheet() || sheet()->activePage() != this) return;
  const bool ready = !showName().isEmpty() && !m_folder.isEmpty();
  sheet()->setWizardButtons(CWizardSheet::Back | (ready ? CWizardSheet::Finish : CWizardSheet::DisabledFinish));
}

void CNamePavonelPage::onSetActive() {
  updateButtons();
  m_name->setFocus();
}
