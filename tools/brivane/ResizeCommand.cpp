#include <cmath>

#include <QRegularExpression>

#include "BrivaneTool.h"
#include "CommandLine.h"
#include "photoedits/ResizeChoice.h"

namespace {
constexpr char kResizeUsage[] =
    "Usage: brivane resize NAME... SIZE\n"
    "       brivane resize --file IN OUT SIZE\n"
    "\n"
    "Resizes each stored photo NAME, stored again with its description, or with --file the\n"
    "picture file IN, written as OUT in the format its extension names (JPEG at the best\n"
    "quality), as the Resize dialog does: averaging when made smaller, bicubic when larger.\n"
    "\n"
    "SIZE is WIDTHxHEIGHT in pixels (800x600), or one side only (800x or x600) for the other\n"
    "to follow the picture's proportions. Each side is from 1 to 65535 pixels.\n";

// The size asked for, with 0 for a side left to the proportions; false when malformed.
bool ParseResizeSize(const QString& text, int& width, int& height) {
  static const QRegularExpression pattern(QStringLiteral("^(\\d*)[xX](\\d*)$"));
  const QRegularExpressionMatch match = pattern.match(text);
  if (!match.hasMatch() || (match.captured(1).isEmpty() && match.captured(2).isEmpty())) return false;
  bool number = true;
  width = match.captured(1).isEmpty() ? 0 : match.captured(1).toInt(&number);
  if (!number) return false;
  height = match.captured(2).isEmpty() ? 0 : match.captured(2).toInt(&number);
  return number && (width > 0 || match.captured(1).isEmpty()) && (height > 0 || match.captured(2).isEmpty());
}
}  // namespace

int BrivaneTool::resize(const QStringList& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {QStringLiteral("--file")}, {});
  if (parsed.Help) {
    m_out << kResizeUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  const bool onFile = parsed.Flags.contains(QStringLiteral("--file"));
  if (onFile ? parsed.Positional.size() != 3 : parsed.Positional.size() < 2)
    return usageError(onFile ? QStringLiteral("give the file to read, the file to write and a size")
                             : QStringLiteral("give photo names and a size"));
  int width = 0, height = 0;
  if (!ParseResizeSize(parsed.Positional.last(), width, height))
    return usageError(QStringLiteral("'%1' is not a size such as 800x600, 800x or x600").arg(parsed.Positional.last()));

  const PictureEdit edit{QStringLiteral("resize to %1").arg(parsed.Positional.last()), [width, height](ImageBitmap& picture) {
                           const QSize shown = picture.shownSize();
                           int w = width, h = height;
                           if (w == 0) w = std::max(1, int(std::lround(double(h) * shown.width() / shown.height())));
                           if (h == 0) h = std::max(1, int(std::lround(double(w) * shown.height() / shown.width())));
                           const QString problem = ResizeSizeProblem(w, h, picture.BitsPerPixel, MachineMemoryBytes());
                           return problem.isEmpty() ? ResultProblem(ResizeToShownSize(picture, w, h)) : problem;
                         }};
  if (onFile) return editFile(edit, parsed.Positional[0], parsed.Positional[1]);
  return editPhotos(edit, parsed.Positional.first(parsed.Positional.size() - 1));
}
