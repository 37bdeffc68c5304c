#pragma once

#include <QDialog>
#include <QList>

#include "mail/AddressBook.h"

class Prompter;
class QPushButton;
class QTreeWidget;

// "Address Book": the people of addrbook.dat, from which the user picks recipients, and
// where people are added, edited and deleted (every change is saved at once).
class CAddressBookDialog : public QDialog {
  Q_OBJECT

 public:
  CAddressBookDialog(Prompter& prompter, QString bookFile, QWidget* parent = nullptr);

  // The chosen addresses, from the last selected row to the first, each followed by ";".
  QString chosenAddresses() const { return m_chosen; }
  const QList<AddressBookEntry>& entries() const { return m_entries; }
  QTreeWidget* list() const { return m_list; }

  void accept() override;

 private:
  void addPerson();
  void editPerson();
  void deletePeople();
  void updateButtons();
  void save();
  QList<int> selectedRows() const;

  Prompter& m_prompter;
  QString m_file;
  QList<AddressBookEntry> m_entries;
  QTreeWidget* m_list;
  QPushButton* m_edit;
  QPushButton* m_delete;
  QPushButton* m_clear;
  QString m_chosen;
};
