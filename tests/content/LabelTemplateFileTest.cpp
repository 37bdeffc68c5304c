// labels.dat as shipped: it must read back the way the program reads it, and every
// template must describe a sheet that really fits on US-letter paper.

#include <QFile>
#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace {
constexpr int kColumns = 27;
constexpr double kPageWidth = 8.5;
constexpr double kPageHeight = 11.0;
constexpr double kSlack = 1e-6;

struct Template {
  QStringList columns;  // always kColumns entries
  int sourceColumns = 0;
  QString text(int column) const { return columns[column - 1]; }
  std::optional<double> number(int column) const {
    bool ok = false;
    const double value = columns[column - 1].toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
  }
  double width() const { return *number(16); }
  double height() const { return *number(17); }
  int cols() const { return int(*number(18)); }
  int rows() const { return int(*number(19)); }
  double top() const { return *number(20); }
  double left() const { return *number(22); }
  double previewLeft() const { return *number(23); }
  double hPitch() const { return *number(24); }
  double vPitch() const { return *number(25); }
};

struct Group {
  QString name;
  std::vector<Template> templates;
};

// The reading rules of the program: lines end at a line feed, trailing white space goes,
// lines starting with ';' are skipped, and a template line is cut at its first 26 commas.
class LabelsReader {
 public:
  explicit LabelsReader(const QByteArray& bytes) {
    const QString text = QString::fromUtf8(bytes);
    m_lines = text.split(u'\n');
    // The file ends with a line feed, which leaves one empty piece after it.
    if (!m_lines.isEmpty() && m_lines.last().isEmpty()) m_lines.removeLast();
    for (QString& line : m_lines) {
      while (!line.isEmpty() && line.back().isSpace()) line.chop(1);
    }
  }

  bool read(std::vector<Group>& groups, QString& error) {
    bool ok = false;
    const int groupCount = next().toInt(&ok);
    if (!ok || groupCount <= 0) return fail(error, QStringLiteral("no group count"));
    for (int g = 0; g < groupCount; ++g) {
      Group group;
      if (atEnd()) return fail(error, QStringLiteral("missing group %1").arg(g + 1));
      group.name = next();
      const int count = next().toInt(&ok);
      if (!ok || count <= 0) return fail(error, QStringLiteral("bad count in ") + group.name);
      for (int t = 0; t < count; ++t) {
        if (atEnd()) return fail(error, QStringLiteral("missing template in ") + group.name);
        group.templates.push_back(cut(next()));
      }
      groups.push_back(std::move(group));
    }
    if (!atEnd()) return fail(error, QStringLiteral("lines after the last group: ") + next());
    return true;
  }

  const QStringList& lines() const { return m_lines; }

 private:
  static bool fail(QString& error, const QString& why) {
    error = why;
    return false;
  }
  void skipComments() {
    while (m_at < m_lines.size() && m_lines[m_at].startsWith(u';')) ++m_at;
  }
  bool atEnd() {
    skipComments();
    return m_at >= m_lines.size();
  }
  QString next() {
    skipComments();
    return m_at < m_lines.size() ? m_lines[m_at++] : QString();
  }
  static Template cut(const QString& line) {
    Template t;
    QStringList parts = line.split(u',');
    t.sourceColumns = int(parts.size());
    while (parts.size() > kColumns) parts[kColumns - 1] += u',' + parts.takeAt(kColumns);
    while (parts.size() < kColumns) parts << QString();
    t.columns = parts;
    return t;
  }

  QStringList m_lines;
  qsizetype m_at = 0;
};

class LabelTemplateFile : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile file(QStringLiteral(BRIVANE_PROGRAM_DIR "labels.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "labels.dat is not in the program folder";
    bytes = file.readAll();
    LabelsReader reader(bytes);
    QString error;
    ASSERT_TRUE(reader.read(groups, error)) << error.toStdString();
    lines = reader.lines();
    for (const Group& g : groups)
      for (const Template& t : g.templates) all.push_back(&t);
  }

  const Template* find(const QString& code) const {
    for (const Template* t : all)
      if (t->text(8) == code) return t;
    return nullptr;
  }

  QByteArray bytes;
  QStringList lines;
  std::vector<Group> groups;
  std::vector<const Template*> all;
};

const QStringList kAlbumCodes = {QStringLiteral("C2166"), QStringLiteral("C2242"), QStringLiteral("C2244"),
                                 QStringLiteral("C2352"), QStringLiteral("C2353"), QStringLiteral("C2160"),
                                 QStringLiteral("C3274")};
}  // namespace

TEST_F(LabelTemplateFile, LinesKeepTheFileFormatsLimits) {
  ASSERT_FALSE(bytes.isEmpty());
  EXPECT_TRUE(bytes.endsWith('\n')) << "the last line needs its line feed";
  for (const QString& line : lines) {
    EXPECT_LE(line.toUtf8().size(), 511) << line.toStdString();
  }
}

