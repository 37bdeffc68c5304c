#include "ContactSheet.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <vector>

#include "ContentWriter.h"

namespace {
constexpr int kSheetWidth = 1600;
constexpr int kMargin = 24;
constexpr int kGap = 18;
constexpr int kLabelHeight = 30;
constexpr QRgb kKey = 0xFFFF00FF;
const QColor kToolbarGrey(240, 240, 240);
const QColor kPaper(250, 247, 242);
const QColor kInk(74, 63, 53);

struct Item {
  QString label;
  QImage picture;
};

struct Section {
  QString title;
  std::vector<Item> items;
};

bool IsTemplateFolder(const QString& folder) {
  static const QStringList kFolders = {QStringLiteral("frames"), QStringLiteral("edges"),
                                       QStringLiteral("sportscard"), QStringLiteral("magazine"),
                                       QStringLiteral("greetingcard")};
  return kFolders.contains(folder);
}

QImage SamplePhoto(const QString& svg, QSize size) {
  QImage photo(size, QImage::Format_RGB32);
  photo.fill(Qt::gray);
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) return photo;
  // Fill the template whatever its shape, as a user would zoom the photo to.
  const QSizeF natural = renderer.defaultSize();
  const double scale = std::max(size.width() / natural.width(), size.height() / natural.height());
  const QSizeF drawn = natural * scale;
  QPainter painter(&photo);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter, QRectF(QPointF((size.width() - drawn.width()) / 2,
                                           (size.height() - drawn.height()) / 2),
                                   drawn));
  return photo;
}

QImage ThroughHole(const QImage& frame, const QImage& photo) {
  QImage out = frame.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    const auto* under = reinterpret_cast<const QRgb*>(photo.constScanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((row[x] & 0xFFFFFF) == 0) row[x] = under[x];
  }
  return out;
}

QImage OnToolbarGrey(const QImage& keyed) {
  QImage out = keyed.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((row[x] | 0xFF000000u) == kKey) row[x] = kToolbarGrey.rgb();
  }
  return out;
}

// Transparent pictures are shown over a light checker so their edges can be judged.
QImage OnChecker(const QImage& picture) {
  QImage out(picture.size(), QImage::Format_RGB32);
  QPainter painter(&out);
  for (int y = 0; y < out.height(); y += 8)
    for (int x = 0; x < out.width(); x += 8)
      painter.fillRect(QRect(x, y, 8, 8), ((x + y) / 8) % 2 ? QColor(204, 204, 204) : QColor(255, 255, 255));
  painter.drawImage(0, 0, picture);
  return out;
}

QImage ForDisplay(QImage picture) {
  // Icons, the toolbar strip and the buttons are doubled without smoothing, so their
  // pixels can be judged; large pictures are brought down to a common box.
  if (picture.height() <= 64 && picture.width() <= 400)
    return picture.scaled(picture.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  const QSize box(260, 200);
  if (picture.width() > box.width() || picture.height() > box.height())
    return picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  return picture;
}
}  // namespace

QString WriteContactSheet(const QString& root, const QStringList& files, const QString& sampleSvg,
                          const QString& output) {
  std::vector<Section> sections;
  for (const QString& file : files) {
    const int slash = int(file.lastIndexOf(u'/'));
    const QString folder = slash < 0 ? QString() : file.left(slash);
    QImage picture = LoadContentPicture(root + file);
    if (picture.isNull()) return QStringLiteral("cannot read ") + root + file;
    if (IsTemplateFolder(folder)) {
      picture = ThroughHole(picture, SamplePhoto(sampleSvg, picture.size()));
    } else if (QFileInfo(file).suffix() == u"bmp") {
      picture = OnToolbarGrey(picture);
    } else if (picture.hasAlphaChannel()) {
      picture = OnChecker(picture);
    }
    const QString title = folder.isEmpty() ? QStringLiteral("program folder") : folder + u'/';
    if (sections.empty() || sections.back().title != title) sections.push_back({title, {}});
    sections.back().items.push_back({file.mid(slash + 1), ForDisplay(picture)});
  }

  QFont labelFont(QStringLiteral("DejaVu Sans"));
  labelFont.setPixelSize(12);
  QFont titleFont(QStringLiteral("DejaVu Sans"));
  titleFont.setPixelSize(20);
  titleFont.setBold(true);
  const QFontMetrics labelMetrics(labelFont);

  // First pass places the cells; the second paints them on a page of the height found.
  struct Placed {
    const Item* item;
    QRect cell;
  };
  std::vector<Placed> placed;
  std::vector<std::pair<QString, int>> titles;
  int y = kMargin;
  for (const Section& section : sections) {
    titles.emplace_back(section.title, y);
    y += 34;
    int x = kMargin, rowHeight = 0;
    for (const Item& item : section.items) {
      const int width = std::max(item.picture.width(), labelMetrics.horizontalAdvance(item.label));
      const int height = item.picture.height() + kLabelHeight;
      if (x > kMargin && x + width > kSheetWidth - kMargin) {
        x = kMargin;
        y += rowHeight + kGap;
        rowHeight = 0;
      }
      placed.push_back({&item, QRect(x, y, width, height)});
      x += width + kGap;
      rowHeight = std::max(rowHeight, height);
    }
    y += rowHeight + kGap + 10;
  }

  QImage sheet(kSheetWidth, y + kMargin, QImage::Format_RGB32);
  sheet.fill(kPaper);
  QPainter painter(&sheet);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(kInk);
  painter.setFont(titleFont);
  for (const auto& [title, top] : titles) {
    painter.drawText(QPoint(kMargin, top + 22), title);
    painter.fillRect(QRect(kMargin, top + 28, kSheetWidth - 2 * kMargin, 1), QColor(220, 210, 196));
  }
  painter.setFont(labelFont);
  for (const Placed& p : placed) {
    const QImage& picture = p.item->picture;
    const QPoint at(p.cell.x() + (p.cell.width() - picture.width()) / 2, p.cell.y());
    painter.fillRect(QRect(at - QPoint(1, 1), picture.size() + QSize(2, 2)), QColor(205, 196, 184));
    painter.drawImage(at, picture);
    painter.drawText(QRect(p.cell.x(), p.cell.y() + picture.height() + 4, p.cell.width(), kLabelHeight),
                     Qt::AlignHCenter | Qt::AlignTop, p.item->label);
  }
  painter.end();
  if (!sheet.save(output, "PNG")) return QStringLiteral("cannot write ") + output;
  return {};
}
