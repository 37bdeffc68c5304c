#include "mail/CEmailDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>

#include "controls/BackgroundRunner.h"
#include "controls/FeatureHost.h"
#include "controls/OkCancelButtons.h"
#include "controls/OpenInBrowser.h"
#include "controls/Prompter.h"
#include "library/EmailAddress.h"
#include "mail/AddressBook.h"
#include "mail/CAddressBookDialog.h"
#include "mail/CMailSender.h"
#include "mail/MailMessage.h"
#include "mail/Recipients.h"

namespace {
const char* const kExampleAddress = "jsmith@myprovider.com";

// Whether the user gave any text a look of its own; the link alone is no formatting.
bool HoldsFormatting(const QTextDocument& document) {
  const QTextCharFormat plain = QTextCharFormat();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (format.isAnchor()) continue;
      if (format.fontWeight() > QFont::Normal || format.fontItalic() || format.fontUnderline() ||
          format.fontStrikeOut() || format.hasProperty(QTextFormat::ForegroundBrush) ||
          format.hasProperty(QTextFormat::BackgroundBrush) || format.hasProperty(QTextFormat::FontPointSize) ||
          format.hasProperty(QTextFormat::FontFamilies))
        return true;
    }
  }
  return false;
}
}  // namespace

struct CEmailDialog::Outcome {
  bool connected = false;
  QString connectProblem;
  QStringList failed;
  QStringList problems;
};

