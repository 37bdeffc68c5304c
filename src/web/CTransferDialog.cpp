#include "web/CTransferDialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "web/TransferState.h"

namespace {
QString Percent(qint64 part, qint64 whole) {
  return QStringLiteral("%1%").arg(whole > 0 ? int(part * 100 / whole) : 0);
}
}  // namespace

CTransferDialog::CTransferDialog(const TransferDialogTexts& texts, QWidget* parent)
    : QDialog(parent), m_texts(texts), m_state(std::make_shared<TransferState>()) {
  setObjectName(QString::number(texts.dialogId));
  setWindowTitle(texts.title);
  auto* grid = new QGridLayout(this);
  grid->setColumnMinimumWidth(1, 120);
  grid->setColumnStretch(2, 1);
  int row = 0;
  QLabel* thanks = addValue(0, {}, texts.thanks);
  QFont bold = thanks->font();
  bold.setBold(true);
  thanks->setFont(bold);
  grid->addWidget(thanks, row++, 0, 1, 3);
  grid->addItem(new QSpacerItem(0, 8), row++, 0);
  const auto value = [&](int id, const QString& label) {
    grid->addWidget(addValue(0, {}, label), row, 0);
    grid->addWidget(addValue(id, label, QStringLiteral("0")), row++, 1);
  };
  value(1129, texts.filesLabel);
  value(texts.filesDoneId, texts.filesDoneLabel);
  value(1137, texts.bytesLabel);
  value(1139, texts.bytesDoneLabel);
  grid->addItem(new QSpacerItem(0, 8), row++, 0);
  grid->addWidget(addValue(1140, {}, texts.actionCaption), row++, 0, 1, 3);
  QLabel* action = addValue(1128, {}, {});
  action->setMinimumWidth(380);
  action->setFrameShape(QFrame::StyledPanel);
  grid->addWidget(action, row++, 0, 1, 3);
  const auto bar = [&](int barId, int labelId, int textId, const QString& label) {
    grid->addWidget(addValue(labelId, {}, label), row++, 0, 1, 3);
    auto* progress = new QProgressBar(this);
    progress->setObjectName(QString::number(barId));
    progress->setRange(0, 100);
    progress->setValue(0);
    progress->setTextVisible(false);
    m_controls.insert(barId, progress);
    grid->addWidget(progress, row, 0, 1, 2);
    grid->addWidget(addValue(textId, {}, QStringLiteral("0% Complete")), row++, 2);
  };
  if (texts.totalBar) bar(1120, 1142, 1141, QStringLiteral("Total Progress"));
  bar(1119, 1134, 1131, texts.fileBarLabel);
  grid->addWidget(addValue(1135, {}, {}), row++, 0, 1, 3);

  m_stopButton = new QPushButton(QStringLiteral("&Stop"), this);
  m_stopButton->setObjectName(QStringLiteral("1127"));
  m_closeButton = new QPushButton(QStringLiteral("&Close"), this);
  m_closeButton->setObjectName(QStringLiteral("1"));
  m_closeButton->setEnabled(false);
  m_controls.insert(1127, m_stopButton);
  m_controls.insert(1, m_closeButton);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  buttons->addWidget(m_stopButton);
  buttons->addWidget(m_closeButton);
  grid->addLayout(buttons, row, 0, 1, 3);
  connect(m_stopButton, &QPushButton::clicked, this, &CTransferDialog::stop);
  connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);

  m_poll = new QTimer(this);
  m_poll->setInterval(100);
  connect(m_poll, &QTimer::timeout, this, &CTransferDialog::refresh);
  // The run starts once the dialog is on screen.
  QTimer::singleShot(250, this, [this] {
    m_stop = startRun();
    m_poll->start();
  });
}

CTransferDialog::~CTransferDialog() {
  if (m_stop) m_stop();
}

QLabel* CTransferDialog::addValue(int id, const QString&, const QString& value) {
  auto* label = new QLabel(value, this);
  // Names of files are no markup.
  label->setTextFormat(Qt::PlainText);
  if (id) {
    label->setObjectName(QString::number(id));
    m_controls.insert(id, label);
  }
  return label;
}

void CTransferDialog::refresh() {
  const TransferState::Snapshot now = m_state->take();
  const auto text = [this](int id, const QString& value) {
    if (auto* label = qobject_cast<QLabel*>(m_controls.value(id))) label->setText(value);
  };
  const auto bar = [this](int id, int value) {
    if (auto* progress = qobject_cast<QProgressBar*>(m_controls.value(id))) progress->setValue(value);
  };
  text(1128, now.action);
  if (now.files >= 0) {
    text(1129, QString::number(now.files));
    text(1137, QString::number(now.bytes));
  }
  text(m_texts.filesDoneId, QString::number(now.filesDone));
  text(1139, QString::number(now.bytesDone));
  if (m_texts.totalBar) {
    bar(1120, now.bytes > 0 ? int(now.bytesDone * 100 / now.bytes) : 0);
    text(1141, Percent(now.bytesDone, now.bytes));
  }
  if (now.fileSize >= 0) {
    bar(1119, now.fileSize > 0 ? int(now.fileBytes * 100 / now.fileSize) : 100);
    text(1131, Percent(now.fileBytes, now.fileSize));
    text(1135, m_texts.statusFormat.arg(now.fileBytes).arg(now.fileSize));
  } else if (m_stop) {
    text(1131, {});
    text(1135, {});
  }
  for (const QString& problem : now.problems) {
    setStatus(problem);
    if (!m_problems.contains(problem)) m_problems.append(problem);
  }
}

void CTransferDialog::setStatus(const QString& text) {
  if (auto* label = qobject_cast<QLabel*>(m_controls.value(1135))) label->setText(text);
}

void CTransferDialog::stop() {
  m_stopButton->setEnabled(false);
  if (m_stop) m_stop();
  setCursor(Qt::WaitCursor);
}

void CTransferDialog::reject() {
  if (!m_stop) {
    QDialog::reject();
    return;
  }
  // Closing while the run goes on stops it first; the dialog closes when it has ended.
  m_closeWhenEnded = true;
  stop();
}

void CTransferDialog::finishRun() {
  m_poll->stop();
  m_stop = nullptr;
  refresh();
  unsetCursor();
  if (auto* label = qobject_cast<QLabel*>(m_controls.value(1128)))
    label->setText(QStringLiteral("Everything is complete."));
  m_stopButton->setEnabled(false);
  m_closeButton->setEnabled(true);
  m_closeButton->setDefault(true);
  for (int id : {1140, 1119, 1134, 1131}) m_controls.value(id)->setEnabled(false);
  for (int id : {1131, 1135})
    if (auto* label = qobject_cast<QLabel*>(m_controls.value(id))) label->setText({});
  emit runEnded();
  if (m_closeWhenEnded) {
    QDialog::reject();
    return;
  }
  afterRun();
}
