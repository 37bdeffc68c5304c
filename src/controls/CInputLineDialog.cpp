#include "controls/CInputLineDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/OkCancelButtons.h"
#include "controls/Prompter.h"

namespace {
constexpr char kNothingEntered[] = "You did not enter anything.  Please enter the %1.";
}  // namespace

CInputLineDialog::CInputLineDialog(Prompter& prompter, const QString& caption,
                                   const QString& prompt, const QString& text, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_caption(caption) {
  setObjectName(QStringLiteral("195"));
  setWindowTitle(caption.isEmpty() ? QStringLiteral("Input Line") : caption);

  m_prompt = new QLabel(prompt, this);
  m_prompt->setObjectName(QStringLiteral("1014"));
  m_prompt->setWordWrap(true);
  m_edit = new QLineEdit(text, this);
  m_edit->setObjectName(QStringLiteral("1086"));
  m_edit->selectAll();
  m_prompt->setBuddy(m_edit);

  QDialogButtonBox* buttons = OkCancelButtons(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_prompt);
  layout->addWidget(m_edit);
  layout->addWidget(buttons);
  setMinimumWidth(320);
  m_edit->setFocus();
}

QString CInputLineDialog::text() const { return m_edit->text(); }

void CInputLineDialog::setMaxLength(int maxLength) {
  m_edit->setMaxLength(maxLength > 0 ? maxLength : 32767);
}

void CInputLineDialog::accept() {
  if (m_edit->text().isEmpty()) {
    m_prompter.showError(this, QString::fromLatin1(kNothingEntered).arg(m_caption));
    m_edit->setFocus();
    return;
  }
  QDialog::accept();
}
