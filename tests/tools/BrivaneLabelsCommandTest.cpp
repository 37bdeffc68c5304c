#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "labels/LabelTemplates.h"
#include "support/FileBytes.h"
#include "support/RequireTool.h"
#include "LimitedBrivaneRun.h"

namespace {
using Outcome = BrivaneOutcome;

// A colour of a palette whose members stay apart through JPEG and rendering: every
// channel at 0, 85, 170 or 255, and never white.
QRgb PaletteColour(int k) { return qRgb(k / 16 * 85, k / 4 % 4 * 85, k % 4 * 85); }
// The palette index of a pixel, or -1 for a colour between them.
int PaletteIndex(QRgb pixel) {
  int index = 0;
  for (int channel : {qRed(pixel), qGreen(pixel), qBlue(pixel)}) {
    const int level = (channel + 42) / 85;
    if (std::abs(channel - level * 85) > 30) return -1;
    index = index * 4 + level;
  }
  return index == 63 ? -1 : index;
}

// brivane labels on a fresh program folder that holds the shipped labels.dat.
class BrivaneLabelsCommandTest : public ::testing::Test {
 protected:
  BrivaneLabelsCommandTest() {
    QDir().mkpath(ProgramFolder());
    QFile::copy(QString(BRIVANE_PROGRAM_DIR) + "labels.dat", ProgramFolder() + "labels.dat");
    templates = LoadLabelTemplates(ProgramFolder() + "labels.dat");
  }

  QString ProgramFolder() const { return dir.path() + "/program/"; }
  QString File(const QString& name) const { return dir.path() + "/" + name; }

  // The tool, through a shell that may first limit what the run may do.
  Outcome Brivane(const QStringList& arguments, const QString& limits = {}) {
    return RunLimitedBrivane(dir.path(), ProgramFolder(), arguments, limits);
  }

  // Stores a photo of one colour, shaped like a label of the sheet.
  void Import(const QString& name, QRgb colour, const LabelTemplate& sheet) {
    QImage image(int(200 * sheet.LabelWidth / sheet.LabelHeight), 200, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(File(name + ".jpg"), "JPEG", 95));
    ASSERT_EQ(Brivane({"import", File(name + ".jpg")}).status, 0) << name.toStdString();
  }

  // The PDF's page as printed at 300 dpi.
  QImage Render(const QString& pdf) {
    if (!RequireTool("pdftoppm", "poppler-utils")) return {};
    QProcess pdftoppm;
    pdftoppm.start("pdftoppm", {"-r", "300", "-png", "-singlefile", pdf, File("page")});
    EXPECT_TRUE(pdftoppm.waitForFinished(60000));
    return QImage(File("page.png")).convertToFormat(QImage::Format_RGB32);
  }

  // Checks a printed sheet: every label shows the palette colour colourOf(k) over most of
  // it, and nothing lies outside the labels' rectangles as labels.dat gives them.
  void CheckPage(const QImage& page, const LabelTemplate& sheet,
                 const std::function<int(int)>& colourOf) {
    ASSERT_EQ(page.size(), QSize(2550, 3300));
    constexpr double kDpi = 300, kSlack = 0.5 / 25.4 * kDpi;
    std::vector<QRectF> labels;
    for (int r = 0; r < sheet.Rows; ++r)
      for (int c = 0; c < sheet.Columns; ++c)
        labels.emplace_back(QPointF(sheet.LeftMargin + c * sheet.HorizontalPitch,
                                    sheet.TopMargin + r * sheet.VerticalPitch) *
                                kDpi,
                            QSizeF(sheet.LabelWidth, sheet.LabelHeight) * kDpi);
    const auto within = [&](const QRectF& label, int x, int y) {
      return label.adjusted(-kSlack, -kSlack, kSlack, kSlack).contains(QPointF(x + 0.5, y + 0.5));
    };
    std::vector<int> index(size_t(page.width()) * size_t(page.height()));
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x)
        index[size_t(y) * size_t(page.width()) + size_t(x)] = PaletteIndex(page.pixel(x, y));
    // A pixel whose neighbours two pixels around have its colour: no edge blended with another.
    const auto core = [&](int x, int y) {
      const int own = index[size_t(y) * size_t(page.width()) + size_t(x)];
      if (own < 0 || x < 2 || y < 2 || x >= page.width() - 2 || y >= page.height() - 2) return -1;
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
          if (index[size_t(y + dy) * size_t(page.width()) + size_t(x + dx)] != own) return -1;
      return own;
    };
    std::vector<int> shown(labels.size());
    int outside = 0, misplaced = 0;
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x) {
        const QRgb pixel = page.pixel(x, y);
        const bool white = qRed(pixel) > 235 && qGreen(pixel) > 235 && qBlue(pixel) > 235;
        int in = -1;
        for (size_t k = 0; k < labels.size() && in < 0; ++k)
          if (within(labels[k], x, y)) in = int(k);
        if (in < 0) {
          outside += !white;
          continue;
        }
        const int colour = core(x, y);
        if (colour < 0) continue;
        if (colour == colourOf(in))
          ++shown[size_t(in)];
        else
          ++misplaced;
      }
    EXPECT_EQ(outside, 0) << sheet.Code.toStdString() << ": pixels printed outside every label";
    EXPECT_EQ(misplaced, 0) << sheet.Code.toStdString() << ": pixels of another label's photo";
    for (size_t k = 0; k < labels.size(); ++k)
      EXPECT_GT(shown[k], labels[k].width() * labels[k].height() * 0.5)
          << sheet.Code.toStdString() << " label " << k << " shows too little of its photo";
  }

  QTemporaryDir dir;
  LabelTemplateList templates;
};
}  // namespace

