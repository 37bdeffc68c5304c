// The decisions of a run that need no network: where retrieved files go, how the
// service's album answer reads, and whether the web space suffices.

#include <gtest/gtest.h>

#include "labels/LabelTemplate.h"
#include "websync/PublishPlan.h"
#include "websync/RemoteAlbums.h"
#include "websync/RetrievePlan.h"
#include "websync/SyncTestSupport.h"

namespace {

const QDateTime kNoon = QDateTime(QDate(2026, 5, 1), QTime(12, 0), Qt::UTC);

FileEntry Entry(const QString& name, qint64 size, const QDateTime& when = kNoon) { return FileEntry{name, when, size}; }

QStringList Targets(const RetrievePlan& plan) {
  QStringList targets;
  for (const RetrieveItem& item : plan.receive) targets << item.remote.name + " -> " + item.target;
  return targets;
}

TEST(PlanRetrieve, KeepsWhatIsHereAndStoresTheWebsPairBesideIt) {
  const QList<FileEntry> remote = {Entry("Beach.jpg", 900), Entry("Beach_tn.jpg", 90), Entry("Dog.jpg", 500),
                                   Entry("Dog_tn.jpg", 50), Entry(".Cat.jpg", 10), Entry(".Cat_tn.jpg", 10),
                                   Entry("Sea.jpg", 700), Entry("Sea_tn.jpg", 70)};
  // Dog is here alike (the file system's fraction of a second does not count); Beach is
  // another photo of the same name, and "Beach (2)" is taken by a thumbnail already.
  const QList<FileEntry> local = {Entry("Dog.jpg", 500, kNoon.addMSecs(400)), Entry("Dog_tn.jpg", 50),
                                  Entry("Beach.jpg", 800, kNoon.addDays(-1)), Entry("Beach_tn.jpg", 90),
                                  Entry("Beach (2)_tn.jpg", 5)};
  const RetrievePlan plan = PlanRetrieve(remote, local, false);
  EXPECT_EQ(plan.alreadyHere, 2);
  EXPECT_EQ(Targets(plan), QStringList({"Beach.jpg -> Beach (3).jpg", "Beach_tn.jpg -> Beach (3)_tn.jpg",
                                        "Sea.jpg -> Sea.jpg", "Sea_tn.jpg -> Sea_tn.jpg"}));
  EXPECT_EQ(plan.renamedStems, (QHash<QString, QString>{{"Beach", "Beach (3)"}}));

  // Only the thumbnails differ: the photo still moves with its thumbnail.
  const RetrievePlan thumbnails =
      PlanRetrieve({Entry("Dog.jpg", 500), Entry("Dog_tn.jpg", 50)}, {Entry("Dog.jpg", 500), Entry("Dog_tn.jpg", 49)}, false);
  EXPECT_EQ(Targets(thumbnails), QStringList({"Dog.jpg -> Dog (2).jpg", "Dog_tn.jpg -> Dog (2)_tn.jpg"}));

  // A listing without times (or with unreadable ones) judges by size: neither a retrieve
  // nor a publish repeats itself on every run.
  const QList<FileEntry> untimed = {Entry("Dog.jpg", 500, QDateTime()), Entry("Dog_tn.jpg", 50, QDateTime())};
  const QList<FileEntry> here = {Entry("Dog.jpg", 500, kNoon.addDays(-3)), Entry("Dog_tn.jpg", 50)};
  EXPECT_EQ(PlanRetrieve(untimed, here, false).alreadyHere, 2);
  EXPECT_TRUE(PlanPublish(here, untimed, true, {}).send.isEmpty());
}

TEST(PlanRetrieve, ReplacesOnlyWhenAskedAndTheWebsCopyIsNewer) {
  const QList<FileEntry> remote = {Entry("Beach.jpg", 900), Entry("Beach_tn.jpg", 90)};
  const QList<FileEntry> older = {Entry("Beach.jpg", 800, kNoon.addSecs(-60)), Entry("Beach_tn.jpg", 80, kNoon.addSecs(-60))};
  EXPECT_EQ(Targets(PlanRetrieve(remote, older, true)),
            QStringList({"Beach.jpg -> Beach.jpg", "Beach_tn.jpg -> Beach_tn.jpg"}));
  EXPECT_EQ(Targets(PlanRetrieve(remote, older, false)),
            QStringList({"Beach.jpg -> Beach (2).jpg", "Beach_tn.jpg -> Beach (2)_tn.jpg"}));
  const QList<FileEntry> newer = {Entry("Beach.jpg", 800, kNoon.addSecs(60)), Entry("Beach_tn.jpg", 90)};
  EXPECT_EQ(Targets(PlanRetrieve(remote, newer, true)),
            QStringList({"Beach.jpg -> Beach (2).jpg", "Beach_tn.jpg -> Beach (2)_tn.jpg"}));
}

// A grid size that no album layout of the shipped templates has.
std::pair<int, int> GridWithoutLayout() {
  for (int rows = 1; rows < 10; ++rows)
    for (int columns = 1; columns < 10; ++columns)
      if (!Templates().FindAlbumLayoutBySize(rows, columns)) return {rows, columns};
  return {0, 0};
}

TEST(ParseRemoteAlbums, ReadsTheServicesAnswerLineByLine) {
  ASSERT_FALSE(Templates().AlbumLayouts().empty());
  const LabelTemplate* layout = Templates().AlbumLayouts().front();
  const auto [rows, columns] = GridWithoutLayout();
  ASSERT_GT(rows, 0);

  QString answer = QStringLiteral("AlbumCount=2\r\nAlbumNum=7\r\nAlbumName=Trip \"One\"\r\nNumPages=2\r\n") +
                   QStringLiteral("NumRows=%1\r\nNumColumns=%2\r\n").arg(layout->Rows).arg(layout->Columns);
  for (int slot = 0; slot < layout->CellCount(); ++slot)
    answer += QStringLiteral("Photo%1=%2\r\n").arg(slot).arg(slot == 0 ? "Fish & Chipsjpg" : slot == 1 ? "abc" : "");
  answer += QStringLiteral("NumRows=%1\r\nNumColumns=%2\r\n").arg(rows).arg(columns);
  for (int slot = 0; slot < rows * columns; ++slot) answer += QStringLiteral("Photo%1=Sea%1jpg\r\n").arg(slot);
  answer += QStringLiteral("AlbumNum=8\r\nAlbumName=Nothing\r\nNumPages=\r\n");

  const std::vector<PhotoAlbum> albums = ParseRemoteAlbums(answer, Templates());
  ASSERT_EQ(albums.size(), 2u);
  EXPECT_EQ(albums[0].Name, "Trip \"One\"");
  ASSERT_EQ(albums[0].Pages.size(), 2u);
  const AlbumPage& first = albums[0].Pages[0];
  EXPECT_EQ(first.Layout, Templates().FindAlbumLayoutBySize(layout->Rows, layout->Columns));
  EXPECT_EQ(first.Name(0), "Fish && Chips");
  for (int slot = 1; slot < first.PlaceCount(); ++slot) EXPECT_EQ(first.Name(slot), "") << slot;
  EXPECT_TRUE(first.WebLink.isEmpty());
  const AlbumPage& second = albums[0].Pages[1];
  EXPECT_EQ(second.Layout, nullptr);
  EXPECT_EQ(second.Name(rows * columns - 1), QStringLiteral("Sea%1").arg(rows * columns - 1));
  EXPECT_EQ(albums[1].Name, "Nothing");
  EXPECT_TRUE(albums[1].Pages.empty());

  EXPECT_TRUE(ParseRemoteAlbums("AlbumCount=0\r\nAlbumNum=1\r\nAlbumName=X\r\nNumPages=1\r\n", Templates()).empty());
  EXPECT_TRUE(ParseRemoteAlbums("AlbumCount=\r\nAlbumNum=1\r\nAlbumName=X\r\nNumPages=1\r\n", Templates()).empty());
  EXPECT_TRUE(ParseRemoteAlbums("", Templates()).empty());
}

TEST(WebSpace, RefusesOnlyAGrowthPastThePurchasedSpace) {
  const auto shortage = CheckWebSpace(1000000, 1048576, 100000);
  ASSERT_TRUE(shortage);
  EXPECT_EQ(WebSpaceText(*shortage),
            "Currently you have used 1.0 Megabytes.  You have 1.0 Megabytes all total available to you.  "
            "Therefore you need an additional 0.095 megabytes.");
  EXPECT_FALSE(CheckWebSpace(1000000, 1048576, 48576));
  // Already over the space: a run that frees some is still let through.
  EXPECT_FALSE(CheckWebSpace(5000000, 1048576, -100));
  EXPECT_FALSE(CheckWebSpace(5000000, 1048576, 0));
}

TEST(AlbumsToSend, AChangedFileOrAPageWithoutAnAddressSendsTheAlbums) {
  const QDateTime written = QDateTime(QDate(2026, 5, 1), QTime(12, 0, 30));
  std::vector<PhotoAlbum> albums = {{"Trip", {AlbumPage()}}};
  albums[0].Pages[0].WebLink = "http://h/viewalbum.asp?UserId=%s&AlbumId=1&PageNum=0";
  EXPECT_TRUE(AlbumsToSend("", written, albums));
  EXPECT_TRUE(AlbumsToSend("2026-05-01 12:00:29", written, albums));
  EXPECT_FALSE(AlbumsToSend("2026-05-01 12:00:30", written, albums));
  // Retrieved albums come without addresses: the page must be sent to get one.
  albums[0].Pages[0].WebLink.clear();
  EXPECT_TRUE(AlbumsToSend("2026-05-01 12:00:30", written, albums));
}

}  // namespace
