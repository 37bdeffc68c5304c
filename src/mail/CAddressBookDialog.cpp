#include "mail/CAddressBookDialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "controls/OkCancelButtons.h"
#include "controls/Prompter.h"
#include "mail/CAddressDialog.h"

namespace {
QTreeWidgetItem* Row(const AddressBookEntry& entry) {
  return new QTreeWidgetItem(QStringList{entry.name, entry.address});
}

QPushButton* Button(const char* text, int id, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(text), parent);
  button->setObjectName(QString::number(id));
  button->setAutoDefault(false);
  return button;
}
}  // namespace

CAddressBookDialog::CAddressBookDialog(Prompter& prompter, QString bookFile, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_file(std::move(bookFile)) {
  setObjectName(QStringLiteral("211"));
  setWindowTitle(QStringLiteral("Address Book"));
  m_list = new QTreeWidget(this);
  m_list->setObjectName(QStringLiteral("1018"));
  m_list->setRootIsDecorated(false);
  m_list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Email Address")});
  m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_list->setMinimumSize(440, 240);
  m_entries = LoadAddressBook(m_file);
  for (const AddressBookEntry& entry : m_entries) m_list->addTopLevelItem(Row(entry));
  m_list->header()->resizeSection(0, 180);

  auto* selectAll = Button("&Select All", 1165, this);
  m_clear = Button("&Clear", 1005, this);
  auto* add = Button("&Add a Person", 1167, this);
  m_edit = Button("&Edit a Person", 1086, this);
  m_delete = Button("&Delete a Person", 1081, this);

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Select the people you want to send this email to."), this), 0, 0, 1, 2);
  layout->addWidget(m_list, 1, 0, 6, 1);
  layout->addWidget(selectAll, 1, 1);
  layout->addWidget(m_clear, 2, 1);
  layout->addWidget(add, 3, 1);
  layout->addWidget(m_edit, 4, 1);
  layout->addWidget(m_delete, 5, 1);
  layout->setRowStretch(6, 1);
  layout->addWidget(OkCancelButtons(this), 7, 0, 1, 2);

  connect(selectAll, &QPushButton::clicked, m_list, &QTreeWidget::selectAll);
  connect(m_clear, &QPushButton::clicked, m_list, &QTreeWidget::clearSelection);
  connect(add, &QPushButton::clicked, this, &CAddressBookDialog::addPerson);
  connect(m_edit, &QPushButton::clicked, this, &CAddressBookDialog::editPerson);
  connect(m_delete, &QPushButton::clicked, this, &CAddressBookDialog::deletePeople);
  connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CAddressBookDialog::updateButtons);
  connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CAddressBookDialog::editPerson);
  updateButtons();
}

QList<int> CAddressBookDialog::selectedRows() const {
  QList<int> rows;
  for (QTreeWidgetItem* item : m_list->selectedItems()) rows.append(m_list->indexOfTopLevelItem(item));
  std::sort(rows.begin(), rows.end());
  return rows;
}

void CAddressBookDialog::updateButtons() {
  const bool any = !m_list->selectedItems().isEmpty();
  m_edit->setEnabled(any);
  m_delete->setEnabled(any);
  m_clear->setEnabled(any);
}

void CAddressBookDialog::save() {
  if (!SaveAddressBook(m_file, m_entries))
    m_prompter.showError(this, QStringLiteral("The address book could not be saved in \"%1\".").arg(m_file));
}

void CAddressBookDialog::addPerson() {
  CAddressDialog person(m_prompter, {}, {}, this);
  if (person.exec() != QDialog::Accepted) return;
  m_entries.append(AddressBookEntry{person.name(), person.address()});
  QTreeWidgetItem* row = Row(m_entries.back());
  m_list->addTopLevelItem(row);
  m_list->clearSelection();
  row->setSelected(true);
  m_list->scrollToItem(row);
  save();
}

void CAddressBookDialog::editPerson() {
  const QList<int> rows = selectedRows();
  if (rows.isEmpty()) return;
  const int row = rows.front();
  CAddressDialog person(m_prompter, m_entries[row].name, m_entries[row].address, this);
  if (person.exec() != QDialog::Accepted) return;
  m_entries[row] = AddressBookEntry{person.name(), person.address()};
  m_list->topLevelItem(row)->setText(0, person.name());
  m_list->topLevelItem(row)->setText(1, person.address());
  save();
}

void CAddressBookDialog::deletePeople() {
  const QList<int> rows = selectedRows();
  if (rows.isEmpty()) return;
  const QString question =
      rows.size() == 1 ? QStringLiteral("Are you sure you want to delete %1 - %2?")
                             .arg(m_entries[rows.front()].name, m_entries[rows.front()].address)
                       : QStringLiteral("Are you sure you want to delete the selected email addresses?");
  if (m_prompter.askYesNoCancel(this, question) != Prompter::Answer::Yes) return;
  for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
    m_entries.removeAt(*row);
    delete m_list->takeTopLevelItem(*row);
  }
  save();
}

void CAddressBookDialog::accept() {
  const QList<int> rows = selectedRows();
  m_chosen.clear();
  for (auto row = rows.crbegin(); row != rows.crend(); ++row) m_chosen += m_entries[*row].address + QLatin1Char(';');
  QDialog::accept();
}
