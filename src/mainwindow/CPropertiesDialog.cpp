#include "mainwindow/CPropertiesDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "controls/OkCancelButtons.h"
#include "library/Settings.h"

namespace {
struct SecurityChoice {
  const char* name;
  const char* text;
  int port;  // the port this security is usually found on
};
const SecurityChoice kSecurity[] = {
    {"none", "None", 25}, {"starttls", "STARTTLS", 587}, {"tls", "TLS", 465}};
}  // namespace

CPropertiesDialog::CPropertiesDialog(const MailPreferences& preferences, QWidget* parent) : QDialog(parent) {
  setObjectName("236");
  setWindowTitle(tr("Properties"));

  m_address = new QLineEdit(preferences.emailAddress, this);
  m_address->setObjectName("1219");
  m_address->setMaxLength(Settings::kPathLimit);
  m_server = new QLineEdit(preferences.emailServer, this);
  m_server->setObjectName("1220");
  m_server->setMaxLength(Settings::kPathLimit);
  m_address->setMinimumWidth(280);
  m_port = new QSpinBox(this);
  m_port->setObjectName("emailPort");
  m_port->setRange(1, 65535);
  m_port->setValue(preferences.port);
  m_security = new QComboBox(this);
  m_security->setObjectName("emailSecurity");
  for (const SecurityChoice& choice : kSecurity)
    m_security->addItem(tr(choice.text), QString::fromLatin1(choice.name));
  m_security->setCurrentIndex(qMax(0, m_security->findData(preferences.security)));
  m_user = new QLineEdit(preferences.user, this);
  m_user->setObjectName("emailUser");
  m_user->setMaxLength(Settings::kAccountLimit);
  m_user->setPlaceholderText(tr("none"));
  m_password = new QLineEdit(preferences.password, this);
  m_password->setObjectName("emailPassword");
  m_password->setEchoMode(QLineEdit::Password);

  auto* group = new QGroupBox(tr("EMail Settings"), this);
  auto* form = new QFormLayout(group);
  const auto row = [group, form](const QString& text, QWidget* field) {
    auto* label = new QLabel(text, group);
    label->setBuddy(field);
    form->addRow(label, field);
  };
  row(tr("Your EMail Address"), m_address);
  row(tr("EMail Server"), m_server);
  row(tr("&Port"), m_port);
  row(tr("&Security"), m_security);
  row(tr("&User name"), m_user);
  row(tr("Pass&word"), m_password);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(OkCancelButtons(this));
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(m_security, &QComboBox::currentIndexChanged, this, &CPropertiesDialog::securityChosen);
}

void CPropertiesDialog::securityChosen() {
  // A port left at another security's usual one follows the new choice.
  for (const SecurityChoice& choice : kSecurity)
    if (m_port->value() == choice.port) {
      m_port->setValue(kSecurity[qMax(0, m_security->currentIndex())].port);
      return;
    }
}

MailPreferences CPropertiesDialog::preferences() const {
  MailPreferences preferences;
  preferences.emailAddress = m_address->text();
  preferences.emailServer = m_server->text();
  preferences.port = m_port->value();
  preferences.security = m_security->currentData().toString();
  preferences.user = m_user->text().trimmed();
  preferences.password = m_password->text();
  return preferences;
}
