// brivane-render: makes the program folder's pictures from their SVG sources at build time.

#include <QGuiApplication>
#include <QTextStream>

#include "ContactSheet.h"
#include "ContentWriter.h"
#include "Grain.h"
#include "HoleCutter.h"
#include "PaletteQuantizer.h"
#include "RenderOptions.h"
#include "SvgRaster.h"

namespace {
// No artwork pixel of a template may be darker than this in every channel, well clear of
// the hole's pure black.
constexpr int kInkFloor = 6;

// Qt's note about a missing XDG_RUNTIME_DIR means nothing to a build step; SVG
// warnings do, so everything else is passed on.
void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (message.startsWith(QStringLiteral("QStandardPaths:"))) return;
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  QTextStream(stderr) << message << '\n';
}

int Fail(const QString& message) {
  QTextStream(stderr) << "brivane-render: " << message << '\n';
  return 1;
}

QString Render(const RenderOptions& options) {
  QString error;
  const QImage canvas = RenderSvgStrip(options.inputs, options.size, error);
  if (canvas.isNull()) return error;
  const bool gif = options.output.endsWith(QStringLiteral(".gif"), Qt::CaseInsensitive);
  const bool png = options.output.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
  if (options.hole != HoleEdge::None && !gif) return QStringLiteral("a template must be a GIF");

  QImage colour, hole;
  if (options.hole != HoleEdge::None) {
    Cutout cut = CutHole(canvas, options.hole);
    colour = std::move(cut.colour);
    hole = std::move(cut.hole);
  } else if (png && !options.hasKey) {
    // Cursors and icons keep their soft edges as real transparency.
    return SaveContentPicture(canvas.convertToFormat(QImage::Format_ARGB32), options.output,
                              options.quality);
  } else {
    colour = Flatten(canvas, options.matte, options.hasKey ? &options.key : nullptr);
  }
  // A key-coloured picture keeps its key exact, so it gets no grain.
  if (!options.hasKey) AddGrain(colour, hole, options.grain, options.streak);
  const QImage picture =
      gif ? PaletteQuantizer(options.colours, kInkFloor).quantize(colour, hole) : colour;
  return SaveContentPicture(picture, options.output, options.quality);
}
}  // namespace

int main(int argc, char** argv) {
  // A build machine has no display; fonts come from fontconfig either way.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietHandler);
  QGuiApplication app(argc, argv);
  RenderOptions options;
  QString error;
  if (!ParseRenderOptions(app.arguments(), options, error)) return Fail(error + u'\n' + RenderUsage());
  error = options.sheet ? WriteContactSheet(options.root, options.inputs, options.sample, options.output)
                        : Render(options);
  return error.isEmpty() ? 0 : Fail(error);
}
