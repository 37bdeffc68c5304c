// addrbook.dat: any file reads as a book of one-line entries, and a book read from it
// saves and loads back the same.

#include <QFile>
#include <QList>

#include "FuzzSupport.h"
#include "mail/AddressBook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString file = QString::fromStdString(WriteScratchFile("addrbook.dat", data, size));
  const QList<AddressBookEntry> entries = LoadAddressBook(file);
  bool storable = true;
  for (const AddressBookEntry& entry : entries) {
    FUZZ_EXPECT(entry.name.size() <= 511 && entry.address.size() <= 511, "a line is cut at 511");
    FUZZ_EXPECT(!entry.name.contains(u'\n') && !entry.address.contains(u'\n'), "an entry is one line each");
    storable = storable && IsStorableAddressBookText(entry.name) && IsStorableAddressBookText(entry.address);
  }
  const QString copy = QString::fromStdString(ScratchFolder() + "copy.dat");
  QFile::remove(copy);
  const bool saved = SaveAddressBook(copy, entries);
  FUZZ_EXPECT(saved == storable, "a book is saved exactly when every entry can be stored");
  if (!saved) {
    FUZZ_EXPECT(!QFile::exists(copy), "a refused book writes nothing");
    return 0;
  }
  const QList<AddressBookEntry> again = LoadAddressBook(copy);
  FUZZ_EXPECT(again.size() == entries.size(), "every entry comes back");
  for (qsizetype i = 0; i < again.size() && i < entries.size(); ++i)
    FUZZ_EXPECT(again[i].name == entries[i].name && again[i].address == entries[i].address,
                "entries come back as they were");
  return 0;
}
