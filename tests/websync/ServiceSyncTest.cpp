// Publishing and retrieving against the reference service and its FTP upload server:
// the round trip, the edge cases of a run, and runs stopped in the middle of a file.

#include <random>

#include <gtest/gtest.h>

#include <QProcess>

#include "fil/ltfil.h"
#include "inet/UploadPaths.h"
#include "labels/LabelTemplate.h"
#include "library/Settings.h"
#include "websync/PublishRun.h"
#include "websync/RetrieveRun.h"
#include "websync/SyncTestSupport.h"

namespace {

class ServiceSyncTest : public ServiceAccountTest {
 protected:
  int photoPage(const QString& stem) const {
    return Service().request(("/viewphoto.asp?UserId=" + userId + "&Photo=" + stem).toUtf8()).status;
  }
  // What the service counts as used against what its folder holds.
  qint64 spaceUsed() const { return GetUploadPaths(*session, host(), userId).spaceUsed; }
  qint64 bytesHeld() const {
    qint64 bytes = 0;
    for (const QByteArray& file : remoteFiles()) bytes += file.size();
    return bytes;
  }
  int albumCount() const {
    const QString answer = QString::fromUtf8(Service().get(("/getalbums.asp?UserId=" + userId).toUtf8()));
    return answer.section("\r\n", 0, 0).section('=', 1).toInt();
  }
  void setSpace(qint64 bytes) const {
    const int code = QProcess::execute(BRIVANE_PROGRAM_DIR "brivane-service",
                                       {"--data", Service().dataFolder(), "set-space", userId, QString::number(bytes)});
    ASSERT_EQ(code, 0);
  }

  PublishResult publish(const ProgramFolder& folder, bool sendAll = true, const std::vector<PhotoAlbum>* albums = nullptr) {
    PublishRequest request{host(), userId, folder.photos(), folder.deletedAlbumsFile(), sendAll, {}, albums != nullptr};
    if (albums) request.Albums = *albums;
    return RunPublish(*session, request, progress);
  }
  RetrieveResult retrieve(const ProgramFolder& folder) {
    return RunRetrieve(*session, RetrieveRequest{host(), userId, folder.photos(), folder.albumsFile(), &Templates(), false},
                       progress);
  }

