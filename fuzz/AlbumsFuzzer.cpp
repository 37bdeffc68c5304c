// photos.dat, the albums: whatever the file holds, reading gives albums that write back
// to a file reading the same albums again, and saving then loading keeps them.

#include <cstdio>
#include <vector>

#include <QByteArray>
#include <QFile>

#include "FuzzSupport.h"
#include "ShippedTemplates.h"
#include "albums/AlbumFile.h"
#include "albums/AlbumPage.h"
#include "labels/LabelTemplates.h"

namespace {

bool SamePage(const AlbumPage& a, const AlbumPage& b) {
  return a.Layout == b.Layout && a.LayoutCode == b.LayoutCode && a.WebLink == b.WebLink &&
         a.Names == b.Names;
}

bool Same(const std::vector<PhotoAlbum>& a, const std::vector<PhotoAlbum>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].Name != b[i].Name || a[i].Pages.size() != b[i].Pages.size()) return false;
    for (size_t p = 0; p < a[i].Pages.size(); ++p)
      if (!SamePage(a[i].Pages[p], b[i].Pages[p])) return false;
  }
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ShippedTemplates();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  std::vector<PhotoAlbum> albums = ReadAlbums(bytes, ShippedTemplates());
  for (const PhotoAlbum& album : albums) {
    FUZZ_EXPECT(!HasLineBreakingCharacter(album.Name), "a name stays on its line");
    for (const AlbumPage& page : album.Pages) {
      if (page.Layout) FUZZ_EXPECT(page.Layout->Code == page.LayoutCode, "a layout is its code's");
      FUZZ_EXPECT(page.Names.size() >= page.PlaceCount(), "every place has a name, blank or not");
      for (const QString& name : page.Names)
        FUZZ_EXPECT(!HasLineBreakingCharacter(name), "a photo name stays on its line");
    }
  }

  const QByteArray written = WriteAlbums(albums);
  const std::vector<PhotoAlbum> again = ReadAlbums(written, ShippedTemplates());
  if (!Same(albums, again))
    std::fprintf(stderr, "written:\n%s\nread again and written:\n%s\n", written.toPercentEncoding(" ").constData(),
                 WriteAlbums(again).toPercentEncoding(" ").constData());
  FUZZ_EXPECT(Same(albums, again), "what was read writes back as the same albums");
  FUZZ_EXPECT(WriteAlbums(again) == written, "writing what was written changes nothing");

  // The edits the program makes when a photo is renamed or deleted keep a file readable.
  RenamePhotoInAlbums(albums, albums.empty() || albums[0].Pages.empty() ? QString("x")
                                                                         : albums[0].Pages[0].Name(0),
                      QStringLiteral("Renamed"));
  RemovePhotoFromAlbums(albums, QStringLiteral("Renamed"));
  const std::string file = ScratchFolder() + kAlbumFileName;
  FUZZ_EXPECT(SaveAlbums(QString::fromStdString(file), albums), "the scratch file is written");
  FUZZ_EXPECT(Same(LoadAlbums(QString::fromStdString(file), ShippedTemplates()), albums),
              "saved albums load back");
  return 0;
}
