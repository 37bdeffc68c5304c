#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "shows/ShowBuild.h"
#include "shows/ShowFileWriter.h"
#include "system/RegistryStore.h"
#include "support/FileBytes.h"

namespace {
void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

QList<qint32> TrailerIntegers(const QByteArray& show, qsizetype count) {
  QList<qint32> values;
  for (qsizetype i = show.size() - 4 * count; i < show.size(); i += 4)
    values << qFromLittleEndian<qint32>(show.constData() + i);
  return values;
}

// A program folder of small stand-ins, a photo folder and a target folder.
class ShowBuildTest : public ::testing::Test {
 protected:
  ShowBuildTest() {
    for (const QString& folder : {Programs(), Photos(), Target()}) QDir().mkpath(folder);
    for (const QString file : {"mirrant", "pavonel", "corilan", "lfcmp10n.dll", "ltdis10n.dll",
                               "ltfil10n.dll", "ltkrn10n.dll", "ltefx10n.dll"})
      Write(Programs() + file, "<" + file.toUtf8() + QByteArray(file.size() * 7, '#') + ">");
    for (const QString stem : {"Beach", "Dog & Cat", "Sunset"})
      Write(Photos() + stem + ".jpg", "\xff\xd8" + stem.toUtf8().repeated(50) + "\xff\xd9");
  }

  QString Programs() const { return dir.path() + "/program/"; }
  QString Photos() const { return dir.path() + "/photos/"; }
  QString Target() const { return dir.path() + "/shows/"; }

  ShowBuildRequest Request(ShowKind kind, const QStringList& stems, const QString& name = "Trip") {
    ShowBuildRequest request;
    request.Kind = kind;
    request.ProgramFolder = Programs();
    request.PhotoFolder = Photos();
    request.PhotoStems = stems;
    request.Name = name;
    request.Folder = Target();
    return request;
  }

  // Checks that the show is the launcher, then every piece at its offset, then the trailer.
  void ExpectLayout(const ShowBuildResult& result, const QStringList& pieces) {
    const QByteArray show = ReadAll(result.Target);
    const QList<qint32> starts =
        result.Header.mid(0, pieces.size() - result.PhotoOffsets.size()) + result.PhotoOffsets;
    ASSERT_EQ(starts.size(), pieces.size());
    EXPECT_EQ(show.left(starts[0]), ReadAll(Programs() + "mirrant"));
    const qsizetype trailer = show.size() - 4 * (6 + result.PhotoOffsets.size() + 1);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
      const qsizetype end = i + 1 < pieces.size() ? starts[i + 1] : trailer;
      EXPECT_EQ(show.mid(starts[i], end - starts[i]), ReadAll(pieces[i]))
          << pieces[i].toStdString();
    }
    EXPECT_EQ(show.mid(trailer), ShowFileWriter::Trailer(result.Header, result.PhotoOffsets));
  }

  QStringList FilesInTarget() const { return QDir(Target()).entryList(QDir::Files | QDir::Hidden); }

  QTemporaryDir dir;
};
}  // namespace

TEST_F(ShowBuildTest, ASlideShowIsTheLauncherThePiecesAndTenTrailerIntegers) {
  const ShowBuildResult result = BuildShow(
      Request(ShowKind::SlideShow, {"Beach", "Dog & Cat", "Sunset"}, "  Trip  "), nullptr);
  ASSERT_EQ(result.Result, kShowBuilt) << result.Error.toStdString();
  EXPECT_EQ(result.Target, Target() + "Trip.exe");
  EXPECT_EQ(FilesInTarget(), QStringList({"Trip.exe"}));  // no temporary left beside it
  EXPECT_EQ(QFile::permissions(result.Target) & 0x7077, QFileDevice::Permissions(0x7055));  // 0755

  const QByteArray show = ReadAll(result.Target);
  const QList<qint32> trailer = TrailerIntegers(show, 10);
  EXPECT_EQ(trailer[5], 0);
  EXPECT_EQ(trailer[9], 3);
  EXPECT_EQ(trailer.mid(0, 6), result.Header);
  EXPECT_EQ(trailer.mid(6, 3), result.PhotoOffsets);
  ExpectLayout(result,
               {Programs() + "pavonel", Programs() + "lfcmp10n.dll", Programs() + "ltdis10n.dll",
                Programs() + "ltfil10n.dll", Programs() + "ltkrn10n.dll", Photos() + "Beach.jpg",
                Photos() + "Dog & Cat.jpg", Photos() + "Sunset.jpg"});
}

TEST_F(ShowBuildTest, TheSamePhotoChosenThreeTimesIsStoredThreeTimes) {
  const ShowBuildResult result =
      BuildShow(Request(ShowKind::SlideShow, {"Sunset", "Sunset", "Sunset"}), nullptr);
  ASSERT_EQ(result.Result, kShowBuilt);
  EXPECT_EQ(TrailerIntegers(ReadAll(result.Target), 1), QList<qint32>({3}));
  const QByteArray photo = ReadAll(Photos() + "Sunset.jpg");
  EXPECT_EQ(ReadAll(result.Target).count(photo), 3);
}

