#include "RenderOptions.h"

namespace {
bool ParseSize(const QString& text, QSize& size) {
  const QStringList parts = text.split(u'x');
  if (parts.size() != 2) return false;
  bool okW = false, okH = false;
  const int w = parts[0].toInt(&okW), h = parts[1].toInt(&okH);
  // Large enough for any shipped picture, small enough that a typo cannot eat the memory.
  if (!okW || !okH || w < 1 || h < 1 || w > 4096 || h > 4096) return false;
  size = QSize(w, h);
  return true;
}

bool ParseColour(const QString& text, QColor& colour) {
  colour = QColor(QStringLiteral("#") + text);
  return text.size() == 6 && colour.isValid();
}
}  // namespace

QString RenderUsage() {
  return QStringLiteral(
      "usage: brivane-render --size WxH [--hole hard|soft] [--grain N] [--streak]\n"
      "                      [--key RRGGBB] [--matte RRGGBB] [--colours N] [--quality Q]\n"
      "                      -o OUTPUT SOURCE.svg [SOURCE.svg ...]\n"
      "       brivane-render --sheet --root PROGRAM_FOLDER --sample PHOTO.svg -o SHEET.png FILE ...\n");
}

bool ParseRenderOptions(const QStringList& arguments, RenderOptions& options, QString& error) {
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    auto value = [&](QString& out) {
      if (i + 1 >= arguments.size()) {
        error = arg + QStringLiteral(" needs a value");
        return false;
      }
      out = arguments[++i];
      return true;
    };
    QString v;
    if (arg == u"--sheet") {
      options.sheet = true;
    } else if (arg == u"--streak") {
      options.streak = true;
    } else if (arg == u"-o") {
      if (!value(options.output)) return false;
    } else if (arg == u"--root") {
      if (!value(options.root)) return false;
    } else if (arg == u"--sample") {
      if (!value(options.sample)) return false;
    } else if (arg == u"--size") {
      if (!value(v)) return false;
      if (!ParseSize(v, options.size)) {
        error = QStringLiteral("bad size: ") + v;
        return false;
      }
    } else if (arg == u"--hole") {
      if (!value(v)) return false;
      if (v == u"hard") {
        options.hole = HoleEdge::Hard;
      } else if (v == u"soft") {
        options.hole = HoleEdge::Soft;
      } else {
        error = QStringLiteral("bad hole edge: ") + v;
        return false;
      }
    } else if (arg == u"--grain" || arg == u"--colours" || arg == u"--quality") {
      if (!value(v)) return false;
      bool ok = false;
      const int n = v.toInt(&ok);
      const bool inRange = arg == u"--grain" ? (n >= 0 && n <= 64)
                           : arg == u"--colours" ? (n >= 2 && n <= 256)
                                                 : (n >= 2 && n <= 255);
      if (!ok || !inRange) {
        error = QStringLiteral("bad value for ") + arg + QStringLiteral(": ") + v;
        return false;
      }
      (arg == u"--grain" ? options.grain : arg == u"--colours" ? options.colours : options.quality) = n;
    } else if (arg == u"--key" || arg == u"--matte") {
      if (!value(v)) return false;
      QColor c;
      if (!ParseColour(v, c)) {
        error = QStringLiteral("bad colour: ") + v;
        return false;
      }
      if (arg == u"--key") {
        options.hasKey = true;
        options.key = c;
      } else {
        options.matte = c;
      }
    } else if (arg.startsWith(u'-')) {
      error = QStringLiteral("unknown option: ") + arg;
      return false;
    } else {
      options.inputs << arg;
    }
  }
  if (options.output.isEmpty() || options.inputs.isEmpty()) {
    error = QStringLiteral("an output and at least one input are needed");
    return false;
  }
  if (!options.sheet && options.size.isEmpty()) {
    error = QStringLiteral("--size is needed");
    return false;
  }
  if (options.sheet && options.root.isEmpty()) {
    error = QStringLiteral("--root is needed for the sheet");
    return false;
  }
  return true;
}
