#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "labels/LabelTemplates.h"
#include "support/FileBytes.h"

namespace {
// A line of the shipped file's shape; measures are columns 16 on.
const QString kMeasures5160 = "2.625,1,3,10,0.5,0.25,0.15625,0.1875,2.78125,1,0.15625,0.0625";
QString Line(const QString& code, const QString& measures = kMeasures5160) {
  return QString(
             "Address Labels,Letter,Portrait,Rectangle,White,,30,%1,Name %1,Thirty,5160,8160,in,,,")
             .arg(code) +
         measures;
}
QByteArray Lines(const QStringList& codes) {
  QByteArray bytes;
  for (const QString& code : codes) bytes += Line(code).toUtf8() + '\n';
  return bytes;
}

// The groups read, as "name:code,code|name:code".
std::string Summary(const LabelTemplateList& list) {
  QStringList groups;
  for (const TemplateGroup& group : list.Groups()) {
    QStringList codes;
    for (const LabelTemplate* t : group.Templates) codes << t->Code;
    groups << group.Name + ':' + codes.join(',');
  }
  return groups.join('|').toStdString();
}
}  // namespace

TEST(LabelsTemplateReading, GroupsAndCountsAsTheFileHasThem) {
  const QString comments = QString(560, 'x');
  const QByteArray longLine = Line("Long").replace("Thirty", comments).toUtf8() + '\n';
  ASSERT_GT(longLine.size(), 600);
  const std::pair<QByteArray, std::string> cases[] = {
      {"2\nFirst\n2\n" + Lines({"A", "B"}) + "Second\n1\n" + Lines({"C"}), "First:A,B|Second:C"},
      {"1\r\nFirst \t\r\n2\r\n" + Lines({"A", "B"}).replace("\n", " \r\n"), "First:A,B"},
      {";x\n1\n;\nFirst\n;\n2\n" + Lines({"A"}) + ";B,C\n" + Lines({"B"}), "First:A,B"},
      {"3\nFirst\n1\n" + Lines({"A"}), "First:A"},
      {"2\nFirst\n5\n" + Lines({"A", "B"}), "First:A,B"},
      {"2\nFirst\n1\n" + Lines({"A"}) + "Second", "First:A|Second:"},
      {"three\nFirst\n1\n" + Lines({"A"}), ""},
      // A count without digits is 0: the next line names the next group.
      {"2\nFirst\nmany\nSecond\n1\n" + Lines({"A"}), "First:|Second:A"},
      {" 2 groups\nFirst\n1.9\n" + Lines({"A"}) + "Second\n+1\n" + Lines({"B"}),
       "First:A|Second:B"},
      {"-1\nFirst\n1\n" + Lines({"A"}), ""},
      {"", ""},
      {"\xEF\xBB\xBF"
       "1\nFirst\n1\n" +
           Lines({"A"}),
       "First:A"},
      {"1\nFirst\n2\n" + longLine + Lines({"B"}), "First:Long,B"},
  };
  for (const auto& [file, groups] : cases)
    EXPECT_EQ(Summary(ReadLabelTemplates(file)), groups) << file.left(60).toStdString();
  const LabelTemplateList list = ReadLabelTemplates("1\nFirst\n1\n" + longLine);
  ASSERT_EQ(list.TemplateCount(), 1);
  EXPECT_EQ(list.Groups()[0].Templates[0]->Comments, comments);
  EXPECT_EQ(list.Groups()[0].Templates[0]->Decimal27, 0.0625);
}