TEST_F(LabelTemplateFile, EveryTemplateHasAllColumnsWithNumbersWhereNumbersBelong) {
  ASSERT_FALSE(all.empty());
  for (const Template* t : all) {
    const std::string code = t->text(8).toStdString();
    // Exactly 27: a stray comma in a text would shift every measure after it.
    EXPECT_EQ(t->sourceColumns, kColumns) << code;
    for (int column : {7, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27})
      EXPECT_TRUE(t->number(column).has_value()) << code << " column " << column << " is '"
                                                 << t->text(column).toStdString() << "'";
    for (int column : {1, 8, 9, 10})
      EXPECT_FALSE(t->text(column).trimmed().isEmpty()) << code << " column " << column;
    EXPECT_EQ(t->text(8), t->text(8).trimmed()) << "codes are compared exactly: " << code;
  }
}

TEST_F(LabelTemplateFile, EveryTemplateFitsOnALetterPageWithoutOverlaps) {
  for (const Template* t : all) {
    const std::string code = t->text(8).toStdString();
    if (!t->number(25)) continue;  // reported by the column test
    EXPECT_GT(t->width(), 0) << code;
    EXPECT_GT(t->height(), 0) << code;
    EXPECT_GE(t->cols(), 1) << code;
    EXPECT_GE(t->rows(), 1) << code;
    EXPECT_GE(t->top(), 0) << code;
    EXPECT_GE(t->left(), 0) << code;
    EXPECT_LE(t->left() + (t->cols() - 1) * t->hPitch() + t->width(), kPageWidth + kSlack) << code;
    EXPECT_LE(t->previewLeft() + (t->cols() - 1) * t->hPitch() + t->width(), kPageWidth + kSlack) << code;
    EXPECT_LE(t->top() + (t->rows() - 1) * t->vPitch() + t->height(), kPageHeight + kSlack) << code;
    if (t->cols() > 1) {
      EXPECT_GE(t->hPitch() + kSlack, t->width()) << code << " labels overlap across";
    }
    if (t->rows() > 1) {
      EXPECT_GE(t->vPitch() + kSlack, t->height()) << code << " labels overlap down";
    }
  }
}

TEST_F(LabelTemplateFile, GroupsAreOnesTheChooserAccepts) {
  bool avery = false, kodak = false;
  for (const Group& g : groups) {
    avery |= g.name.contains(QStringLiteral("Avery"));
    kodak |= g.name.contains(QStringLiteral("Kodak"));
    // The chooser confirms a pick only on Avery and Kodak tabs.
    EXPECT_TRUE(g.name.contains(QStringLiteral("Avery")) || g.name.contains(QStringLiteral("Kodak")))
        << g.name.toStdString();
  }
  EXPECT_TRUE(avery);
  EXPECT_TRUE(kodak);
}

TEST_F(LabelTemplateFile, AlbumLayoutsAreAllThereWithDistinctGrids) {
  std::set<std::pair<int, int>> grids;
  int fewest = 1000, most = 0;
  for (const QString& code : kAlbumCodes) {
    const Template* t = find(code);
    ASSERT_NE(t, nullptr) << code.toStdString();
    // Web albums pick their layout by rows and columns, so no two may share a grid.
    EXPECT_TRUE(grids.insert({t->rows(), t->cols()}).second) << code.toStdString();
    fewest = std::min(fewest, t->rows() * t->cols());
    most = std::max(most, t->rows() * t->cols());
    int occurrences = 0;
    for (const Template* other : all) occurrences += other->text(8) == code;
    EXPECT_EQ(occurrences, 1) << code.toStdString() << " would stand twice in the album layouts";
  }
  EXPECT_EQ(fewest, 1);
  EXPECT_GE(most, 16);
  EXPECT_LE(most, 24);
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
    const Template* t = find(QString::fromLatin1(p.code));
    ASSERT_NE(t, nullptr) << p.code;
    EXPECT_DOUBLE_EQ(t->width(), p.width) << p.code;
    EXPECT_DOUBLE_EQ(t->height(), p.height) << p.code;
    EXPECT_EQ(t->cols(), p.cols) << p.code;
    EXPECT_EQ(t->rows(), p.rows) << p.code;
    EXPECT_DOUBLE_EQ(t->top(), p.top) << p.code;
    EXPECT_DOUBLE_EQ(t->left(), p.left) << p.code;
    EXPECT_DOUBLE_EQ(t->previewLeft(), p.left) << p.code;
    EXPECT_DOUBLE_EQ(t->hPitch(), p.hPitch) << p.code;
    EXPECT_DOUBLE_EQ(t->vPitch(), p.vPitch) << p.code;
  }
}
