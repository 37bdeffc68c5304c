// Runs one of the program's data-file writers with known content, so that a test can
// kill it part way:  kill_writer_driver <kind> <folder> <old|new>
// "old" writes the starting file from nothing; "new" changes it as the program would.
// Exit status 0 when the writer reported success.

#include <cstdio>
#include <cstring>
#include <vector>

#include <QString>

#include "albums/AlbumFile.h"
#include "mail/AddressBook.h"
#include "system/Profile.h"
#include "system/RegistryStore.h"

namespace {

// Long enough that the files are several kilobytes, as a used program's are.
QString Filler(int i) {
  return QStringLiteral("Grüße aus Kärnten %1 ").arg(i).repeated(6).trimmed();
}

bool Settings(const QString& folder, bool newer) {
  const QString file = folder + "quendal.ini";
  if (newer) return WriteProfileString(file, "Settings", "ServiceHost", "photos.example.org:8443");
  bool ok = WriteProfileString(file, "Settings", "UserId", "123456789") &&
            WriteProfileString(file, "Settings", "ServiceHost", "localhost:8443");
  for (int i = 0; ok && i < 60; ++i)
    ok = WriteProfileString(file, "Recent", QStringLiteral("File%1").arg(i), Filler(i));
  return ok;
}

bool Registry(const QString& folder, bool newer) {
  RegistryStore registry(folder + "registry.ini");
  const QString key = "Control Panel\\Desktop";
  if (newer) return registry.setValue(key, "Wallpaper", "/home/ada/Pictures/beach.bmp");
  bool ok = registry.setValue(key, "Wallpaper", "/home/ada/Pictures/old.bmp");
  for (int i = 0; ok && i < 60; ++i)
    ok = registry.setValue(QStringLiteral("Software\\Brivane\\Key%1").arg(i), "@", Filler(i));
  return ok;
}

bool AddressBook(const QString& folder, bool newer) {
  QList<AddressBookEntry> entries;
  for (int i = 0; i < 200; ++i)
    entries.append({Filler(i), QStringLiteral("friend%1@example.org").arg(i)});
  if (newer) entries.insert(7, {"Ada Lovelace", "ada@example.org"});
  return SaveAddressBook(folder + "addrbook.dat", entries);
}

bool Albums(const QString& folder, bool newer) {
  std::vector<PhotoAlbum> albums;
  for (int a = 0; a < 40; ++a) {
    PhotoAlbum album{QStringLiteral("Album %1").arg(a), {}};
    for (int p = 0; p < 3; ++p) {
      AlbumPage page;
      page.LayoutCode = "8162";
      page.WebLink = QStringLiteral("http://example.org/viewalbum.asp?UserId=%s&Page=%1").arg(p);
      for (int k = 0; k < 6; ++k)
        page.Names << QStringLiteral("Photo %1-%2-%3").arg(a).arg(p).arg(k);
      album.Pages.push_back(page);
    }
    albums.push_back(album);
  }
  if (newer) {
    albums.erase(albums.begin() + 3);
    albums[0].Name = "Holidays";
  }
  return SaveAlbums(folder + kAlbumFileName, albums);
}

bool DeletedAlbums(const QString& folder, bool newer) {
  const QString file = folder + kDeletedAlbumsFileName;
  if (newer) return RecordDeletedAlbum(file, "Winter in Kärnten");
  bool ok = true;
  for (int i = 0; ok && i < 50; ++i) ok = RecordDeletedAlbum(file, Filler(i));
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const char* kinds[] = {"settings", "registry", "addressbook", "albums", "deletedalbums"};
  bool (*writers[])(const QString&, bool) = {Settings, Registry, AddressBook, Albums,
                                             DeletedAlbums};
  if (argc == 4 && (std::strcmp(argv[3], "old") == 0 || std::strcmp(argv[3], "new") == 0)) {
    QString folder = QString::fromLocal8Bit(argv[2]);
    if (!folder.endsWith('/')) folder += '/';
    for (size_t i = 0; i < std::size(kinds); ++i)
      if (std::strcmp(argv[1], kinds[i]) == 0) return writers[i](folder, argv[3][0] == 'n') ? 0 : 1;
  }
  std::fprintf(stderr,
               "usage: kill_writer_driver settings|registry|addressbook|albums|deletedalbums "
               "FOLDER old|new\n");
  return 2;
}
