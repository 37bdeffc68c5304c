// A label sheet of 30 labels (Avery 5160) holding 30 different 12-megapixel photos: placing
// them on the sheet, the memory they hold, painting the sheet in a page view and printing
// it as a 600 dpi PDF.
//   bench_label_sheet generate PROGRAM_FOLDER N   stores N photos of 4000 x 3000 (once)
//   bench_label_sheet run PROGRAM_FOLDER          prints the figures as "key value" lines
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "dis/DeviceContext.h"
#include "krn/ltkrn.h"
#include "labels/LabelTemplates.h"
#include "labels/PageCells.h"
#include "labels/ScaledPictureCache.h"
#include "labels/SheetPrinting.h"
#include "labels/TemplatePagePainter.h"
#include "library/PhotoNames.h"
#include "library/PhotoStore.h"

namespace {
constexpr const char* kSheet = "5160";
const QSize kView(640, 828);

QString Stem(int i) { return QStringLiteral("photo %1").arg(i, 2, 10, QChar('0')); }

int Generate(const QString& programFolder, int count) {
  PhotoStore store(programFolder + "myphotos/");
  if (!store.EnsureFolder()) return 1;
  for (int i = 0; i < count; ++i) {
    if (store.Contains(Stem(i))) continue;
    ImageBitmap working = PhotoLikePicture(4000, 3000, i);
    if (store.StorePhoto(working, Stem(i), QString()) != SUCCESS) return 1;
    if (i % 10 == 9) std::fprintf(stderr, "generated %d of %d photos\n", i + 1, count);
  }
  return 0;
}

int Run(const QString& programFolder) {
  const LabelTemplateList templates = LoadLabelTemplates(programFolder + "labels.dat");
  const LabelTemplate* sheet = templates.FindTemplateByCode(kSheet);
  PhotoStore store(programFolder + "myphotos/");
  QStringList stems = store.Stems();
  std::sort(stems.begin(), stems.end());
  if (!sheet || stems.size() < sheet->CellCount()) {
    std::fprintf(stderr, "the program folder needs labels.dat and %d photos\n",
                 sheet ? sheet->CellCount() : 30);
    return 1;
  }
  using Clock = std::chrono::steady_clock;

  // Placing, as picking photos for the sheet does: each photo decoded and reduced for the
  // screen (on the worker), then given to its label with its reduced copy.
  const long rssBefore = StatusKb("VmRSS:");
  PageCells cells;
  cells.Rebuild(sheet->CellCount());
  ScaledPictureCache cache;
  auto started = Clock::now();
  for (int k = 0; k < sheet->CellCount(); ++k) {
    ImageBitmap picture;
    if (store.LoadPhoto(picture, stems[k]) != SUCCESS) return 1;
    ImageBitmap reduced = ScaledPictureCache::ReducedForScreen(picture);
    cells.Give(k, picture, NameForStem(stems[k]));
    cache.AddReduced(cells.Cell(k).Working, std::move(reduced));
  }
  const double placeMs = Ms(Clock::now() - started);
  const long rssPlaced = StatusKb("VmRSS:");
  qint64 pixelBytes = 0;
  for (int k = 0; k < cells.Count(); ++k) pixelBytes += cells.Cell(k).Base->Pixels.sizeInBytes();

  // The page view: the first paint scales every reduced photo to its label once, a redraw none.
  QImage view(kView, QImage::Format_RGB32);
  view.fill(Qt::white);
  QPainter painter(&view);
  DeviceContext dc(painter, kView);
  PageDevice device;
  device.Target = kView;
  PageViewState state;
  const CellPictureSource source = [&](int cell, QSize size) {
    return cache.Scaled(cells.Cell(cell).Working, size);
  };
  const auto draw = [&] {
    const auto start = Clock::now();
    DrawTemplatePage(dc, device, *sheet, cells, state, source);
    return Ms(Clock::now() - start);
  };
  const double firstPaint = draw();
  const double redraw = draw();
  std::vector<double> redraws;
  for (int i = 0; i < 25; ++i) redraws.push_back(draw());
  std::sort(redraws.begin(), redraws.end());
  // Another label selected: its photo is shown a pixel shorter, so it is scaled again from
  // its reduced copy.
  SelectAtPoint(state, state.Places[4].Rect.center(), sheet->Columns);
  const double selectRedraw = draw();
  painter.end();
  const long rssPainted = StatusKb("VmRSS:");

  QTemporaryDir dir;
  const QString pdf = dir.filePath("sheet.pdf");
  started = Clock::now();
  const QString error = PrintSheetToPdf(pdf, *sheet, cells, 600);
  const double pdfMs = Ms(Clock::now() - started);
  if (!error.isEmpty()) {
    std::fprintf(stderr, "printing failed: %s\n", qPrintable(error));
    return 1;
  }

  std::printf("photos %d\n", cells.Count());
  std::printf("photo_size %dx%d\n", cells.Cell(0).Base->Width, cells.Cell(0).Base->Height);
  std::printf("place_ms %.0f\n", placeMs);
  std::printf("rss_growth_kb %ld\n", rssPlaced - rssBefore);
  std::printf("held_pixels_kb %lld\n", pixelBytes / 1024);
  std::printf("first_paint_ms %.1f\n", firstPaint);
  std::printf("redraw_ms %.2f\n", redraw);
  std::printf("redraw_median_ms %.2f\n", redraws[redraws.size() / 2]);
  std::printf("select_redraw_ms %.2f\n", selectRedraw);
  std::printf("scaled_cache_growth_kb %ld\n", rssPainted - rssPlaced);
  std::printf("pdf_ms %.0f\n", pdfMs);
  std::printf("pdf_bytes %lld\n", QFileInfo(pdf).size());
  std::printf("peak_rss_kb %ld\n", StatusKb("VmHWM:"));
  if (qEnvironmentVariableIsSet("BENCH_KEEP_PDF"))
    QFile::copy(pdf, qEnvironmentVariable("BENCH_KEEP_PDF"));
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const auto folder = [&] { return args[2].endsWith('/') ? args[2] : args[2] + '/'; };
  if (args.size() == 4 && args[1] == "generate") return Generate(folder(), args[3].toInt());
  if (args.size() == 3 && args[1] == "run") return Run(folder());
  std::fprintf(stderr, "usage: %s generate PROGRAM_FOLDER COUNT | run PROGRAM_FOLDER\n", argv[0]);
  return 2;
}
