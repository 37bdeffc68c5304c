#include "labels/LabelTemplates.h"

#include <QFile>

#include <cmath>
#include <limits>

namespace {
// labels.dat is a few kilobytes; anything far larger is not one.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The leading number of a text, as C's atof reads it, but decimal digits only: no
// exponents, infinities or NaN can come from a label measure. No number reads as 0.
double LeadingDecimal(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const qsizetype start = i;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) ++i;
  const qsizetype whole = i;
  while (i < text.size() && IsAsciiDigit(text[i])) ++i;
  bool digits = i > whole;
  if (i < text.size() && text[i] == u'.') {
    const qsizetype fraction = ++i;
    while (i < text.size() && IsAsciiDigit(text[i])) ++i;
    digits = digits || i > fraction;
  }
  if (!digits) return 0;
  // Converted whole: summing digit by digit would miss the nearest double (4.1875 read as
  // 4.187499...), and a measure times the resolution would lose a pixel.
  bool ok = false;
  const double value = text.mid(start, i - start).toDouble(&ok);
  return ok && std::isfinite(value) ? value : 0;
}

int LeadingInteger(const QString& text) {
  const double value = std::trunc(LeadingDecimal(text.section(u'.', 0, 0)));
  constexpr double kMax = std::numeric_limits<int>::max();
  return int(std::clamp(value, -kMax, kMax));
}

// The file's lines: cut at line feeds, each without its trailing white space (a carriage
// return included), Comments left in; the reader skips them where it expects a line.
class LineReader {
 public:
  explicit LineReader(const QByteArray& bytes) {
    const QString text = QString::fromUtf8(bytes);
    qsizetype start = 0;
    while (start < text.size()) {
      qsizetype end = text.indexOf(u'\n', start);
      if (end < 0) end = text.size();
      qsizetype last = end;
      while (last > start && text[last - 1].isSpace()) --last;
      m_lines.push_back(text.mid(start, last - start));
      start = end + 1;
    }
  }
  // The next line that is no comment; false at the end of the file.
  bool next(QString& line) {
    while (m_at < m_lines.size()) {
      const QString& candidate = m_lines[m_at++];
      if (candidate.startsWith(u';')) continue;
      line = candidate;
      return true;
    }
    return false;
  }

 private:
  QStringList m_lines;
  qsizetype m_at = 0;
};
}  // namespace

const QStringList& LabelTemplateList::AlbumLayoutCodes() {
  static const QStringList codes = {QStringLiteral("C2166"), QStringLiteral("C2242"), QStringLiteral("C2244"),
                                    QStringLiteral("C2352"), QStringLiteral("C2353"), QStringLiteral("C2160"),
                                    QStringLiteral("C3274")};
  return codes;
}

LabelTemplate* LabelTemplateList::FindTemplateByCode(const QString& code) const {
  for (const TemplateGroup& group : groups_)
    for (LabelTemplate* t : group.Templates)
      if (t->Code == code) return t;
  return nullptr;
}

LabelTemplate* LabelTemplateList::FindAlbumLayoutBySize(int rows, int columns) const {
  for (LabelTemplate* t : albumLayouts_)
    if (t->Rows == rows && t->Columns == columns) return t;
  return nullptr;
}

void LabelTemplateList::AddGroup(const QString& name) { groups_.push_back(TemplateGroup{name, {}}); }

LabelTemplate& LabelTemplateList::AddTemplate(LabelTemplate t) {
  if (groups_.empty()) AddGroup(QString());
  LabelTemplate& added = templates_.emplace_back(std::move(t));
  groups_.back().Templates.push_back(&added);
  // Every line is looked at, so a later template of the same code takes over.
  if (added.Code == QLatin1String(kDefaultLabelCode)) defaultLabel_ = &added;
  if (AlbumLayoutCodes().contains(added.Code)) {
    albumLayouts_.push_back(&added);
    if (added.Code == QLatin1String(kDefaultAlbumCode)) defaultAlbum_ = &added;
  }
  return added;
}

LabelTemplate ParseTemplateLine(const QString& line) {
  // Cut at the first 26 commas; a further comma stays part of column 27.
  QString columns[LabelTemplate::kColumnCount];
  qsizetype start = 0;
  for (int c = 0; c < LabelTemplate::kColumnCount && start <= line.size(); ++c) {
    const qsizetype comma = c + 1 < LabelTemplate::kColumnCount ? line.indexOf(u',', start) : -1;
    const qsizetype end = comma < 0 ? line.size() : comma;
    columns[c] = line.mid(start, end - start);
    start = comma < 0 ? line.size() + 1 : comma + 1;
  }
  auto text = [&](int column) { return columns[column - 1]; };
  auto decimal = [&](int column) { return LeadingDecimal(columns[column - 1]); };
  auto integer = [&](int column) { return LeadingInteger(columns[column - 1]); };
  auto gridSide = [&](int column) {
    const int side = integer(column);
    return side >= 0 && side <= LabelTemplateList::kMaxGridSide ? side : 0;
  };

  LabelTemplate t;
  t.Category = text(1);
  for (int i = 0; i < 5; ++i) t.Texts2To6[i] = text(2 + i);
  t.Number7 = integer(7);
  t.Code = text(8);
  t.Name = text(9);
  t.Comments = text(10);
  t.LaserProduct = text(11);
  t.InkjetProduct = text(12);
  for (int i = 0; i < 3; ++i) t.Texts13To15[i] = text(13 + i);
  t.LabelWidth = decimal(16);
  t.LabelHeight = decimal(17);
  t.Columns = gridSide(18);
  t.Rows = gridSide(19);
  t.TopMargin = decimal(20);
  t.Decimal21 = decimal(21);
  t.LeftMargin = decimal(22);
  t.PreviewLeftMargin = decimal(23);
  t.HorizontalPitch = decimal(24);
  t.VerticalPitch = decimal(25);
  t.Decimal26 = decimal(26);
  t.Decimal27 = decimal(27);
  return t;
}

LabelTemplateList ReadLabelTemplates(const QByteArray& bytes) {
  LabelTemplateList list;
  LineReader lines(bytes);
  QString line;
  if (!lines.next(line)) return list;
  const int Groups = LeadingInteger(line);
  // A count beyond the lines present ends at the end of the file, whatever it announced.
  for (int g = 0; g < Groups; ++g) {
    if (!lines.next(line)) break;
    list.AddGroup(line);
    if (!lines.next(line)) break;
    const int count = LeadingInteger(line);
    for (int i = 0; i < count && lines.next(line); ++i) list.AddTemplate(ParseTemplateLine(line));
  }
  return list;
}

LabelTemplateList LoadLabelTemplates(const QString& file) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly) || in.size() > kMaxFileSize) return {};
  return ReadLabelTemplates(in.read(kMaxFileSize));
}

QString ProductInfoText(const LabelTemplate& t) {
  QString info;
  auto add = [&info](const char* format, const QString& value) {
    if (!value.isEmpty()) info += QString::fromLatin1(format).arg(value);
  };
  add("Product Code: %1\r\n", t.Code);
  add("Category: %1\r\n", t.Category);
  add("Equivalent Laser Product #: %1\r\n", t.LaserProduct);
  add("Equivalent Inkjet Product #: %1\r\n", t.InkjetProduct);
  add("Comments: %1\r\n", t.Comments);
  return info;
}