  TestProgress progress;
};

// Two album layouts of different grids that the service's answer leads back to.
std::pair<const LabelTemplate*, const LabelTemplate*> TwoLayouts() {
  const LabelTemplate* first = nullptr;
  for (const LabelTemplate* layout : Templates().AlbumLayouts()) {
    if (layout->CellCount() < 3 || Templates().FindAlbumLayoutBySize(layout->Rows, layout->Columns) != layout) continue;
    if (!first) first = layout;
    else if (layout->Rows != first->Rows || layout->Columns != first->Columns) return {first, layout};
  }
  return {nullptr, nullptr};
}

AlbumPage Page(const LabelTemplate* layout, const QStringList& names) {
  AlbumPage page = AlbumPage::Blank(layout);
  for (int slot = 0; slot < names.size(); ++slot) page.SetName(slot, names[slot]);
  return page;
}

QStringList Describe(const std::vector<PhotoAlbum>& albums) {
  QStringList lines;
  for (const PhotoAlbum& album : albums)
    for (const AlbumPage& page : album.Pages) {
      QStringList names;
      for (int slot = 0; slot < page.PlaceCount(); ++slot) names << page.Name(slot);
      lines << album.Name + " | " + (page.Layout ? page.Layout->Code : "-") + " | " + names.join(',');
    }
  return lines;
}

TEST_F(ServiceSyncTest, PhotosAndAlbumsMakeTheRoundTripWhole) {
  const auto [layoutA, layoutB] = TwoLayouts();
  ASSERT_TRUE(layoutA && layoutB);
  ProgramFolder here;
  for (const QString name : {"Fish & Chips", "Harbour", "Beach", "Forest"}) here.store(name);
  // A comment another program wrote, longer than ours are, goes to the service whole.
  QString comment;
  while (comment.size() < 300) comment += QStringLiteral("She said \"it's Zoë's café\" — 'twice'. ");
  const QByteArray text = comment.toUtf8();
  QByteArray harbour = ReadAll(here.photos() + "Harbour.jpg");
  harbour.insert(2, QByteArray("\xFF\xFE") + char((text.size() + 2) >> 8) + char((text.size() + 2) & 0xFF) + text);
  WriteFile(here.photos() + "Harbour.jpg", harbour);
  QString written;
  ReadFileComment(here.photos() + "Harbour.jpg", COMMENT_DESCRIPTION, &written);
  ASSERT_EQ(written, comment);
  const std::vector<PhotoAlbum> albums = {
      {"Summer & Sea", {Page(layoutA, {"Fish && Chips", "", "Harbour"}), Page(layoutB, {"Beach"})}},
      {"Winter's \"end\"", {Page(layoutB, {"Harbour", "Fish && Chips"})}}};
  ASSERT_TRUE(SaveAlbums(here.albumsFile(), albums));

  const PublishResult sent = publish(here, true, &albums);
  ASSERT_TRUE(sent.Completed) << sent.Error.toStdString() << sent.Failed.join('\n').toStdString();
  EXPECT_EQ(sent.FilesSent, 8);
  EXPECT_TRUE(sent.AlbumsPublished);
  for (const PhotoAlbum& album : sent.Albums)
    for (const AlbumPage& page : album.Pages) EXPECT_TRUE(page.WebLink.contains("%s")) << page.WebLink.toStdString();
  EXPECT_EQ(remoteFiles(), here.files());
  const QByteArray photoPage = Service().get(("/viewphoto.asp?UserId=" + userId + "&Photo=Harbour").toUtf8());
  // The page escapes what users typed.
  EXPECT_TRUE(photoPage.contains(comment.toHtmlEscaped().replace("'", "&#39;").toUtf8())) << photoPage.toStdString();

  Settings settings(here.path() + Settings::kFileName);
  ASSERT_TRUE(StorePublishedAlbums(here.albumsFile(), sent.Albums, settings));
  EXPECT_EQ(LoadAlbums(here.albumsFile(), Templates())[1].Pages[0].WebLink, sent.Albums[1].Pages[0].WebLink);
  EXPECT_FALSE(AlbumsNeedPublishing(settings.lastUploadDate(), QFileInfo(here.albumsFile()).lastModified()));

  const PublishResult again = publish(here);
  EXPECT_TRUE(again.Completed);
  EXPECT_EQ(again.FilesToSend, 0);
  EXPECT_EQ(again.FilesDeleted, 0);

  ProgramFolder there;
  const RetrieveResult received = retrieve(there);
  ASSERT_TRUE(received.Completed) << received.Error.toStdString();
  EXPECT_EQ(received.FilesReceived, 8);
  EXPECT_TRUE(received.Failed.isEmpty()) << received.Failed.join('\n').toStdString();
  EXPECT_EQ(there.files(), here.files());
  for (const QString& name : here.files().keys())
    EXPECT_EQ(QFileInfo(there.photos() + name).lastModified().toSecsSinceEpoch(),
              QFileInfo(here.photos() + name).lastModified().toSecsSinceEpoch())
        << name.toStdString();
  EXPECT_EQ(Describe(LoadAlbums(there.albumsFile(), Templates())), Describe(albums));

  const RetrieveResult second = retrieve(there);
  EXPECT_TRUE(second.Completed);
  EXPECT_EQ(second.FilesToReceive, 0);
  EXPECT_EQ(second.AlreadyHere, 8);
  EXPECT_EQ(second.AlbumsAdded, 0);
  EXPECT_EQ(LoadAlbums(there.albumsFile(), Templates()).size(), 2u);
}

TEST_F(ServiceSyncTest, EdgesOfAPublishingRun) {
  ProgramFolder here;
  here.store("Lake");
  ASSERT_TRUE(publish(here).Completed);

  // Sending album photos only: Forest stays here, and Lake, in no album, stays there.
  here.store("Beach");
  here.store("Forest");
  const std::vector<PhotoAlbum> albums = {{"Coast", {Page(TwoLayouts().first, {"Beach"})}}};
  const PublishResult albumOnly = publish(here, false, &albums);
  ASSERT_TRUE(albumOnly.Completed) << albumOnly.Error.toStdString();
  EXPECT_EQ(albumOnly.FilesSent, 2);
  EXPECT_EQ(remoteFiles().keys(), QStringList({"Beach.jpg", "Beach_tn.jpg", "Lake.jpg", "Lake_tn.jpg"}));

  // An older file of another size is still another photo.
  WriteFile(here.photos() + "Lake.jpg", NoiseBytes(5000, 1), QDateTime::currentDateTimeUtc().addDays(-1));
  const PublishResult older = publish(here);
  ASSERT_TRUE(older.Completed);
  EXPECT_EQ(older.FilesSent, 3);
  EXPECT_EQ(remoteFiles(), here.files());

  // The space would run out: what was deleted here goes there first all the same.
  ASSERT_EQ(photoPage("Beach"), 200);
  here.remove("Beach");
  WriteFile(here.photos() + "Big.jpg", NoiseBytes(300000, 2));
  EXPECT_EQ(spaceUsed(), bytesHeld());
  setSpace(spaceUsed());
  const PublishResult refused = publish(here);
  EXPECT_FALSE(refused.Completed);
  ASSERT_TRUE(refused.Shortage);
  EXPECT_EQ(refused.FilesDeleted, 2);
  EXPECT_EQ(refused.FilesSent, 0);
  EXPECT_EQ(remoteFiles().keys(), QStringList({"Forest.jpg", "Forest_tn.jpg", "Lake.jpg", "Lake_tn.jpg"}));
  EXPECT_EQ(photoPage("Beach"), 404);
  EXPECT_EQ(photoPage("Forest"), 200);
  // The deletions are counted even though the run went no further.
  EXPECT_EQ(spaceUsed(), bytesHeld());

  // Over the space already, a run that only frees some goes through.
  setSpace(1000);
  ASSERT_TRUE(QFile::remove(here.photos() + "Big.jpg"));
  here.remove("Forest");
  const PublishResult shrinking = publish(here);
  EXPECT_TRUE(shrinking.Completed) << shrinking.Error.toStdString();
  EXPECT_FALSE(shrinking.Shortage);
  EXPECT_EQ(remoteFiles(), here.files());
  EXPECT_EQ(spaceUsed(), bytesHeld());
}

TEST_F(ServiceSyncTest, AlbumsDeletedHereAreDeletedThereOnlyByName) {
  ProgramFolder here;
  here.store("Beach");
  const LabelTemplate* layout = TwoLayouts().first;
  const std::vector<PhotoAlbum> both = {{"Alpha", {Page(layout, {"Beach"})}}, {"Beta", {Page(layout, {"Beach"})}}};
  ASSERT_TRUE(publish(here, true, &both).AlbumsPublished);
  ASSERT_EQ(albumCount(), 2);

  const std::vector<PhotoAlbum> beta = {both[1]};
  ASSERT_TRUE(publish(here, true, &beta).AlbumsPublished);
  EXPECT_EQ(albumCount(), 2);
  WriteRaw(here.deletedAlbumsFile(), "");
  ASSERT_TRUE(publish(here, true, &beta).AlbumsPublished);
  EXPECT_EQ(albumCount(), 2);

  WriteRaw(here.deletedAlbumsFile(), "Alpha\r\n");
  ASSERT_TRUE(publish(here, true, &beta).AlbumsPublished);
  EXPECT_EQ(albumCount(), 1);
  EXPECT_TRUE(Service().get(("/getalbums.asp?UserId=" + userId).toUtf8()).contains("AlbumName=Beta"));
  EXPECT_FALSE(QFile::exists(here.deletedAlbumsFile()));
}

TEST_F(ServiceSyncTest, AStopMidwayLeavesNoCutFileAndTheNextRunFinishes) {
  constexpr qint64 kBig = 4 * 1024 * 1024;
  ProgramFolder here;
  here.store("Lake");
  WriteFile(here.photos() + "Big.jpg", NoiseBytes(kBig, 3));
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  bool stop = false;
  session->setStopCheck([&] { return stop; });
  const auto stopWithin = [&](qint64 fileSize) {
    const qint64 at = std::uniform_int_distribution<qint64>(4096, fileSize - 4096)(random);
    progress.onBytes = [&stop, at, fileSize](qint64 moved, qint64 size) {
      if (size == fileSize && moved >= at) stop = true;
    };
  };

  stopWithin(kBig);
  const PublishResult stopped = publish(here);
  EXPECT_TRUE(stopped.Stopped);
  EXPECT_FALSE(stopped.Completed);
  EXPECT_FALSE(QFile::exists(remoteFolder() + "Big.jpg"));
  EXPECT_EQ(photoPage("Big"), 404);
  stop = false;
  progress.onBytes = {};
  const PublishResult finished = publish(here);
  ASSERT_TRUE(finished.Completed) << finished.Error.toStdString();
  EXPECT_EQ(remoteFiles(), here.files());

  ProgramFolder there;
  stopWithin(kBig);
  const RetrieveResult cut = retrieve(there);
  EXPECT_TRUE(cut.Stopped);
  EXPECT_FALSE(QFile::exists(there.photos() + "Big.jpg"));
  EXPECT_EQ(there.leftovers(), QStringList());
  stop = false;
  progress.onBytes = {};
  const RetrieveResult whole = retrieve(there);
  ASSERT_TRUE(whole.Completed) << whole.Error.toStdString();
  EXPECT_EQ(there.files(), here.files());
}

}  // namespace
