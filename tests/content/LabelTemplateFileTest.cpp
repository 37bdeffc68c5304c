// labels.dat as shipped: it must read back whole the way the program reads it, and every
// template must describe a sheet that really fits on US-letter paper.

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "labels/LabelTemplates.h"

namespace {
constexpr double kSlack = 1e-6;

class LabelTemplateFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString path = QStringLiteral(BRIVANE_PROGRAM_DIR "labels.dat");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "labels.dat is not in the program folder";
    bytes = file.readAll();
    list = LoadLabelTemplates(path);
    for (const QString& line : QString::fromUtf8(bytes).split(u'\n')) {
      const QString trimmed = line.trimmed();
      if (trimmed.isEmpty() || trimmed.startsWith(u';')) continue;
      if (firstLine.isEmpty()) firstLine = trimmed;
      if (trimmed.contains(u',')) templateLines << trimmed;
    }
    for (const TemplateGroup& g : list.Groups())
      for (const LabelTemplate* t : g.Templates) all.push_back(t);
  }

  QByteArray bytes;
  QString firstLine;
  QStringList templateLines;
  LabelTemplateList list;
  std::vector<const LabelTemplate*> all;
};

const QStringList kAlbumCodes = {QStringLiteral("C2166"), QStringLiteral("C2242"),
                                 QStringLiteral("C2244"), QStringLiteral("C2352"),
                                 QStringLiteral("C2353"), QStringLiteral("C2160"),
                                 QStringLiteral("C3274")};
}  // namespace

TEST_F(LabelTemplateFile, LinesKeepTheFileFormatsLimits) {
  ASSERT_FALSE(bytes.isEmpty());
  EXPECT_TRUE(bytes.endsWith('\n')) << "the last line needs its line feed";
  for (const QByteArray& line : bytes.split('\n'))
    EXPECT_LE(line.size(), 511) << line.toStdString();
}

TEST_F(LabelTemplateFile, TheCountsAnnounceExactlyTheLinesThere) {
  bool number = false;
  EXPECT_EQ(firstLine.toInt(&number), int(list.Groups().size()));
  EXPECT_TRUE(number) << firstLine.toStdString();
  // Every template line was read as one: no count is short, none left lines over.
  EXPECT_EQ(list.TemplateCount(), templateLines.size());
  ASSERT_EQ(int(all.size()), list.TemplateCount());
  for (int k = 0; k < list.TemplateCount(); ++k)
    EXPECT_EQ(all[size_t(k)]->Code, templateLines[k].section(u',', 7, 7)) << k;
}

TEST_F(LabelTemplateFile, EveryTemplateHasAllColumnsWithNumbersWhereNumbersBelong) {
  ASSERT_FALSE(templateLines.isEmpty());
  for (const QString& line : templateLines) {
    const QStringList columns = line.split(u',');
    const std::string code = columns.value(7).toStdString();
    // Exactly 27: a stray comma in a text would shift every measure after it.
    EXPECT_EQ(columns.size(), LabelTemplate::kColumnCount) << code;
    for (int column : {7, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27}) {
      bool number = false;
      columns.value(column - 1).toDouble(&number);
      EXPECT_TRUE(number) << code << " column " << column << " is '"
                          << columns.value(column - 1).toStdString() << "'";
    }
  }
  for (const LabelTemplate* t : all) {
    const std::string code = t->Code.toStdString();
    for (const QString& text : {t->Category, t->Code, t->Name, t->Comments})
      EXPECT_FALSE(text.trimmed().isEmpty()) << code;
    EXPECT_EQ(t->Code, t->Code.trimmed()) << "codes are compared exactly: " << code;
  }
}

TEST_F(LabelTemplateFile, EveryTemplateFitsOnALetterPageWithoutOverlaps) {
  for (const LabelTemplate* t : all) {
    const std::string code = t->Code.toStdString();
    EXPECT_GT(t->LabelWidth, 0) << code;
    EXPECT_GT(t->LabelHeight, 0) << code;
    EXPECT_GE(t->Columns, 1) << code;
    EXPECT_GE(t->Rows, 1) << code;
    EXPECT_GE(t->TopMargin, 0) << code;
    EXPECT_GE(t->LeftMargin, 0) << code;
    const double across = (t->Columns - 1) * t->HorizontalPitch + t->LabelWidth;
    EXPECT_LE(t->LeftMargin + across, LabelTemplate::kPageWidth + kSlack) << code;
    EXPECT_LE(t->PreviewLeftMargin + across, LabelTemplate::kPageWidth + kSlack) << code;
    EXPECT_LE(t->TopMargin + (t->Rows - 1) * t->VerticalPitch + t->LabelHeight,
              LabelTemplate::kPageHeight + kSlack)
        << code;
    if (t->Columns > 1) {
      EXPECT_GE(t->HorizontalPitch + kSlack, t->LabelWidth) << code << " labels overlap across";
    }
    if (t->Rows > 1) {
      EXPECT_GE(t->VerticalPitch + kSlack, t->LabelHeight) << code << " labels overlap down";
    }
  }
}

