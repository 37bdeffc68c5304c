#pragma once

#include <memory>

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class QTextLayout;

// A caption: a short text in a thought balloon, a speech balloon or a yellow note, laid
// out in caption units. On screen a caption unit is a pixel of the picture shown; drawn
// into the picture it is CaptionScale() of its pixels, so the stored photo gets exactly
// what the screen showed, only finer.
enum class CaptionShape { Thinking = 0, Talking = 1, StickyNote = 2 };

// A caption's box is never smaller than this on either side.
inline constexpr int kCaptionMinimumSide = 100;
// How far the tail or the bubbles of a balloon reach below its box.
inline constexpr int kCaptionTailDepth = 55;
// The note's and the hint's yellow.
inline constexpr QRgb kCaptionNoteColour = 0xffffff80;

struct Caption {
  CaptionShape Shape = CaptionShape::Thinking;
  QString Text;
  QFont Font;  // as chosen; CaptionFont() makes it exact at any scale
  QColor Colour = Qt::black;
};

// The font used until the user chooses one.
QFont DefaultCaptionFont();
// The font at a whole number of caption units, unhinted so that it scales without
// changing its proportions.
QFont CaptionFont(const QFont& chosen);

// The text of a caption broken into lines inside the caption's width, and the box that
// holds it. Copies share the laid-out text.
class CaptionLayout {
 public:
  // The box for an empty text: kCaptionMinimumSide square.
  CaptionLayout();
  // Lays the text out with word breaking at wrapWidth (a word longer than that keeps its
  // own line and widens the box). The box is the text's width + 4 and height + 2, and
  // never below kCaptionMinimumSide; so a caption re-laid at its own width stays as wide,
  // and a long text grows taller rather than wider.
  static CaptionLayout Fit(const QString& text, const QFont& font, int wrapWidth);

  QSize box() const { return box_; }
  // The height the text needs, with the 5 units of room below it.
  int textHeight() const { return textHeight_; }
  // Where the text block's lines begin, relative to the box: centred on it.
  QPoint textOrigin() const;
  // The laid-out lines (null for an empty text), positioned relative to textOrigin().
  const QTextLayout* textLayout() const { return text_.get(); }
  // The shape with its tail or bubbles: the area a caption of this shape covers.
  QRect coveredRect(CaptionShape shape) const;

  // Draws the caption with its top-left corner at the painter's origin.
  void draw(QPainter& painter, CaptionShape shape, const QColor& colour) const;

 private:
  QSize box_{kCaptionMinimumSide, kCaptionMinimumSide};
  int textHeight_ = 0;
  std::shared_ptr<const QTextLayout> text_;
};

// The filled outline of a shape of the given box: the rounded box and its tail for
// Talking, the rounded box alone for Thinking (its bubbles are separate), the box for a
// note. In caption units, for a pen one unit wide.
QPainterPath CaptionOutline(CaptionShape shape, QSize box);
// The three bubbles below a thought balloon, largest first.
QList<QRectF> ThoughtBubbles(QSize box);

// Where a caption's box may stand: its left and top not before the picture's, its right
// and bottom not beyond them; a caption larger than the picture keeps to its top-left.
QPoint ClampCaptionPosition(QPoint wanted, QSize box, QSize picture);

// Picture pixels per caption unit, for a picture fullSide wide shown previewSide wide.
double CaptionScale(int fullSide, int previewSide);
// The same for a picture as the editing dialogs show it: reduced to their preview's size.
double CaptionScaleForPicture(QSize shownSize);

struct ImageBitmap;
// Draws the caption into the picture's pixels with its box's top-left at position
// (picture pixels), every length multiplied by scale, antialiased. The text is laid out
// again here at wrapWidth, so this may run on any thread. A picture of 8 bits or fewer
// becomes 24-bit first, so the caption keeps its colours. Result of the imaging library.
int BurnCaption(ImageBitmap& picture, const Caption& caption, int wrapWidth, QPointF position, double scale);