TEST(LabelsTemplateReading, MeasuresComeFromTheirColumnsAsTheNearestDouble) {
  const LabelTemplate t = ParseTemplateLine(Line("5160"));
  EXPECT_EQ(QStringList({t.Category, t.Code, t.Name, t.Comments, t.LaserProduct, t.InkjetProduct}),
            QStringList({"Address Labels", "5160", "Name 5160", "Thirty", "5160", "8160"}));
  // Columns 16 to 27: width, height, columns, rows, top, 21, left, preview left, pitches, 26, 27.
  const auto measures = [](const LabelTemplate& t) {
    return std::vector<double>{t.LabelWidth,    t.LabelHeight,       double(t.Columns),
                               double(t.Rows),  t.TopMargin,         t.Decimal21,
                               t.LeftMargin,    t.PreviewLeftMargin, t.HorizontalPitch,
                               t.VerticalPitch, t.Decimal26,         t.Decimal27};
  };
  const std::vector<double> k5160 = {2.625,   1,      3,       10, 0.5,     0.25,
                                     0.15625, 0.1875, 2.78125, 1,  0.15625, 0.0625};
  const std::pair<QString, std::vector<double>> cases[] = {
      {kMeasures5160, k5160},
      {kMeasures5160 + ",99", k5160},
      {"2.625,1,3,10", {2.625, 1, 3, 10, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"4.1875,3.375,2,2,0.7,1.333333,0.3,4.1875,3.375,0.6,1.75,0.15625",
       {4.1875, 3.375, 2, 2, 0.7, 1.333333, 0.3, 4.1875, 3.375, 0.6, 1.75, 0.15625}},
      {" \t2.5in,abc,2.9,+2.,-.5,1e5,12.5.3,-,.," + QString(400, '9') + ",",
       {2.5, 0, 2, 2, -0.5, 1, 12.5, 0, 0, 0, 0, 0}},
      {"1,1,101,2", {1, 1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"1,1,3,-2", {1, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& [columns, read] : cases)
    EXPECT_EQ(measures(ParseTemplateLine(Line("x", columns))), read) << columns.toStdString();
  EXPECT_EQ(ParseTemplateLine(Line("x", "1,1,100,100")).CellCount(), 10000);
  EXPECT_EQ(ParseTemplateLine(Line("x", "1,1,3,-2")).CellCount(), 0);
  EXPECT_EQ(ParseTemplateLine("").CellCount(), 0);
}

TEST(LabelsTemplateReading, LookupsAlbumLayoutsAndDefaults) {
  const LabelTemplateList list =
      ReadLabelTemplates("2\nPhoto\n4\n" + Lines({"C2166", "C2353", "5160", "C3274"}) +
                         "Kodak\n3\n" + Lines({"C2353", "C2166", "c2160"}));
  ASSERT_EQ(list.TemplateCount(), 7);
  const auto& photo = list.Groups()[0].Templates;
  const auto& kodak = list.Groups()[1].Templates;
  // Every occurrence of an album code in file order; the later one of each default code.
  EXPECT_EQ(list.AlbumLayouts(),
            std::vector<LabelTemplate*>({photo[0], photo[1], photo[3], kodak[0], kodak[1]}));
  EXPECT_EQ(list.DefaultLabelTemplate(), kodak[0]);
  EXPECT_EQ(list.DefaultAlbumLayout(), kodak[1]);
  // The first one found; codes compare exactly.
  EXPECT_EQ(list.FindTemplateByCode("C2166"), photo[0]);
  EXPECT_EQ(list.FindTemplateByCode("c2160"), kodak[2]);
  for (const char* missing : {"C2160", " 5160", ""})
    EXPECT_EQ(list.FindTemplateByCode(missing), nullptr) << missing;
  EXPECT_EQ(list.FindAlbumLayoutBySize(10, 3), photo[0]);

  const LabelTemplateList plain = ReadLabelTemplates("1\nPhoto\n1\n" + Lines({"5160"}));
  EXPECT_EQ(plain.DefaultLabelTemplate(), nullptr);
  EXPECT_EQ(plain.DefaultAlbumLayout(), nullptr);
  EXPECT_EQ(plain.FindAlbumLayoutBySize(10, 3), nullptr);  // that grid, but no album layout

  QTemporaryDir dir;
  EXPECT_EQ(LoadLabelTemplates(dir.filePath("labels.dat")).TemplateCount(), 0);
  WriteRaw(dir.filePath("labels.dat"), "1\r\nPhoto\r\n1\r\n" + Lines({"A"}));
  EXPECT_EQ(Summary(LoadLabelTemplates(dir.filePath("labels.dat"))), "Photo:A");
}

TEST(LabelsTemplateReading, ProductInfoShowsTheFieldsThatHaveText) {
  const std::pair<QStringList, const char*> cases[] = {
      {{"5160", "Address", "5160", "8160", "Thirty"},
       "Product Code: 5160\r\nCategory: Address\r\nEquivalent Laser Product #: 5160\r\n"
       "Equivalent Inkjet Product #: 8160\r\nComments: Thirty\r\n"},
      {{"C2160", "Photo Prints", "", "", ""}, "Product Code: C2160\r\nCategory: Photo Prints\r\n"},
      {{"", "", "", "8160", "50% %1"}, "Equivalent Inkjet Product #: 8160\r\nComments: 50% %1\r\n"},
      {{"", "", "", "", ""}, ""},
  };
  for (const auto& [fields, info] : cases) {
    LabelTemplate t;
    t.Name = "never shown";
    t.Code = fields[0], t.Category = fields[1], t.LaserProduct = fields[2];
    t.InkjetProduct = fields[3], t.Comments = fields[4];
    EXPECT_EQ(ProductInfoText(t).toStdString(), info);
  }
}
