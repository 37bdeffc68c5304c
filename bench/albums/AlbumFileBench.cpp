// photos.dat of 1,000 albums of 10 pages each, the pages' layouts cycling through the album
// layouts of labels.dat: saving it (SaveAlbums) and loading it (LoadAlbums), median of runs.
//   bench_album_file LABELS_DAT     prints the figures as "key value" lines
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "albums/AlbumFile.h"
#include "labels/LabelTemplate.h"
#include "labels/LabelTemplates.h"

namespace {
constexpr int kAlbums = 1000;
constexpr int kPagesEach = 10;
constexpr int kRuns = 7;

const char* const kSubjects[] = {"Beach",     "Birthday",   "Garden",    "Wedding", "Hiking",
                                 "Christmas", "Graduation", "Road trip", "Grandma", "Puppy"};

// Names as people give photos: camera names, subjects with a number, now and then a copy.
QString PhotoName(int n) {
  switch (n % 4) {
    case 0:
      return QStringLiteral("IMG_%1").arg(n % 10000, 4, 10, QChar('0'));
    case 1:
      return QStringLiteral("%1 %2").arg(kSubjects[n % 10]).arg(n % 97);
    case 2:
      return QStringLiteral("%1 && friends (%2)").arg(kSubjects[n / 7 % 10]).arg(n % 5 + 2);
    default:
      return QStringLiteral("DSC%1").arg(n % 100000, 5, 10, QChar('0'));
  }
}

std::vector<PhotoAlbum> MakeAlbums(const LabelTemplateList& templates) {
  const QStringList& codes = LabelTemplateList::AlbumLayoutCodes();
  std::vector<PhotoAlbum> albums(kAlbums);
  int photo = 0;
  for (int a = 0; a < kAlbums; ++a) {
    albums[a].Name = QStringLiteral("%1 %2").arg(kSubjects[a % 10]).arg(1990 + a % 35);
    for (int p = 0; p < kPagesEach; ++p) {
      const QString& code = codes[(a * kPagesEach + p) % codes.size()];
      AlbumPage page = AlbumPage::Blank(templates.FindTemplateByCode(code));
      page.LayoutCode = code;
      const int places = std::max(int(page.Names.size()), 4);
      // About one place in six left blank.
      for (int k = 0; k < places; ++k)
        if (++photo % 6) page.SetName(k, PhotoName(photo));
      if (p % 3 == 0)
        page.WebLink = QStringLiteral("http://albums.example.com/%s/a%1/p%2.html").arg(a).arg(p);
      albums[a].Pages.push_back(std::move(page));
    }
  }
  return albums;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s LABELS_DAT\n", argv[0]);
    return 2;
  }
  const LabelTemplateList templates = LoadLabelTemplates(QString::fromLocal8Bit(argv[1]));
  if (templates.AlbumLayouts().empty()) {
    std::fprintf(stderr, "%s has no album layouts\n", argv[1]);
    return 1;
  }
  const std::vector<PhotoAlbum> albums = MakeAlbums(templates);
  QTemporaryDir dir;
  const QString file = dir.filePath(kAlbumFileName);
  using Clock = std::chrono::steady_clock;

  std::vector<double> saves, loads;
  std::vector<PhotoAlbum> loaded;
  for (int run = 0; run < kRuns; ++run) {
    auto started = Clock::now();
    if (!SaveAlbums(file, albums)) {
      std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
      return 1;
    }
    saves.push_back(Ms(Clock::now() - started));
    started = Clock::now();
    loaded = LoadAlbums(file, templates);
    loads.push_back(Ms(Clock::now() - started));
  }
  qsizetype places = 0;
  for (const PhotoAlbum& album : albums)
    for (const AlbumPage& page : album.Pages) places += page.Names.size();
  const bool same = WriteAlbums(loaded) == WriteAlbums(albums);

  std::printf("albums %d\n", kAlbums);
  std::printf("pages %d\n", kAlbums * kPagesEach);
  std::printf("places %lld\n", static_cast<long long>(places));
  std::printf("file_bytes %lld\n", static_cast<long long>(QFileInfo(file).size()));
  std::printf("save_ms %.1f\n", Median(saves));
  std::printf("load_ms %.1f\n", Median(loads));
  std::printf("round_trip %s\n", same ? "same" : "different");
  std::printf("peak_rss_kb %ld\n", StatusKb("VmHWM:"));
  return same ? 0 : 1;
}
