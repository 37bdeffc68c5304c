#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

// The help viewer: a window showing the HTML help pages shipped in the help folder,
// opened at a topic. One window serves every request; asking for another topic turns
// its page.
class CHelpWindow : public QWidget {
  Q_OBJECT

 public:
  // helpFolder ends in "/".
  explicit CHelpWindow(QString helpFolder, QWidget* parent = nullptr);

  // Shows the topic's page. False, showing nothing new, when the page is missing.
  bool showTopic(int topic);
  QTextBrowser* browser() const { return m_browser; }

 private:
  void updateTitle();

  QString m_helpFolder;
  QTextBrowser* m_browser;
  QToolButton* m_back;
  QToolButton* m_forward;
};
