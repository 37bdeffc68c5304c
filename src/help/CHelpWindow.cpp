#include "help/CHelpWindow.h"

#include <utility>

#include <QFileInfo>
#include <QHBoxLayout>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "help/HelpTopics.h"

namespace {
QToolButton* NavigationButton(const QString& text, QStyle::StandardPixmap icon, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  button->setIcon(parent->style()->standardIcon(icon));
  button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  button->setAutoRaise(true);
  return button;
}
}  // namespace

CHelpWindow::CHelpWindow(QString helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_helpFolder(std::move(helpFolder)) {
  setObjectName("helpWindow");
  setWindowTitle(tr("Brivane Help"));
  resize(680, 600);

  m_back = NavigationButton(tr("Back"), QStyle::SP_ArrowBack, this);
  m_forward = NavigationButton(tr("Forward"), QStyle::SP_ArrowForward, this);
  auto* contents = NavigationButton(tr("Contents"), QStyle::SP_DirHomeIcon, this);
  m_back->setEnabled(false);
  m_forward->setEnabled(false);

  m_browser = new QTextBrowser(this);
  m_browser->setObjectName("helpBrowser");
  m_browser->setFrameShape(QFrame::NoFrame);
  m_browser->setSearchPaths({m_helpFolder});

  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(6, 4, 6, 4);
  buttons->addWidget(m_back);
  buttons->addWidget(m_forward);
  buttons->addWidget(contents);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addLayout(buttons);
  layout->addWidget(m_browser);

  connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
  connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
  connect(contents, &QToolButton::clicked, this, [this] { showTopic(kHelpContents); });
  connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
  connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
  connect(m_browser, &QTextBrowser::sourceChanged, this, &CHelpWindow::updateTitle);
}

bool CHelpWindow::showTopic(int topic) {
  const QString page = m_helpFolder + HelpPageForTopic(topic);
  if (!QFileInfo(page).isFile()) return false;
  m_browser->setSource(QUrl::fromLocalFile(page));
  return true;
}

void CHelpWindow::updateTitle() {
  const QString title = m_browser->documentTitle();
  setWindowTitle(title.isEmpty() ? tr("Brivane Help") : tr("%1 - Brivane Help").arg(title));
}
