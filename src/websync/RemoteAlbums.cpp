#include "websync/RemoteAlbums.h"

#include "albums/AlbumFile.h"
#include "inet/ResponseText.h"
#include "labels/LabelTemplates.h"
#include "library/PhotoNames.h"

namespace {
// Beyond these a count is not an album the service could have stored; the answer is
// read as far as it is sensible.
constexpr qint64 kMaxAlbums = 100000;
constexpr qint64 kMaxPages = 1000;
constexpr qint64 kMaxGridSide = 100;

qint64 NumberLine(QString& answer, const QString& key, qint64 limit) {
  const qint64 value = ResponseNumber(GetResponseValue(NextResponseLine(answer), key));
  return value < 0 || value > limit ? 0 : value;
}
}  // namespace

std::vector<PhotoAlbum> ParseRemoteAlbums(QString answer, const LabelTemplateList& templates) {
  std::vector<PhotoAlbum> albums;
  const qint64 count = NumberLine(answer, QStringLiteral("AlbumCount="), kMaxAlbums);
  for (qint64 a = 0; a < count && !answer.isEmpty(); ++a) {
    NextResponseLine(answer);  // AlbumNum=, not used
    PhotoAlbum album;
    album.Name = CleanAlbumText(GetResponseValue(NextResponseLine(answer), QStringLiteral("AlbumName=")));
    const qint64 pages = NumberLine(answer, QStringLiteral("NumPages="), kMaxPages);
    for (qint64 p = 0; p < pages; ++p) {
      const int rows = int(NumberLine(answer, QStringLiteral("NumRows="), kMaxGridSide));
      const int columns = int(NumberLine(answer, QStringLiteral("NumColumns="), kMaxGridSide));
      AlbumPage page = AlbumPage::Blank(templates.FindAlbumLayoutBySize(rows, columns));
      for (int slot = 0; slot < rows * columns; ++slot) {
        const QString line = NextResponseLine(answer);
        const QString value = GetResponseValue(line, QStringLiteral("Photo%1=").arg(slot));
        const QString name = value.size() > 3 ? value.chopped(3) : QString();
        page.SetName(slot, CleanAlbumText(StemForName(name)));
      }
      album.Pages.push_back(std::move(page));
    }
    albums.push_back(std::move(album));
  }
  return albums;
}
