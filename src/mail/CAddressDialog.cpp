#include "mail/CAddressDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "controls/OkCancelButtons.h"
#include "controls/Prompter.h"
#include "library/EmailAddress.h"
#include "mail/AddressBook.h"

namespace {
const char* const kExampleAddress = "jsmith@myprovider.com";
}

CAddressDialog::CAddressDialog(Prompter& prompter, const QString& name, const QString& address, QWidget* parent)
    : QDialog(parent), m_prompter(prompter) {
  setObjectName(QStringLiteral("212"));
  setWindowTitle(QStringLiteral("Email Address"));
  m_name = new QLineEdit(name, this);
  m_name->setObjectName(QStringLiteral("1051"));
  m_name->setMaxLength(255);
  m_address = new QLineEdit(address, this);
  m_address->setObjectName(QStringLiteral("1112"));
  m_address->setMaxLength(255);
  m_address->setMinimumWidth(320);
  auto* nameLabel = new QLabel(QStringLiteral("Type the person's name"), this);
  nameLabel->setBuddy(m_name);
  auto* addressLabel = new QLabel(
      QStringLiteral("Type their email address.  It must be in the standard Internet format.  i.e. ") +
          QLatin1String(kExampleAddress),
      this);
  addressLabel->setWordWrap(true);
  addressLabel->setBuddy(m_address);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(nameLabel);
  layout->addWidget(m_name);
  layout->addSpacing(6);
  layout->addWidget(addressLabel);
  layout->addWidget(m_address);
  layout->addWidget(OkCancelButtons(this));
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CAddressDialog::accept() {
  const QString name = m_name->text().trimmed();
  const QString address = m_address->text().trimmed();
  QLineEdit* wrong = nullptr;
  if (name.isEmpty()) {
    m_prompter.showError(this, QStringLiteral("Please fill in the person's name."));
    wrong = m_name;
  } else if (address.isEmpty()) {
    m_prompter.showError(this, QStringLiteral("Please fill in the person's Email address."));
    wrong = m_address;
  } else if (!IsValidEmail(address) || !IsStorableAddressBookText(address)) {
    m_prompter.showError(this, QStringLiteral("Your email address needs to be something like '") +
                                   QLatin1String(kExampleAddress) + QLatin1Char('\''));
    wrong = m_address;
  }
  if (wrong) {
    wrong->setFocus();
    return;
  }
  m_nameText = name;
  m_addressText = address;
  QDialog::accept();
}
