// deletealbums.dat: the names of albums to delete on the web. Every name read is one
// line of the file, and an album recorded after whatever the file holds reads back as
// itself, with the names before it unchanged: a wrong name here deletes a wrong album.

#include <QFile>

#include "FuzzSupport.h"
#include "albums/AlbumFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString file = QString::fromStdString(WriteScratchFile(kDeletedAlbumsFileName, data, size));
  const QStringList names = ReadDeletedAlbums(file);
  qsizetype lines = 0;
  for (const QByteArray& line : QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\n'))
    if (!QByteArray(line).replace('\r', "").isEmpty()) ++lines;
  FUZZ_EXPECT(names.size() <= lines, "a name a line, however long the line");
  for (const QString& name : names) {
    FUZZ_EXPECT(!name.isEmpty() && name.size() <= 511, "a name is a line of at most 511 characters");
    FUZZ_EXPECT(!name.contains(u'\n') && !name.endsWith(u'\r'), "a name holds no line end");
  }
  const QString added = QString::fromUtf8("Holiday — 2026");
  FUZZ_EXPECT(RecordDeletedAlbum(file, added), "the scratch file takes a line");
  const QStringList after = ReadDeletedAlbums(file);
  FUZZ_EXPECT(!after.isEmpty() && after.last() == added, "the recorded album reads back whole");
  FUZZ_EXPECT(after.mid(0, after.size() - 1) == names, "the names before it are unchanged");
  return 0;
}
