#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <tuple>

#include "albums/AlbumFile.h"
#include "labels/LabelTemplates.h"
#include "support/FileBytes.h"
#include "system/AtomicFile.h"

namespace {
// Two album layouts: C2166 of 2 x 2 places and C2242 of 1 x 2.
const LabelTemplateList& Templates() {
  static const LabelTemplateList list = [] {
    LabelTemplateList templates;
    templates.AddGroup("Albums");
    for (auto [code, rows, columns] : {std::tuple{"C2166", 2, 2}, std::tuple{"C2242", 1, 2}}) {
      LabelTemplate t;
      t.Code = code;
      t.Rows = rows;
      t.Columns = columns;
      templates.AddTemplate(t);
    }
    return templates;
  }();
  return list;
}

// The lines as photos.dat holds them.
QByteArray Lines(const QStringList& lines, const char* end = "\r\n") {
  QByteArray bytes;
  for (const QString& line : lines) bytes += line.toUtf8() + end;
  return bytes;
}

// The albums in short: name[code(link):name,name|...] per album, "/" between albums.
QString Summary(const std::vector<PhotoAlbum>& albums) {
  QStringList parts;
  for (const PhotoAlbum& album : albums) {
    QStringList pages;
    for (const AlbumPage& page : album.Pages)
      pages << page.LayoutCode + (page.WebLink.isEmpty() ? "" : "(" + page.WebLink + ")") + ":" +
                   page.Names.join(',');
    parts << album.Name + "[" + pages.join('|') + "]";
  }
  return parts.join('/');
}
}  // namespace

TEST(AlbumFileTest, AFileWrittenByHandReadsAndWritesBackByteForByte) {
  // clang-format off
  const QByteArray file = Lines({
      "3",
      "Summer 2019", "5",
      "C2166", "4", "", "beach", "", "Fish & Chips", "sunset",  // unpublished
      "C2166", "6", "http://albums.example.com/%s/page2.html",  // published, more names
      "a", "b", "c", "d", "e", "f",
      "C2166", "2", "", "x", "y",                                // fewer names than places
      "Z9999", "3", "", "p", "", "q",                            // a code labels.dat lacks
      "C2242", "2", "", "", "",                                  // every place blank
      "Empty", "0",
      "Summer 2019", "1",                                        // the same name again
      "C2242", "2", "", "", "z",
  });
  // clang-format on
  const std::vector<PhotoAlbum> albums = ReadAlbums(file, Templates());
  EXPECT_EQ(Summary(albums),
            "Summer 2019[C2166:beach,,Fish & Chips,sunset"
            "|C2166(http://albums.example.com/%s/page2.html):a,b,c,d,e,f"
            "|C2166:x,y,,|Z9999:p,,q|C2242:,]/Empty[]/Summer 2019[C2242:,z]");
  ASSERT_EQ(albums.size(), 3u);
  const auto& pages = albums[0].Pages;
  EXPECT_EQ(pages[0].Layout, Templates().FindTemplateByCode("C2166"));
  EXPECT_EQ(pages[4].Layout, Templates().FindTemplateByCode("C2242"));
  EXPECT_EQ(pages[3].Layout, nullptr);
  EXPECT_EQ(pages[2].PlaceCount(), 4);
  EXPECT_EQ(WriteAlbums(albums), file);

  // A blank place filled after reading is written with the page's every place.
  std::vector<PhotoAlbum> edited = albums;
  edited[0].Pages[2].SetName(3, "w");
  EXPECT_EQ(Summary(ReadAlbums(WriteAlbums(edited), Templates())), Summary(edited));
  EXPECT_TRUE(WriteAlbums(edited).contains("C2166\r\n4\r\n\r\nx\r\ny\r\n\r\nw\r\n"));
}

TEST(AlbumFileTest, PagesMadeHereAreWrittenWithEveryPlace) {
  std::vector<PhotoAlbum> albums(2);
  albums[0].Name = "New";
  albums[0].Pages.push_back(AlbumPage::Blank(Templates().FindTemplateByCode("C2166")));
  albums[0].Pages.push_back(AlbumPage::Blank(Templates().FindTemplateByCode("C2242")));
  albums[0].Pages[1].SetName(1, "kite");
  albums[1].Name = "No pages";
  EXPECT_EQ(WriteAlbums(albums), Lines({"2", "New", "2", "C2166", "4", "", "", "", "", "", "C2242",
                                        "2", "", "", "kite", "No pages", "0"}));
  EXPECT_EQ(WriteAlbums({}), "0\r\n");
}

