#include "web/CRegisterSendPage.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/BackgroundRunner.h"
#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "inet/InternetSession.h"
#include "inet/ServiceRequests.h"
#include "library/Settings.h"
#include "web/AccountPageParts.h"
#include "web/AccountRequests.h"
#include "web/CRegisterDemoPage.h"
#include "web/CRegisterTypePage.h"
#include "web/CRegisterWherePage.h"
#include "web/CServiceAccountWizard.h"

CRegisterSendPage::CRegisterSendPage(CServiceAccountWizard& wizard)
    : CWizardPage(QStringLiteral("Send your registration info."), 203), m_wizard(wizard) {
  m_first = AccountText(QString(), this, 1156);
  m_second = AccountText(QString(), this, 1157);
  m_register = new QPushButton(QStringLiteral("&Register Me"), this);
  m_register->setObjectName(QStringLiteral("1124"));
  auto* statusBox = new QGroupBox(QStringLiteral("Status"), this);
  m_status = new QPlainTextEdit(statusBox);
  m_status->setObjectName(QStringLiteral("1019"));
  m_status->setReadOnly(true);
  auto* statusLayout = new QVBoxLayout(statusBox);
  statusLayout->addWidget(m_status);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_first);
  layout->addWidget(m_second);
  layout->addWidget(m_register, 0, Qt::AlignLeft);
  layout->addWidget(statusBox, 1);
  connect(m_register, &QPushButton::clicked, this, &CRegisterSendPage::registerMe);
}

QString CRegisterSendPage::status() const { return m_status->toPlainText(); }

void CRegisterSendPage::onSetActive() {
  const bool newUser = m_wizard.choice() == CServiceAccountWizard::NewUser;
  m_first->setText(newUser ? QStringLiteral("You're done!  Just click the <Register Me> button and you'll be sending "
                                            "your photos to the web in no time!")
                           : QStringLiteral("You're done!  Just click the <Register Me> button and you'll be "
                                            "retreiving your photos to the web in no time!"));
  m_second->setText(newUser ? QStringLiteral("We will send your information over a secure channel to our web site, "
                                             "then setup your space on our servers for your photos.  Thank you so "
                                             "much for registering.")
                            : QStringLiteral("We will send your information over a secure channel to your PC.  Thank "
                                             "you so much for registering."));
  m_status->clear();
  m_register->setEnabled(true);
  sheet()->setWizardButtons(CWizardSheet::Back);
}

void CRegisterSendPage::onWizardBack() {
  sheet()->setActivePage(m_wizard.choice() == CServiceAccountWizard::ExistingUser
                             ? static_cast<CWizardPage*>(m_wizard.typePage())
                             : static_cast<CWizardPage*>(m_wizard.wherePage()));
}

void CRegisterSendPage::registerMe() {
  m_register->setEnabled(false);
  if (m_wizard.choice() == CServiceAccountWizard::NewUser)
    signUp();
  else
    checkAccount();
}

QString CRegisterSendPage::send(const QString& url, const QString& busyText, QString* errorText) {
  InternetSession* session = m_wizard.host().internetSession();
  if (!session) {
    *errorText = QStringLiteral("Brivane is unable to connect to the Internet.  Please try again.");
    return QString::fromLatin1(kRequestFailed);
  }
  // The wizard's site may trust another certificate than the session was opened with.
  session->setOptions(m_wizard.site().internetOptions());
  BackgroundTask task;
  task.text = busyText;
  task.cancellable = true;
  task.objectName = QStringLiteral("accountRequest");
  return m_wizard.host().backgroundRunner().run(task, [&](BackgroundJob& job) {
    session->setStopCheck([&job] { return job.stopRequested(); });
    QString answer = FetchOnFreshConnection(*session, url, errorText);
    session->setStopCheck({});
    return answer;
  });
}

void CRegisterSendPage::signUp() {
  const QString password = m_wizard.wherePage()->password();
  const QString url = SignUpUrl(m_wizard.site().host, m_wizard.demoPage()->details(), password);
  QString error;
  const QString answer = send(url, QStringLiteral("Sending your registration…"), &error);
  const SignUpResult result = ReadSignUpAnswer(answer, error, url);
  m_status->setPlainText(result.status);
  if (!result.ok) return;
  Settings& settings = m_wizard.host().settings();
  settings.setUserId(result.userId);
  settings.setPassword(password);
  sheet()->setWizardButtons(CWizardSheet::Finish);
}

void CRegisterSendPage::checkAccount() {
  const QString userId = m_wizard.typedUserId();
  const QString password = m_wizard.typedPassword();
  QString error;
  const QString answer = send(AccountCheckUrl(m_wizard.site().host, userId, password),
                              QStringLiteral("Checking your account…"), &error);
  const AccountCheckResult result = ReadAccountCheckAnswer(answer, error);
  if (!result.ok) {
    m_wizard.host().prompter().showError(this, result.message);
    m_register->setEnabled(true);
    sheet()->setActivePage(m_wizard.typePage());
    return;
  }
  m_status->setPlainText(QStringLiteral("Registration complete.  Please click <Finish> to retrieve your photos."));
  Settings& settings = m_wizard.host().settings();
  settings.setUserId(userId);
  settings.setPassword(password);
  sheet()->setWizardButtons(CWizardSheet::Finish);
}