TEST_F(LabelTemplateFile, GroupsAreOnesTheChooserAccepts) {
  bool avery = false, kodak = false;
  for (const TemplateGroup& g : list.Groups()) {
    avery |= g.Name.contains(QStringLiteral("Avery"));
    kodak |= g.Name.contains(QStringLiteral("Kodak"));
    // The chooser confirms a pick only on Avery and Kodak tabs.
    EXPECT_TRUE(g.Name.contains(QStringLiteral("Avery")) ||
                g.Name.contains(QStringLiteral("Kodak")))
        << g.Name.toStdString();
    EXPECT_FALSE(g.Templates.empty()) << g.Name.toStdString();
  }
  EXPECT_TRUE(avery);
  EXPECT_TRUE(kodak);
}

TEST_F(LabelTemplateFile, AlbumLayoutsAreAllThereOnceWithDistinctGrids) {
  // Each code once: a code standing twice would be listed twice among the layouts.
  std::vector<QString> codes;
  for (const LabelTemplate* t : list.AlbumLayouts()) codes.push_back(t->Code);
  std::sort(codes.begin(), codes.end());
  std::vector<QString> expected(kAlbumCodes.begin(), kAlbumCodes.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(codes, expected);

  std::set<std::pair<int, int>> grids;
  int fewest = 1000, most = 0;
  for (const LabelTemplate* t : list.AlbumLayouts()) {
    // Web albums pick their layout by rows and columns, so no two may share a grid.
    EXPECT_TRUE(grids.insert({t->Rows, t->Columns}).second) << t->Code.toStdString();
    EXPECT_EQ(list.FindAlbumLayoutBySize(t->Rows, t->Columns), t) << t->Code.toStdString();
    fewest = std::min(fewest, t->CellCount());
    most = std::max(most, t->CellCount());
  }
  EXPECT_EQ(fewest, 1);
  EXPECT_GE(most, 16);
  EXPECT_LE(most, 24);
  ASSERT_NE(list.DefaultLabelTemplate(), nullptr);
  ASSERT_NE(list.DefaultAlbumLayout(), nullptr);
  EXPECT_EQ(list.DefaultLabelTemplate()->Code, LabelTemplateList::kDefaultLabelCode);
  EXPECT_EQ(list.DefaultAlbumLayout()->Code, LabelTemplateList::kDefaultAlbumCode);
}

TEST_F(LabelTemplateFile, RealProductsCarryTheirPublishedMeasures) {
  struct Product {
    const char* code;
    double width, height;
    int cols, rows;
    double top, left, hPitch, vPitch;
  };
  const Product products[] = {
      {"5160", 2.625, 1, 3, 10, 0.5, 0.15625, 2.78125, 1},
      {"5161", 4, 1, 2, 10, 0.5, 0.15625, 4.1875, 1},
      {"5163", 4, 2, 2, 5, 0.5, 0.1625, 4.1875, 2},
      {"5164", 4, 3.333333, 2, 3, 0.5, 0.15625, 4.1875, 3.333333},
      {"5168", 3.5, 5, 2, 2, 0.5, 0.5, 4, 5},
      {"3274.1", 2.5, 2.5, 3, 3, 1.25, 0.3125, 2.6875, 3},
  };
  for (const Product& p : products) {
    const LabelTemplate* t = list.FindTemplateByCode(QString::fromLatin1(p.code));
    ASSERT_NE(t, nullptr) << p.code;
    // Read as the nearest double: exactly what the decimal says.
    EXPECT_EQ(t->LabelWidth, p.width) << p.code;
    EXPECT_EQ(t->LabelHeight, p.height) << p.code;
    EXPECT_EQ(t->Columns, p.cols) << p.code;
    EXPECT_EQ(t->Rows, p.rows) << p.code;
    EXPECT_EQ(t->TopMargin, p.top) << p.code;
    EXPECT_EQ(t->LeftMargin, p.left) << p.code;
    EXPECT_EQ(t->PreviewLeftMargin, p.left) << p.code;
    EXPECT_EQ(t->HorizontalPitch, p.hPitch) << p.code;
    EXPECT_EQ(t->VerticalPitch, p.vPitch) << p.code;
  }
}
