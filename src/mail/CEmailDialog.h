#pragma once

#include <QDialog>
#include <QStringList>

#include "mail/MailServer.h"

class FeatureHost;
class QLabel;
class QLineEdit;
class QTextEdit;

// "Email": a link to a photo or an album page, mailed to friends through the user's
// outgoing server. Send checks the fields, then sends on the background runner.
class CEmailDialog : public QDialog {
  Q_OBJECT

 public:
  // kind: "photo" or "photo album".
  CEmailDialog(FeatureHost& host, MailServer server, const QString& ownAddress, const QString& link,
               const QString& kind, QWidget* parent = nullptr);

  QString ownAddress() const;
  QTextEdit* message() const { return m_message; }
  // The message's HTML when the user formatted it (more than the link), else empty.
  QString formattedMessage() const;

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Outcome;
  void openAddressBook();
  bool checkFields(QStringList* recipients);
  Outcome send(const QStringList& recipients);

  FeatureHost& m_host;
  MailServer m_server;
  QString m_link;
  QLineEdit* m_friends;
  QLineEdit* m_own;
  QLineEdit* m_subject;
  QTextEdit* m_message;
};
