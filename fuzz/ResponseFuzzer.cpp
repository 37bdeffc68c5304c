// The service's answers as the program reads them: line by line with NextResponseLine,
// values with GetResponseValue, numbers with ResponseNumber, and the album answer as a
// whole with ParseRemoteAlbums.

#include <QByteArray>
#include <QString>

#include "FuzzSupport.h"
#include "ShippedTemplates.h"
#include "inet/ResponseText.h"
#include "labels/LabelTemplates.h"
#include "websync/RemoteAlbums.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ShippedTemplates();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray raw(reinterpret_cast<const char*>(data), qsizetype(size));
  const QByteArray block = RemoveZeroBytes(raw);
  FUZZ_EXPECT(!block.contains('\0') && block.size() == raw.size() - raw.count('\0'),
              "only the zero bytes go");
  const QString answer = QString::fromUtf8(block);

  // The lines, taken one by one, are the whole answer in order.
  QString rest = answer;
  QString joined;
  int lines = 0;
  while (!rest.isEmpty()) {
    const QString line = NextResponseLine(rest);
    FUZZ_EXPECT(!line.isEmpty(), "a line is never empty while text is left");
    const qsizetype feed = line.indexOf(u'\n');
    FUZZ_EXPECT(feed < 0 || feed == line.size() - 1, "a line holds one line feed, at its end");
    joined += line;
    ++lines;
  }
  FUZZ_EXPECT(joined == answer, "the lines make up the answer");

  // Every key the answer seems to hold gives the rest of its line.
  for (const QString& key : {QStringLiteral("UserId="), QStringLiteral("ErrorMsg="),
                             QStringLiteral("Password="), QStringLiteral("URL="),
                             QStringLiteral("FTPServer="), QStringLiteral("Space=")}) {
    const QString value = GetResponseValue(answer, key);
    FUZZ_EXPECT(!value.contains(u'\n'), "a value ends at its line's end");
    const qsizetype at = answer.indexOf(key);
    if (at < 0) {
      FUZZ_EXPECT(value.isEmpty(), "a missing key has no value");
    } else {
      FUZZ_EXPECT(answer.mid(at + key.size()).startsWith(value), "the value follows its key");
    }
    ResponseNumber(value);
  }
  FUZZ_EXPECT(ResponseNumber(QString()) == 0, "nothing counts as 0");

  const std::vector<PhotoAlbum> albums = ParseRemoteAlbums(answer, ShippedTemplates());
  FUZZ_EXPECT(albums.size() <= size_t(lines), "an album comes from a line at least");
  for (const PhotoAlbum& album : albums)
    for (const AlbumPage& page : album.Pages)
      FUZZ_EXPECT(page.WebLink.isEmpty(), "retrieved pages have no web link");
  return 0;
}
