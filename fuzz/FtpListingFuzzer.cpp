// Folder listings of the upload server, MLSD and LIST: whatever a server sends, every
// entry is a safe file name with a valid time and a size of zero or more, and nothing a
// server names can become a path out of the folder. The first byte picks the reader.

#include <QByteArray>
#include <QDateTime>

#include "FuzzSupport.h"
#include "inet/FileEntry.h"
#include "inet/FolderListing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool mlsd = data[0] & 1;
  const QByteArray listing(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  const QDateTime now(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);
  QStringList refused;
  const QList<FileEntry> entries =
      mlsd ? ParseMlsdListing(listing, &refused) : ParseListListing(listing, now, &refused);
  FUZZ_EXPECT(entries.size() + refused.size() <= listing.count('\n') + 1,
              "an entry or a refusal a line at most");
  for (const FileEntry& entry : entries) {
    FUZZ_EXPECT(IsSafeFileName(entry.name), "only safe names are listed");
    FUZZ_EXPECT(!entry.name.contains(u'/') && entry.name != "." && entry.name != "..",
                "no name leaves the folder");
    FUZZ_EXPECT(entry.size >= 0, "sizes are never negative");
    if (entry.lastWrite.isValid()) FUZZ_EXPECT(entry.lastWrite.timeSpec() == Qt::UTC, "times are UTC");
    FUZZ_EXPECT(FindEntry(entries, entry.name) != nullptr, "every entry is found by its name");
  }
  return 0;
}
