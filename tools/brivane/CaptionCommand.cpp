#include <QColor>
#include <QRegularExpression>

#include "BrivaneTool.h"
#include "CommandLine.h"
#include "photoedits/CaptionLayout.h"

namespace {
constexpr char kCaptionUsage[] =
    "Usage: brivane caption --text TEXT [options] NAME...\n"
    "       brivane caption --file --text TEXT [options] IN OUT\n"
    "\n"
    "Draws a caption into each stored photo NAME, stored again with its description, or with\n"
    "--file into the picture file IN, written as OUT in the format its extension names, as\n"
    "the Caption dialog does. Sizes are as the dialog shows them: on a photo larger than\n"
    "1280 pixels a side they grow with the photo, so a caption covers the same part of it.\n"
    "\n"
    "  --text TEXT      the caption's text; a line break in it starts a new line\n"
    "  --shape SHAPE    thinking (the default), talking or note\n"
    "  --font FONT      family and size in points, and bold or italic: \"DejaVu Serif,18,bold\"\n"
    "                   (default: Sans Serif,12)\n"
    "  --colour COLOUR  the text's colour, #rrggbb or a name such as navy (default: black)\n"
    "  --at X,Y         the box's top-left corner in the photo's pixels (default: 0,0); the\n"
    "                   box is kept inside the photo\n"
    "  --width N        break lines at N units of the dialog's view (default: 100, as a new\n"
    "                   caption in the dialog)\n";

bool ParseShape(const QString& text, CaptionShape& shape) {
  const QString name = text.toLower();
  if (name == QLatin1String("thinking")) shape = CaptionShape::Thinking;
  else if (name == QLatin1String("talking")) shape = CaptionShape::Talking;
  else if (name == QLatin1String("note") || name == QLatin1String("sticky note")) shape = CaptionShape::StickyNote;
  else return false;
  return true;
}
}  // namespace

int BrivaneTool::caption(const QStringList& arguments) {
  const ParsedArguments parsed =
      ParseArguments(arguments, {QStringLiteral("--file")},
                     {QStringLiteral("--text"), QStringLiteral("--shape"), QStringLiteral("--font"),
                      QStringLiteral("--colour"), QStringLiteral("--at"), QStringLiteral("--width")});
  if (parsed.Help) {
    m_out << kCaptionUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  const bool onFile = parsed.Flags.contains(QStringLiteral("--file"));
  if (onFile ? parsed.Positional.size() != 2 : parsed.Positional.isEmpty())
    return usageError(onFile ? QStringLiteral("give the file to read and the file to write")
                             : QStringLiteral("give the names of the photos"));
  if (!parsed.Values.contains(QStringLiteral("--text"))) return usageError(QStringLiteral("give the caption's --text"));

  Caption caption;
  caption.Text = parsed.Values[QStringLiteral("--text")];
  caption.Font = DefaultCaptionFont();
  if (parsed.Values.contains(QStringLiteral("--shape")) && !ParseShape(parsed.Values[QStringLiteral("--shape")], caption.Shape))
    return usageError(QStringLiteral("the shape is thinking, talking or note"));
  if (parsed.Values.contains(QStringLiteral("--font")) && !ParseFont(parsed.Values[QStringLiteral("--font")], caption.Font))
    return usageError(QStringLiteral("a font is a family and a size in points, as \"DejaVu Serif,18\" or \"Sans,12,bold\""));
  if (parsed.Values.contains(QStringLiteral("--colour"))) {
    caption.Colour = QColor::fromString(parsed.Values[QStringLiteral("--colour")]);
    if (!caption.Colour.isValid())
      return usageError(QStringLiteral("'%1' is not a colour").arg(parsed.Values[QStringLiteral("--colour")]));
  }
  QPoint at;
  if (parsed.Values.contains(QStringLiteral("--at"))) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d+),(\\d+)$"));
    const QRegularExpressionMatch match = pattern.match(parsed.Values[QStringLiteral("--at")]);
    if (!match.hasMatch()) return usageError(QStringLiteral("--at takes X,Y in pixels, as 40,30"));
    at = QPoint(match.captured(1).toInt(), match.captured(2).toInt());
  }
  int wrapWidth = kCaptionMinimumSide;
  if (parsed.Values.contains(QStringLiteral("--width"))) {
    bool number = false;
    wrapWidth = parsed.Values[QStringLiteral("--width")].toInt(&number);
    if (!number || wrapWidth < 1 || wrapWidth > 100000) return usageError(QStringLiteral("--width takes a whole number from 1 to 100000"));
  }

  const PictureEdit edit{QStringLiteral("add the caption to"), [caption, at, wrapWidth](ImageBitmap& picture) {
                           const QSize shown = picture.shownSize();
                           const double scale = CaptionScaleForPicture(shown);
                           const QSize box = CaptionLayout::Fit(caption.Text, caption.Font, wrapWidth).box();
                           const QPoint place = ClampCaptionPosition(at, (QSizeF(box) * scale).toSize(), shown);
                           return ResultProblem(BurnCaption(picture, caption, wrapWidth, QPointF(place), scale));
                         }};
  if (onFile) return editFile(edit, parsed.Positional[0], parsed.Positional[1]);
  return editPhotos(edit, parsed.Positional);
}