TEST_F(ShowBuildTest, AScreenSaverCarriesTheEffectsModuleAndSetsTheRegistryOnlyWhenAsked) {
  RegistryStore registry(dir.path() + "/registry.ini");
  ShowBuildRequest request = Request(ShowKind::ScreenSaver, {"Beach", "Sunset"}, "Holiday");
  ShowBuildResult result = BuildShow(request, &registry);
  ASSERT_EQ(result.Result, kShowBuilt) << result.Error.toStdString();
  EXPECT_EQ(result.Target, Target() + "Holiday.scr");
  const QList<qint32> trailer = TrailerIntegers(ReadAll(result.Target), 9);
  EXPECT_NE(trailer[5], 0);
  EXPECT_EQ(trailer[8], 2);
  ExpectLayout(result,
               {Programs() + "corilan", Programs() + "lfcmp10n.dll", Programs() + "ltdis10n.dll",
                Programs() + "ltfil10n.dll", Programs() + "ltkrn10n.dll",
                Programs() + "ltefx10n.dll", Photos() + "Beach.jpg", Photos() + "Sunset.jpg"});
  EXPECT_FALSE(registry.queryValue("Control Panel\\Desktop", "SCRNSAVE.EXE"));
  EXPECT_FALSE(registry.queryValue("Control Panel\\Desktop", "ScreenSaveActive"));

  // The flag means nothing for a slide show.
  request.Kind = ShowKind::SlideShow;
  request.UseAsScreenSaver = true;
  ASSERT_EQ(BuildShow(request, &registry).Result, kShowBuilt);
  EXPECT_FALSE(registry.queryValue("Control Panel\\Desktop", "SCRNSAVE.EXE"));

  request.Kind = ShowKind::ScreenSaver;
  request.XScreenSaverFile = Target() + ".xscreensaver";
  result = BuildShow(request, &registry);
  ASSERT_EQ(result.Result, kShowBuilt) << result.Error.toStdString();
  EXPECT_EQ(registry.queryValue("Control Panel\\Desktop", "SCRNSAVE.EXE"), result.Target);
  EXPECT_EQ(registry.queryValue("Control Panel\\Desktop", "ScreenSaveActive"), "1");
  // xscreensaver runs it too.
  const QByteArray xscreensaver = ReadAll(request.XScreenSaverFile);
  EXPECT_TRUE(xscreensaver.contains("\"Holiday\"  '" + result.Target.toUtf8() + "' -root")) << xscreensaver.constData();
  EXPECT_TRUE(xscreensaver.contains("selected:\t\t0\n"));
}

TEST_F(ShowBuildTest, AMissingPieceOrPhotoIsAnEmptyPiece) {
  QFile::remove(Programs() + "pavonel");
  const ShowBuildResult result =
      BuildShow(Request(ShowKind::SlideShow, {"Beach", "Deleted since", "Sunset"}), nullptr);
  ASSERT_EQ(result.Result, kShowBuilt) << result.Error.toStdString();
  EXPECT_EQ(result.Header[0], result.Header[1]);
  EXPECT_EQ(result.PhotoOffsets[1], result.PhotoOffsets[2]);
  EXPECT_EQ(TrailerIntegers(ReadAll(result.Target), 1), QList<qint32>({3}));
}

TEST_F(ShowBuildTest, AFailedBuildReportsWhyAndLeavesTheEarlierShowAlone) {
  ASSERT_EQ(BuildShow(Request(ShowKind::SlideShow, {"Beach"}), nullptr).Result, kShowBuilt);
  const QByteArray earlier = ReadAll(Target() + "Trip.exe");

  for (const QString& name :
       QStringList{"", "   ", "../Trip", "a/b", "..", QString("Tr") + QChar(0) + "ip", "Trip\nTwo",
                   "Tab\there", QString(QChar(0x200B)), QString("half") + QChar(0xD800)}) {
    const ShowBuildResult result =
        BuildShow(Request(ShowKind::SlideShow, {"Beach"}, name), nullptr);
    EXPECT_EQ(result.Result, kShowBadRequest) << name.toStdString();
    EXPECT_FALSE(result.Error.isEmpty());
  }
  EXPECT_EQ(BuildShow(Request(ShowKind::SlideShow, {}), nullptr).Result, kShowBadRequest);

  // More than the format's 32-bit offsets can address: refused before anything is copied.
  QFile huge(Photos() + "Huge.jpg");
  ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
  ASSERT_TRUE(huge.resize(qint64(1) << 31));
  huge.close();
  ShowBuildResult result = BuildShow(Request(ShowKind::SlideShow, {"Sunset", "Huge"}), nullptr);
  EXPECT_EQ(result.Result, kShowTooLarge);
  EXPECT_TRUE(result.Error.contains("larger")) << result.Error.toStdString();

  QFile::remove(Programs() + "mirrant");
  result = BuildShow(Request(ShowKind::SlideShow, {"Sunset"}), nullptr);
  EXPECT_EQ(result.Result, kShowNoLauncher);
  EXPECT_TRUE(result.Error.contains("mirrant"));

  EXPECT_EQ(FilesInTarget(), QStringList({"Trip.exe"}));
  EXPECT_EQ(ReadAll(Target() + "Trip.exe"), earlier);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST(ShowFileTest, TheTrailerIsLittleEndianHeaderPhotosAndCount) {
  const QByteArray trailer =
      ShowFileWriter::Trailer({0x01020304, 2, 3, 4, 5, 0}, {0x7fffffff, 300});
  ASSERT_EQ(trailer.size(), 4 * 9);
  EXPECT_EQ(trailer.left(4), QByteArray("\x04\x03\x02\x01", 4));
  EXPECT_EQ(trailer.mid(20, 4), QByteArray(4, '\0'));
  EXPECT_EQ(trailer.mid(24, 8), QByteArray("\xff\xff\xff\x7f\x2c\x01\x00\x00", 8));
  EXPECT_EQ(trailer.right(4), QByteArray("\x02\x00\x00\x00", 4));
}