CEmailDialog::CEmailDialog(FeatureHost& host, MailServer server, const QString& ownAddress, const QString& link,
                           const QString& kind, QWidget* parent)
    : QDialog(parent), m_host(host), m_server(std::move(server)) {
  setObjectName(QStringLiteral("210"));
  setWindowTitle(QStringLiteral("Email"));
  m_link = link;
  m_link.replace(QLatin1Char(' '), QLatin1String("%20"));

  auto* caption = new QLabel(QStringLiteral("Email this %1 to your friends and family.").arg(kind), this);
  caption->setObjectName(QStringLiteral("1160"));
  QFont captionFont = caption->font();
  captionFont.setBold(true);
  caption->setFont(captionFont);
  auto edit = [this](int id, const QString& text) {
    auto* line = new QLineEdit(text, this);
    line->setObjectName(QString::number(id));
    return line;
  };
  m_friends = edit(1233, {});
  m_own = edit(1234, ownAddress);
  m_subject = edit(1235, QStringLiteral("Here's some new photos!"));
  m_message = new QTextEdit(this);
  m_message->setObjectName(QStringLiteral("1162"));
  m_message->setMinimumSize(520, 180);
  m_friends->setMinimumWidth(320);
  m_message->setHtml(QStringLiteral("Click on the link below to see the %1.<br><br><a href=\"%2\">%3</a><br><br>")
                         .arg(kind.toHtmlEscaped(), m_link.toHtmlEscaped(), m_link.toHtmlEscaped()));
  m_message->viewport()->installEventFilter(this);
  auto* book = new QPushButton(QStringLiteral("&Address Book"), this);
  book->setObjectName(QStringLiteral("1163"));
  book->setAutoDefault(false);

  auto* grid = new QGridLayout(this);
  int row = 0;
  grid->addWidget(caption, row++, 0, 1, 3);
  auto label = [this, grid, &row](const char* text, QWidget* field) {
    auto* name = new QLabel(QString::fromLatin1(text), this);
    name->setBuddy(field);
    grid->addWidget(name, row, 0);
    grid->addWidget(field, row++, 1);
  };
  label("Your Friends Email Address", m_friends);
  grid->addWidget(book, row - 1, 2);
  label("Your Email Address", m_own);
  label("Subject", m_subject);
  grid->addWidget(new QLabel(QStringLiteral("Your message"), this), row++, 0, 1, 3);
  grid->addWidget(m_message, row++, 0, 1, 3);
  QDialogButtonBox* buttons = OkCancelButtons(this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Send"));
  grid->addWidget(buttons, row, 0, 1, 3);
  grid->setColumnStretch(1, 1);

  connect(book, &QPushButton::clicked, this, &CEmailDialog::openAddressBook);
}

QString CEmailDialog::ownAddress() const { return m_own->text().trimmed(); }

QString CEmailDialog::formattedMessage() const {
  return HoldsFormatting(*m_message->document()) ? m_message->toHtml() : QString();
}

bool CEmailDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_message->viewport() && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QString anchor = m_message->anchorAt(mouse->position().toPoint());
    if (mouse->button() == Qt::LeftButton && !anchor.isEmpty()) {
      OpenInBrowser(anchor, this, m_host.prompter());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CEmailDialog::openAddressBook() {
  CAddressBookDialog book(m_host.prompter(), AddressBookFile(), this);
  if (book.exec() != QDialog::Accepted) return;
  m_friends->setText(AppendRecipients(m_friends->text(), book.chosenAddresses()));
}

bool CEmailDialog::checkFields(QStringList* recipients) {
  Prompter& prompter = m_host.prompter();
  m_own->setText(m_own->text().trimmed());
  m_friends->setText(m_friends->text().trimmed());
  if (m_own->text().isEmpty()) {
    prompter.showError(this, QStringLiteral("Please type your email address."));
    m_own->setFocus();
    return false;
  }
  if (m_friends->text().isEmpty()) {
    prompter.showError(this, QStringLiteral("Please type the email addresses you are sending this to."));
    m_friends->setFocus();
    return false;
  }
  *recipients = SplitRecipients(m_friends->text());
  for (const QString& recipient : *recipients) {
    if (IsValidEmail(recipient) && IsMailAddress(recipient)) continue;
    prompter.showError(this, QStringLiteral("%1 is not a valid email address.  The email address needs to be "
                                            "something like '%2'")
                                 .arg(recipient, QLatin1String(kExampleAddress)));
    m_friends->setFocus();
    m_friends->setSelection(int(m_friends->text().indexOf(recipient)), int(recipient.size()));
    return false;
  }
  const MailMessage check{m_own->text(), recipients->value(0), m_subject->text(), {}, {}};
  const QString problem = HeaderProblem(check);
  if (!problem.isEmpty()) {
    prompter.showError(this, problem);
    return false;
  }
  return true;
}

CEmailDialog::Outcome CEmailDialog::send(const QStringList& recipients) {
  MailMessage message;
  message.from = m_own->text();
  message.subject = m_subject->text();
  message.text = m_message->toPlainText();
  message.html = formattedMessage();
  BackgroundTask task;
  task.text = QStringLiteral("Sending your email…");
  task.maximum = int(recipients.size());
  task.cancellable = true;
  task.objectName = QStringLiteral("sendingEmail");
  return m_host.backgroundRunner().run(task, [&](BackgroundJob& job) {
    Outcome outcome;
    CMailSender sender;
    sender.setStopCheck([&job] { return job.stopRequested(); });
    outcome.connected = sender.Connect(m_server, &outcome.connectProblem);
    if (!outcome.connected) return outcome;
    for (int i = 0; i < recipients.size(); ++i) {
      MailMessage one = message;
      one.to = recipients[i];
      QString problem;
      if (!sender.Send(one, &problem)) {
        outcome.failed.append(recipients[i]);
        outcome.problems.append(problem);
        if (!sender.connected()) {
          // The conversation is over: the rest were not sent either.
          for (int rest = i + 1; rest < recipients.size(); ++rest) {
            outcome.failed.append(recipients[rest]);
            outcome.problems.append(problem);
          }
          break;
        }
      }
      job.reportProgress(i + 1);
    }
    sender.Quit();
    return outcome;
  });
}

void CEmailDialog::accept() {
  QStringList recipients;
  if (!checkFields(&recipients)) return;
  const Outcome outcome = send(recipients);
  Prompter& prompter = m_host.prompter();
  if (!outcome.connected) {
    prompter.showError(this, QStringLiteral("Brivane is unable to connect to %1 to send email.  Please double check "
                                            "to make sure the %1 is the correct name of your email server.")
                                     .arg(m_server.host) +
                                 (outcome.connectProblem.isEmpty() ? QString()
                                                                   : QStringLiteral("\n\n") + outcome.connectProblem));
    return;
  }
  if (!outcome.failed.isEmpty()) {
    QString text = QStringLiteral("The email could not be sent to:");
    for (int i = 0; i < outcome.failed.size(); ++i)
      text += QStringLiteral("\n%1: %2").arg(outcome.failed[i], outcome.problems[i]);
    prompter.showError(this, text);
    // Only those who did not get it are left, so that Send again reaches just them.
    m_friends->setText(outcome.failed.join(QLatin1Char(';')) + QLatin1Char(';'));
    return;
  }
  QDialog::accept();
}