TEST(AlbumFileTest, MalformedAndShortFilesGiveWhatTheyHeld) {
  const struct {
    const char* what;
    QByteArray bytes;
    QString albums;
  } cases[] = {
      {"empty file", "", ""},
      {"no albums", Lines({"0"}), ""},
      {"count without digits", Lines({"many", "A", "0"}), ""},
      {"negative count", Lines({"-3", "A", "0"}), ""},
      {"count with blanks and a tail", Lines({" 1 album", "A", "0"}), "A[]"},
      {"more albums announced than held", Lines({"3", "A", "0", "B"}), "A[]/B[]"},
      {"absurd counts", Lines({"99999999999999", "A", "2147483647", "C2242", "4294967296", ""}),
       "A[C2242:,]"},
      {"page count without digits", Lines({"1", "A", "none", "C2166"}), "A[]"},
      {"page cut short", Lines({"1", "A", "1", "C2166", "4", "", "x"}), "A[C2166:x,,,]"},
      {"page without its count", Lines({"1", "A", "1", "C2242"}), "A[C2242:,]"},
      {"negative name count", Lines({"1", "A", "1", "C2242", "-2", "", "B"}), "A[C2242:,]"},
      {"line feeds only", Lines({"1", "A", "1", "C2242", "2", "", "x", "y"}, "\n"), "A[C2242:x,y]"},
      {"no line end at the end", QByteArray("1\r\nA\r\n1\r\nC2242\r\n1\r\n\r\nx"), "A[C2242:x,]"},
      {"byte-order mark", "\xEF\xBB\xBF" + Lines({"1", "A", "0"}), "A[]"},
      {"control characters", Lines({"1", "A\tB\x01", "1", "C2242", "1", "", QString("x\u2028y")}),
       "AB[C2242:xy,]"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Summary(ReadAlbums(c.bytes, Templates())), c.albums) << c.what;
}

TEST(AlbumFileTest, ALongLineIsCutWithoutShiftingWhatFollows) {
  const QString longName(600, 'n');
  // A character outside the first plane across the cut is dropped whole.
  const QString pairAtCut = QString(509, 'a') + QString::fromUcs4(U"\U0001F600") + "tail";
  const std::vector<PhotoAlbum> albums = ReadAlbums(
      Lines({"2", longName, "1", "C2242", "2", QString(700, 'h'), longName, pairAtCut, "B", "0"}),
      Templates());
  ASSERT_EQ(albums.size(), 2u);
  EXPECT_EQ(albums[0].Name, QString(510, 'n'));
  ASSERT_EQ(albums[0].Pages.size(), 1u);
  EXPECT_EQ(albums[0].Pages[0].WebLink, QString(510, 'h'));
  EXPECT_EQ(albums[0].Pages[0].Names, QStringList({QString(510, 'n'), QString(509, 'a')}));
  EXPECT_EQ(albums[1].Name, "B");
}

TEST(AlbumFileTest, TextIsKeptToOneLineWithoutTrailingBlanks) {
  const struct {
    QString text;
    QString clean;
    bool breaking;
  } cases[] = {
      {"Summer 2019", "Summer 2019", false},
      {"  two  blanks  ", "  two  blanks", false},
      {"tab\tinside", "tabinside", true},
      {"line\r\nbreak\n", "linebreak", true},
      {QString("nul") + QChar(0) + "x", "nulx", true},
      {QString("next") + QChar(0x85) + "line", "nextline", true},
      {QString("sep") + QChar(0x2028) + "par" + QChar(0x2029), "seppar", true},
      {QString("no-break space") + QChar(0xA0), "no-break space", false},
      {"", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CleanAlbumText(c.text), c.clean) << c.text.toStdString();
    EXPECT_EQ(HasLineBreakingCharacter(c.text), c.breaking) << c.text.toStdString();
  }

  // Whatever the names hold, the file keeps its structure, and trailing blanks are lost.
  std::vector<PhotoAlbum> albums(2);
  albums[0].Name = "Trip  \t";
  albums[0].Pages.push_back(AlbumPage::Blank(Templates().FindTemplateByCode("C2242")));
  albums[0].Pages[0].Names = {"beach ", "evil\r\n3\r\nX"};
  albums[0].Pages[0].WebLink = "http://x/\n%s";
  albums[1].Name = "Last\n";
  EXPECT_EQ(Summary(ReadAlbums(WriteAlbums(albums), Templates())),
            "Trip[C2242(http://x/%s):beach,evil3X]/Last[]");
}

TEST(AlbumFileTest, SavingReplacesTheFileOrLeavesTheOldOne) {
  QTemporaryDir dir;
  const QString file = dir.filePath(kAlbumFileName);
  std::vector<PhotoAlbum> albums(1);
  albums[0].Name = "One";
  albums[0].Pages.push_back(AlbumPage::Blank(Templates().FindTemplateByCode("C2166")));
  albums[0].Pages[0].SetName(2, "kite");
  ASSERT_TRUE(SaveAlbums(file, albums));
  EXPECT_EQ(ReadAll(file), WriteAlbums(albums));
  EXPECT_EQ(Summary(LoadAlbums(file, Templates())), "One[C2166:,,kite,]");
  EXPECT_TRUE(LoadAlbums(dir.filePath("missing.dat"), Templates()).empty());

  WriteRaw(dir.filePath("plain"), "x");
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  for (const QString& target : {QString(), dir.filePath("missing/photos.dat"),
                                dir.filePath("plain/photos.dat"), dir.filePath("folder")})
    EXPECT_FALSE(SaveAlbums(target, albums)) << target.toStdString();
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));

  // A write that stops before the rename, as a full disk or a crash would stop it.
  const QByteArray before = ReadAll(file);
  const AtomicWriteHook previous = SetAtomicWriteHook([](const QString&) { return false; });
  albums[0].Name = "Two";
  EXPECT_FALSE(SaveAlbums(file, albums));
  SetAtomicWriteHook(previous);
  EXPECT_EQ(ReadAll(file), before);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList({"photos.dat", "plain"}));
}

