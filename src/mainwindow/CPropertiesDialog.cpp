#include "mainwindow/CPropertiesDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/OkCancelButtons.h"
#include "library/Settings.h"

CPropertiesDialog::CPropertiesDialog(const QString& emailAddress, const QString& emailServer,
                                     QWidget* parent)
    : QDialog(parent) {
  setObjectName("236");
  setWindowTitle(tr("Properties"));

  m_address = new QLineEdit(emailAddress, this);
  m_address->setObjectName("1219");
  m_address->setMaxLength(Settings::kPathLimit);
  m_server = new QLineEdit(emailServer, this);
  m_server->setObjectName("1220");
  m_server->setMaxLength(Settings::kPathLimit);
  m_address->setMinimumWidth(280);

  auto* group = new QGroupBox(tr("EMail Settings"), this);
  auto* form = new QFormLayout(group);
  auto* addressLabel = new QLabel(tr("Your EMail Address"), group);
  addressLabel->setBuddy(m_address);
  auto* serverLabel = new QLabel(tr("EMail Server"), group);
  serverLabel->setBuddy(m_server);
  form->addRow(addressLabel, m_address);
  form->addRow(serverLabel, m_server);

  QDialogButtonBox* buttons = OkCancelButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CPropertiesDialog::emailAddress() const { return m_address->text(); }

QString CPropertiesDialog::emailServer() const { return m_server->text(); }
