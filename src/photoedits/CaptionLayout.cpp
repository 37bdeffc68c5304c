#include "photoedits/CaptionLayout.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QTextLayout>

#include "dis/ltdis.h"
#include "photoedits/PreviewPicture.h"

namespace {
// The rounded corners are quarters of a 17-unit circle.
constexpr qreal kCornerRadius = 8.5;
// Lines are drawn on unit centres so that a one-unit pen covers whole pixels at scale 1.
constexpr qreal kHalf = 0.5;

// Where the tail and the bubbles start: three quarters along the box.
int TailStart(QSize box) { return box.width() / 4 * 3; }

QRectF BoxOutline(QSize box) { return QRectF(kHalf, kHalf, box.width() - 1, box.height() - 1); }
}  // namespace

QFont DefaultCaptionFont() {
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(12);
  return font;
}

QFont CaptionFont(const QFont& chosen) {
  QFont font = chosen;
  if (font.pixelSize() <= 0) {
    // Points as the screen shows them at 96 dots an inch: a caption unit is a screen pixel.
    font.setPixelSize(std::max(1, int(std::lround(font.pointSizeF() * 96.0 / 72.0))));
  }
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

CaptionLayout::CaptionLayout() = default;

CaptionLayout CaptionLayout::Fit(const QString& text, const QFont& font, int wrapWidth) {
  CaptionLayout result;
  QString lines = text;
  lines.remove(QLatin1Char('\r'));
  if (lines.isEmpty()) return result;
  lines.replace(QLatin1Char('\n'), QChar::LineSeparator);

  auto layout = std::make_shared<QTextLayout>(lines, CaptionFont(font));
  QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
  option.setWrapMode(QTextOption::WordWrap);
  // Unrounded advances: the same lines and proportions at every scale.
  option.setUseDesignMetrics(true);
  layout->setTextOption(option);
  layout->setCacheEnabled(true);
  layout->beginLayout();
  qreal height = 0;
  qreal widest = 0;
  for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
    line.setLineWidth(std::max(1, wrapWidth));
    line.setPosition(QPointF(0, height));
    height += line.height();
    widest = std::max(widest, line.naturalTextWidth());
  }
  layout->endLayout();

  const int measuredWidth = int(std::ceil(widest));
  const int measuredHeight = int(std::ceil(height));
  result.box_ = QSize(std::max(kCaptionMinimumSide, measuredWidth + 4),
                      std::max(kCaptionMinimumSide, measuredHeight + 2));
  result.textHeight_ = measuredHeight + 5;
  // Each line centred across the box.
  for (int i = 0; i < layout->lineCount(); ++i) {
    QTextLine line = layout->lineAt(i);
    line.setPosition(QPointF((result.box_.width() - line.naturalTextWidth()) / 2, line.y()));
  }
  result.text_ = std::move(layout);
  return result;
}

QPoint CaptionLayout::textOrigin() const {
  const int half = textHeight_ / 2;
  return QPoint(0, box_.height() / 2 - half + 1);
}

QRect CaptionLayout::coveredRect(CaptionShape shape) const {
  switch (shape) {
    case CaptionShape::Talking: return QRect(QPoint(0, 0), QSize(box_.width(), box_.height() + 25));
    case CaptionShape::Thinking: return QRect(QPoint(0, 0), QSize(box_.width(), box_.height() + 30));
    case CaptionShape::StickyNote: break;
  }
  return QRect(QPoint(0, 0), box_);
}

QPainterPath CaptionOutline(CaptionShape shape, QSize box) {
  QPainterPath outline;
  if (shape == CaptionShape::StickyNote) {
    outline.addRect(BoxOutline(box));
    return outline;
  }
  outline.addRoundedRect(BoxOutline(box), kCornerRadius, kCornerRadius);
  if (shape == CaptionShape::Talking) {
    // The tail runs from the box's bottom edge down 25 units and back; its base starts a
    // little inside the box so that the two join without a seam.
    const qreal t = TailStart(box) + kHalf;
    const qreal base = box.height() - 1 + kHalf;
    QPainterPath tail;
    tail.moveTo(t - 2, base - 2);
    tail.lineTo(t + 25, base + 25);
    tail.lineTo(t + 15 - 0.8, base - 2);
    tail.closeSubpath();
    outline = outline.united(tail);
  }
  return outline;
}

