#include "photoedits/ProjectCards.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QFontMetrics>
#include <QPainter>

#include "dis/ltdis.h"
#include "img/ltimg.h"
#include "photoedits/ResizeChoice.h"

namespace {
// Cards and covers are shown and kept at most this high.
constexpr int kCardHeight = 480;
// How far the message picture reaches beyond the quarter it is centred on.
constexpr int kMessageMargin = 100;

// A copy of the framed template, no taller than a card, in true colour so that the text
// keeps its colour.
int CardCopy(const ImageBitmap& framed, ImageBitmap& card) {
  if (!framed.hasPixels() || framed.isEmpty()) return ERROR_NO_BITMAP;
  card = framed;
  int code = SUCCESS;
  if (card.BitsPerPixel <= 8) code = SetBitmapImage(card, BitmapToRgb32(card));
  const QSize shown = card.shownSize();
  if (code == SUCCESS && shown.height() > kCardHeight)
    code = ResizeToShownSize(
        card, std::max(1, int(double(kCardHeight) / shown.height() * shown.width())), kCardHeight);
  return code;
}

// Runs the painting on the bitmap and closes its context; the first failure counts.
template <typename Paint>
int PaintOn(ImageBitmap& bitmap, Paint paint) {
  std::unique_ptr<DeviceContext> dc = CreateBitmapDC(bitmap);
  if (!dc) return ERROR_NO_MEMORY;
  dc->painter().setRenderHint(QPainter::TextAntialiasing);
  const int code = paint(*dc);
  const int closed = DeleteBitmapDC(dc);
  return code != SUCCESS ? code : closed;
}

// The chosen font in pixels: points are taken at the screen's 96 dots an inch, so the
// card's own resolution never changes the lettering.
QFont PixelFont(const QFont& chosen) {
  QFont font = chosen;
  if (font.pixelSize() <= 0)
    font.setPixelSize(std::max(1, int(std::lround(font.pointSizeF() * 96.0 / 72.0))));
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

int NewWhiteBitmap(ImageBitmap& bitmap, QSize size, int bitsPerPixel) {
  const int code = CreateBitmap(bitmap, 1, size.width(), size.height(), bitsPerPixel,
                                ColorOrder::Bgr, nullptr, TopLeft);
  return code == SUCCESS ? FillBitmap(bitmap, qRgb(255, 255, 255)) : code;
}
}  // namespace

QFont ProjectTextFont() {
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(16);
  font.setBold(true);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

int DrawSportsCard(const ImageBitmap& framed, const QString& name, ImageBitmap& card) {
  ImageBitmap drawn;
  int code = CardCopy(framed, drawn);
  if (code == SUCCESS && !name.isEmpty())
    code = PaintOn(drawn, [&](DeviceContext& dc) {
      QPainter& painter = dc.painter();
      const QSize size = drawn.shownSize();
      const QFontMetrics metrics(ProjectTextFont());
      painter.setFont(ProjectTextFont());
      painter.setPen(Qt::black);
      const int x = size.width() / 2 - metrics.horizontalAdvance(name) / 2;
      const int top = int(size.height() * 0.9);
      painter.drawText(QPoint(x, top + metrics.ascent()), name);
      return int(SUCCESS);
    });
  if (code != SUCCESS) return code;
  FinishBitmap(drawn, 0);
  card = std::move(drawn);
  return SUCCESS;
}

MagazineCaptions DefaultMagazineCaptions() {
  return {{{QString(), QColor(255, 255, 0)},
           {QString(), QColor(255, 0, 0)},
           {QString(), QColor(0, 255, 0)},
           {QString(), QColor(0, 0, 255)}}};
}

int DrawMagazineCover(const ImageBitmap& framed, const MagazineCaptions& captions,
                      ImageBitmap& cover) {
  ImageBitmap drawn;
  int code = CardCopy(framed, drawn);
  if (code == SUCCESS)
    code = PaintOn(drawn, [&](DeviceContext& dc) {
      QPainter& painter = dc.painter();
      painter.setFont(ProjectTextFont());
      for (int i = 1; i <= 4; ++i) {
        const MagazineCaption& caption = captions[size_t(i - 1)];
        if (caption.Text.isEmpty()) continue;
        const QRect box(30, 100 * i, 100, 100);
        // Text drawn in a rectangle is cut at it, so a long caption never runs into the next.
        for (const auto& [place, colour] : {std::pair{box, QColor(Qt::black)},
                                            std::pair{box.translated(-1, -1), caption.Colour}}) {
          painter.setPen(colour);
          painter.drawText(place, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, caption.Text);
        }
      }
      return int(SUCCESS);
    });
  if (code != SUCCESS) return code;
  FinishBitmap(drawn, 0);
  cover = std::move(drawn);
  return SUCCESS;
}

QSize GreetingCardSize(QSize printerPage) {
  // Without a printer: the card of a letter page printed at 600 dots an inch.
  if (!printerPage.isValid() || printerPage.isEmpty()) return QSize(1200, 1581);
  return QSize(printerPage.width() / 4, printerPage.height() / 4);
}

int DrawGreetingCard(const ImageBitmap& framed, const QString& message, const QFont& font,
                     const QColor& colour, QSize cardSize, ImageBitmap& card) {
  if (!framed.hasPixels() || framed.isEmpty()) return ERROR_NO_BITMAP;
  if (cardSize.width() < 2 || cardSize.height() < 2) return ERROR_INV_PARAMETER;
  const int w = cardSize.width(), h = cardSize.height();
  ImageBitmap drawn;
  int code = NewWhiteBitmap(drawn, cardSize, framed.BitsPerPixel == 32 ? 32 : 24);
  if (code != SUCCESS) return code;

  // The front: the photo, proportions kept, as large as the lower right quarter allows.
  const QRect panel(w / 2, h / 2, w - w / 2, h - h / 2);
  const QSize source = framed.shownSize();
  const double ratio = double(source.width()) / source.height();
  int photoWidth = int(ratio * panel.height()), photoHeight = panel.height();
  if (photoWidth > panel.width()) {
    photoWidth = panel.width();
    photoHeight = int(panel.width() / ratio);
  }
  const QRect photoBox(panel.left() + (panel.width() - photoWidth) / 2,
                       panel.top() + (panel.height() - photoHeight) / 2, std::max(1, photoWidth),
                       std::max(1, photoHeight));
  code = PaintOn(drawn, [&](DeviceContext& dc) {
    return PaintBitmap(dc, framed, QRect(), photoBox, QRect(), RasterOp::Copy);
  });

  // The inside: the message, upside down in the upper left so that it reads upright once
  // the card is folded.
  if (code == SUCCESS && !message.isEmpty()) {
    ImageBitmap inside;
    code = NewWhiteBitmap(inside, QSize(w / 2 + kMessageMargin, h / 2), 24);
    if (code == SUCCESS)
      code = PaintOn(inside, [&](DeviceContext& dc) {
        QPainter& painter = dc.painter();
        painter.setFont(PixelFont(font));
        painter.setPen(colour);
        const int lineHeight = painter.fontMetrics().height();
        QString text = message;
        text.remove(QLatin1Char('\r'));
        int top = 0;
        for (const QString& line : text.split(QLatin1Char('\n'))) {
          painter.drawText(QRect(0, top, w / 2, lineHeight),
                           Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, line);
          top += lineHeight;
        }
        return int(SUCCESS);
      });
    if (code == SUCCESS) code = RotateBitmap(inside, 180, 1);
    if (code == SUCCESS)
      code = CopyBitmapArea(drawn, w / 4 - inside.Width / 2, h / 4 - inside.Height / 2, inside);
  }
  if (code == SUCCESS) code = RotateBitmap(drawn, 180, 1);
  if (code != SUCCESS) return code;
  FinishBitmap(drawn, 0);
  card = std::move(drawn);
  return SUCCESS;
}
