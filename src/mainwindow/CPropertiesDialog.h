#pragma once

#include <QDialog>

class QLineEdit;

// The "Properties" dialog of File > Preferences: the user's e-mail address and outgoing
// mail server. It only shows and returns the two texts; the main window stores them.
class CPropertiesDialog : public QDialog {
  Q_OBJECT

 public:
  CPropertiesDialog(const QString& emailAddress, const QString& emailServer,
                    QWidget* parent = nullptr);

  QString emailAddress() const;
  QString emailServer() const;

 private:
  QLineEdit* m_address;
  QLineEdit* m_server;
};