TEST(AlbumFileTest, DeletedAlbumsAreAppendedOneALine) {
  QTemporaryDir dir;
  const QString file = dir.filePath(kDeletedAlbumsFileName);
  EXPECT_TRUE(RecordDeletedAlbum(file, "Summer"));
  EXPECT_TRUE(RecordDeletedAlbum(file, "Winter\r\n2 "));
  EXPECT_EQ(ReadAll(file), "Summer\r\nWinter2\r\n");
  EXPECT_FALSE(RecordDeletedAlbum(dir.filePath("missing/deletealbums.dat"), "A"));

  // A cut last line stays a name of its own; a name read from an over-long line is its
  // first 511 bytes, and the line's rest is no second name to delete on the web.
  QFile cut(file);
  ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
  cut.write(QByteArray(600, 'a') + "\nHoli");
  cut.close();
  EXPECT_TRUE(RecordDeletedAlbum(file, "Family"));
  EXPECT_EQ(ReadDeletedAlbums(file), QStringList({QString(511, 'a'), "Holi", "Family"}));
  EXPECT_FALSE(RecordDeletedAlbum(dir.path(), "A"));
}

TEST(AlbumFileTest, RenamedAndDeletedPhotosFollowInEveryPlace) {
  const QByteArray file =
      Lines({"2", "A", "2", "C2242", "3", "", "beach", "Beach", "beach", "Z9999", "1", "",
             "beach (2)", "B", "1", "C2166", "1", "", "beach"});
  std::vector<PhotoAlbum> albums = ReadAlbums(file, Templates());
  EXPECT_EQ(RenamePhotoInAlbums(albums, "beach", "coast"), 3);
  EXPECT_EQ(Summary(albums), "A[C2242:coast,Beach,coast|Z9999:beach (2)]/B[C2166:coast,,,]");
  EXPECT_EQ(RenamePhotoInAlbums(albums, "coast", "coast"), 0);
  // A blank place names no photo.
  EXPECT_EQ(RenamePhotoInAlbums(albums, "", "kite"), 0);
  EXPECT_EQ(RemovePhotoFromAlbums(albums, ""), 0);
  EXPECT_EQ(RemovePhotoFromAlbums(albums, "coast"), 3);
  EXPECT_EQ(RemovePhotoFromAlbums(albums, "coast"), 0);
  EXPECT_EQ(Summary(albums), "A[C2242:,Beach,|Z9999:beach (2)]/B[C2166:,,,]");
  // The page read short stays short once its photo is gone.
  EXPECT_TRUE(WriteAlbums(albums).endsWith("C2166\r\n1\r\n\r\n\r\n"));
}