TEST_F(BrivaneLabelsCommandTest, ListsTheSheetsOfLabelsDat) {
  const Outcome run = Brivane({"labels", "templates"});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
  EXPECT_EQ(lines.size(), templates.TemplateCount());
  EXPECT_TRUE(
      lines.contains("5160\tAddress Labels 1 x 2-5/8 (30 per sheet)\t10 x 3\t2.625 x 1 in"));
  EXPECT_TRUE(
      lines.contains("5162\tAddress Labels 1-1/3 x 4 (14 per sheet)\t7 x 2\t4 x 1.333333 in"));

  EXPECT_TRUE(Brivane({"--help"}).out.contains("labels print PHOTO..."));
  EXPECT_TRUE(Brivane({"labels", "--help"}).out.startsWith("Usage: brivane labels templates"));
  EXPECT_EQ(Brivane({"labels"}).status, 2);
  EXPECT_EQ(Brivane({"labels", "templates", "extra"}).status, 2);
  QFile::remove(ProgramFolder() + "labels.dat");
  const Outcome missing = Brivane({"labels", "templates"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.err.contains("there are no label sheets in")) << missing.err.toStdString();
}

TEST_F(BrivaneLabelsCommandTest, EveryPhotoPrintsInsideItsLabel) {
  for (const char* code : {"5165", "C2353", "5160"}) {
    const LabelTemplate* sheet = templates.FindTemplateByCode(code);
    ASSERT_NE(sheet, nullptr) << code;
    QStringList photos;
    for (int k = 0; k < sheet->CellCount(); ++k) {
      photos << QString("%1 photo %2").arg(code).arg(k);
      Import(photos.last(), PaletteColour(k), *sheet);
    }
    const Outcome run = Brivane(
        QStringList({"labels", "print", "--template", code, "--pdf", File("sheet.pdf")}) + photos);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, File("sheet.pdf") + "\n");
    CheckPage(Render(File("sheet.pdf")), *sheet, [](int k) { return k; });
  }
  const LabelTemplate* sheet = templates.FindTemplateByCode("C2353");
  const Outcome run = Brivane({"labels", "print", "--template", "C2353", "--fill", "--pdf",
                               File("filled.pdf"), "C2353 photo 7"});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  CheckPage(Render(File("filled.pdf")), *sheet, [](int) { return 7; });
}

TEST_F(BrivaneLabelsCommandTest, RefusesWhatCannotBePrintedAndLeavesNoHalfFile) {
  const LabelTemplate* sheet = templates.FindTemplateByCode("C2353");
  Import("beach", PaletteColour(5), *sheet);
  Import("broken", PaletteColour(6), *sheet);
  WriteRaw(ProgramFolder() + "myphotos/broken.jpg", "not a picture");
  const QString pdf = File("sheet.pdf");
  WriteRaw(pdf, "an earlier sheet");
  struct Case {
    QStringList arguments;
    int status;
    const char* says;
    QString limits = {};
  };
  const QStringList print = {"labels", "print", "--pdf", pdf, "--template"};
  const Case cases[] = {
      {print + QStringList{"C9999", "beach"}, 1, "there is no label sheet 'C9999'"},
      {print + QStringList{"C2160", "beach", "beach"}, 1, "2 photos do not fit on the 1 labels"},
      {print + QStringList{"C2353", "beach", "gone"}, 1, "there is no photo named 'gone'"},
      {print + QStringList{"C2353", "beach", "broken"}, 1, "cannot read the photo 'broken'"},
      {print + QStringList{"C2353", "--fill", "beach", "beach"}, 2, "--fill puts one photo"},
      {print + QStringList{"C2353"}, 2, "no photos to print"},
      {{"labels", "print", "--template", "C2353", "beach"}, 2, "--pdf names the file"},
      {{"labels", "print", "--template", "C2353", "--pdf", File("none/sheet.pdf"), "beach"},
       1,
       "cannot write"},
      // A disk that fills up half way: the earlier sheet stays as it was.
      {print + QStringList{"C2353", "--fill", "beach"}, 1, "cannot write",
       "trap '' XFSZ; ulimit -f 16;"},
  };
  for (const Case& c : cases) {
    const Outcome run = Brivane(c.arguments, c.limits);
    EXPECT_EQ(run.status, c.status) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains(c.says)) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_EQ(ReadAll(pdf), "an earlier sheet");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter("sheet").size(), 1)
        << "a half file was left";
  }
}
