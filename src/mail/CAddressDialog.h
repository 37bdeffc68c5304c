#pragma once

#include <QDialog>

class Prompter;
class QLineEdit;

// "Email Address": one person's name and e-mail address, for the address book.
class CAddressDialog : public QDialog {
  Q_OBJECT

 public:
  CAddressDialog(Prompter& prompter, const QString& name, const QString& address, QWidget* parent = nullptr);

  // Trimmed, as accepted.
  QString name() const { return m_nameText; }
  QString address() const { return m_addressText; }

  void accept() override;

 private:
  Prompter& m_prompter;
  QLineEdit* m_name;
  QLineEdit* m_address;
  QString m_nameText;
  QString m_addressText;
};
