#pragma once

#include <QList>
#include <QString>

// The people the user mails: addrbook.dat in the user data folder, a line with the number of
// entries, then for each the name and the address on lines of their own.
struct AddressBookEntry {
  QString name;
  QString address;
};

// The user data folder's addrbook.dat.
QString AddressBookFile();

// A missing or unreadable file is an empty book. Every line is read with at most 511
// characters (the rest of a longer line is dropped) and loses its trailing blanks; a
// first line that is not a number counts 0 entries; reading stops at the count or at the
// end of the file.
QList<AddressBookEntry> LoadAddressBook(const QString& file);

// Replaces the file with the whole list, atomically. False, with the file untouched, when
// an entry cannot be stored (see IsStorableAddressBookText) or the write fails.
bool SaveAddressBook(const QString& file, const QList<AddressBookEntry>& entries);

// Whether a name or address reads back as it was stored: one line of at most 511
// characters.
bool IsStorableAddressBookText(const QString& text);
