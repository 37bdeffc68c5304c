#include "web/CSendChoiceDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/OkCancelButtons.h"

CSendChoiceDialog::CSendChoiceDialog(const QString& hostName, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("213"));
  setWindowTitle(QStringLiteral("Send your photos to ") + hostName);
  auto* column = new QVBoxLayout(this);
  auto* text = new QLabel(QStringLiteral("Would you like to send all of your photos to ") + hostName +
                              QStringLiteral("?  Or just the ones in your photo album?  If you send them all it will "
                                             "take a little while longer to send them."),
                          this);
  text->setTextFormat(Qt::PlainText);
  text->setWordWrap(true);
  text->setMinimumWidth(380);
  column->addWidget(text);
  m_albumsOnly = new QRadioButton(QStringLiteral("&Only send the photos in my photo albums"), this);
  m_albumsOnly->setObjectName(QStringLiteral("1173"));
  m_all = new QRadioButton(QStringLiteral("Send &all of my photos and photo albums"), this);
  m_all->setObjectName(QStringLiteral("1174"));
  column->addWidget(m_albumsOnly);
  column->addWidget(m_all);
  QDialogButtonBox* buttons = OkCancelButtons(this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancel"));
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setEnabled(false);
  column->addWidget(buttons);
  for (QRadioButton* choice : {m_albumsOnly, m_all})
    connect(choice, &QRadioButton::toggled, ok, [ok] { ok->setEnabled(true); });
}

bool CSendChoiceDialog::sendAll() const { return m_all->isChecked(); }