QList<QRectF> ThoughtBubbles(QSize box) {
  const qreal t = TailStart(box) + kHalf;
  const qreal b = box.height() + kHalf;
  return {QRectF(t, b, 14, 14), QRectF(t + 5, b + 15, 9, 9), QRectF(t + 10, b + 25, 4, 4)};
}

void CaptionLayout::draw(QPainter& painter, CaptionShape shape, const QColor& colour) const {
  painter.save();
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  QPen outlinePen(Qt::black, 1);
  outlinePen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(outlinePen);
  painter.setBrush(shape == CaptionShape::StickyNote ? QColor::fromRgb(kCaptionNoteColour) : QColor(Qt::white));
  painter.drawPath(CaptionOutline(shape, box_));
  if (shape == CaptionShape::Thinking)
    for (const QRectF& bubble : ThoughtBubbles(box_)) painter.drawEllipse(bubble);
  if (text_) {
    painter.setPen(colour);
    text_->draw(&painter, textOrigin());
  }
  painter.restore();
}

QPoint ClampCaptionPosition(QPoint wanted, QSize box, QSize picture) {
  return QPoint(std::max(0, std::min(wanted.x(), picture.width() - box.width())),
                std::max(0, std::min(wanted.y(), picture.height() - box.height())));
}

double CaptionScale(int fullSide, int previewSide) {
  return previewSide > 0 && fullSide > 0 ? double(fullSide) / previewSide : 1.0;
}

double CaptionScaleForPicture(QSize shownSize) {
  return CaptionScale(shownSize.width(), ReducedPreviewSize(shownSize).width());
}

int BurnCaption(ImageBitmap& picture, const Caption& caption, int wrapWidth, QPointF position, double scale) {
  if (!picture.hasPixels()) return ERROR_NO_BITMAP;
  if (picture.BitsPerPixel <= 8) {
    const int result = SetBitmapImage(picture, BitmapToRgb32(picture));
    if (result != SUCCESS) return result;
  }
  const CaptionLayout layout = CaptionLayout::Fit(caption.Text, caption.Font, wrapWidth);
  // Only the part of the picture under the caption is painted, then put back: a large
  // photo is not copied whole for a few thousand pixels. The margin takes the outline's
  // smoothing and a slanted letter's overhang.
  const int margin = int(std::ceil(2 * scale)) + 2;
  const QRect area = QRectF(position, QSizeF(layout.coveredRect(caption.Shape).size()) * scale)
                         .toAlignedRect()
                         .adjusted(-margin, -margin, margin, margin) &
                     QRect(QPoint(0, 0), picture.shownSize());
  if (area.isEmpty()) return SUCCESS;
  // Pieces are cut in stored pixels, which are the ones shown only without a turn.
  const bool inPieces = picture.Perspective == TopLeft;
  ImageBitmap piece;
  if (inPieces) {
    int result = CreateBitmap(piece, 1, area.width(), area.height(), picture.BitsPerPixel, picture.Order, nullptr, TopLeft);
    if (result == SUCCESS) result = CopyBitmapArea(piece, -area.x(), -area.y(), picture);
    if (result != SUCCESS) return result;
  }
  ImageBitmap& canvas = inPieces ? piece : picture;
  std::unique_ptr<DeviceContext> dc = CreateBitmapDC(canvas);
  if (!dc) return ERROR_NO_MEMORY;
  QPainter& painter = dc->painter();
  painter.translate(inPieces ? position - QPointF(area.topLeft()) : position);
  painter.scale(scale, scale);
  layout.draw(painter, caption.Shape, caption.Colour);
  int result = DeleteBitmapDC(dc);
  if (result == SUCCESS && inPieces) result = CopyBitmapArea(picture, area.x(), area.y(), piece);
  return result;
}
