#include "labels/TemplatePreview.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "krn/ltkrn.h"

namespace {
// Small enough that the sum of a few positions or sizes stays inside an int.
int Trunc(double value) { return int(std::clamp(std::trunc(value), -1e8, 1e8)); }
}  // namespace

std::vector<QRect> TemplatePreviewRectangles(const LabelTemplate& t, QSize picture, double ppi) {
  std::vector<QRect> rects;
  if (ppi <= 0 || picture.isEmpty()) return rects;
  const double sx = picture.width() / (ppi * LabelTemplate::kPageWidth);
  const double sy = picture.height() / (ppi * LabelTemplate::kPageHeight);
  const int x0 = Trunc(ppi * t.PreviewLeftMargin);
  const int y0 = Trunc(ppi * t.TopMargin);
  const int w = Trunc(ppi * t.LabelWidth);
  const int h = Trunc(ppi * t.LabelHeight);
  rects.reserve(size_t(t.CellCount()));
  for (int r = 0; r < t.Rows && t.CellCount() > 0; ++r) {
    for (int c = 0; c < t.Columns; ++c) {
      const int x = x0 + Trunc(ppi * t.HorizontalPitch * c);
      const int y = y0 + Trunc(ppi * t.VerticalPitch * r);
      const int left = std::max(Trunc(x * sx), 1);
      const int top = std::max(Trunc(y * sy), 1);
      const int right = std::min(Trunc((x + w) * sx), picture.width() - 1);
      const int bottom = std::min(Trunc((y + h) * sy), picture.height() - 1);
      rects.push_back(QRect(left, top, right - left, bottom - top));
    }
  }
  return rects;
}

void DrawTemplatePreview(LabelTemplate& t) {
  if (t.Preview.hasPixels()) return;
  QImage page(kTemplatePreviewSize, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(QPoint(0, 0), kTemplatePreviewSize - QSize(1, 1)));
    // Navy labels outlined in white, so that neighbours that touch stay apart.
    painter.setPen(Qt::white);
    painter.setBrush(QColor(0, 0, 128));
    for (const QRect& rect : TemplatePreviewRectangles(t, kTemplatePreviewSize, kTemplatePreviewPpi))
      if (rect.width() > 0 && rect.height() > 0) painter.drawRect(rect.adjusted(0, 0, -1, -1));
  }
  SetBitmapImage(t.Preview, page);
}
