#include "web/CRegisterDemoPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "library/EmailAddress.h"
#include "web/AccountPageParts.h"
#include "web/CServiceAccountWizard.h"

namespace {
struct DemoField {
  int id;
  const char* label;
  QString RegistrationDetails::*member;
};
const DemoField kFields[] = {
    {1095, "*First Name", &RegistrationDetails::firstName}, {1096, "*Last Name", &RegistrationDetails::lastName},
    {1097, "*Address", &RegistrationDetails::address1},     {1098, "", &RegistrationDetails::address2},
    {1101, "*City", &RegistrationDetails::city},            {1102, "*State/Prov.", &RegistrationDetails::state},
    {1103, "*Zip/Postal Code", &RegistrationDetails::zip},  {1104, "Country", &RegistrationDetails::country},
    {1109, "*Phone", &RegistrationDetails::phone},          {1110, "Fax", &RegistrationDetails::fax},
    {1111, "Mobile Phone", &RegistrationDetails::mobile},   {1112, "*Your email address", &RegistrationDetails::email},
};
const char* const kContactUs = "We need this information in case we need to contact you about your photo web site.";
}  // namespace

CRegisterDemoPage::CRegisterDemoPage(CServiceAccountWizard&)
    : CWizardPage(QStringLiteral("Please tell us about yourself"), 201) {
  auto* grid = new QGridLayout;
  int row = 0;
  for (const DemoField& demo : kFields) {
    QLineEdit* edit = AccountEdit(demo.id, this);
    edit->setMaxLength(255);
    auto* label = new QLabel(QString::fromLatin1(demo.label), this);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    ++row;
  }
  grid->setColumnStretch(1, 1);
  m_status = AccountStatusLine(this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(m_status);
  layout->addStretch(1);
}

QLineEdit* CRegisterDemoPage::field(int id) const { return findChild<QLineEdit*>(QString::number(id)); }

void CRegisterDemoPage::onSetActive() { sheet()->setWizardButtons(CWizardSheet::Back | CWizardSheet::Next); }

void CRegisterDemoPage::onWizardNext() {
  for (const DemoField& demo : kFields) {
    QLineEdit* edit = field(demo.id);
    edit->setText(edit->text().trimmed());
    m_details.*demo.member = edit->text();
  }
  m_marks.clear();
  m_status->clear();

  if (!m_details.email.isEmpty() && !IsValidEmail(m_details.email)) {
    m_status->setText(QStringLiteral("Your email address needs to be something like 'yourname@yourprovider.com'"));
    return;
  }
  m_marks.markIfEmpty(field(1112));
  for (int required : {1095, 1096, 1097, 1101, 1102, 1103}) m_marks.markIfEmpty(field(required));
  if (m_marks.markIfEmpty(field(1109)) || m_marks.anyMarked()) {
    m_status->setText(QString::fromLatin1(kContactUs));
    return;
  }
  CWizardPage::onWizardNext();
}
