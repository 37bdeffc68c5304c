#include "CommandLine.h"

#include <QFont>

#include "krn/ltkrn.h"

ParsedArguments ParseArguments(const QStringList& arguments, const QStringList& flagOptions,
                               const QStringList& valueOptions) {
  ParsedArguments parsed;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--")) {
      parsed.Positional += arguments.mid(i + 1);
      break;
    }
    if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
      parsed.Help = true;
      continue;
    }
    if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
      parsed.Positional.append(argument);
      continue;
    }
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    const QString option = equals < 0 ? argument : argument.left(equals);
    if (flagOptions.contains(option) && equals < 0) {
      parsed.Flags.insert(option);
    } else if (valueOptions.contains(option)) {
      if (equals >= 0) {
        parsed.Values[option] = argument.mid(equals + 1);
      } else if (i + 1 < arguments.size()) {
        parsed.Values[option] = arguments[++i];
      } else {
        parsed.Error = QStringLiteral("%1 needs a value").arg(option);
        return parsed;
      }
    } else {
      parsed.Error = QStringLiteral("unknown option '%1'").arg(argument);
      return parsed;
    }
  }
  return parsed;
}

void EmptyBitmap(ImageBitmap& bmp) {
  FreeBitmap(bmp);
  InitBitmap(bmp, 0, 0, 0);
}

QString ResultDescription(int code) {
  return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(ResultName(code)),
                                       QString::fromUtf8(ResultText(code)));
}

QString FileResultDescription(int code, const FileInfo& header) {
  return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(ResultName(code)),
                                       DescribeFileResult(code, header));
}

QString ResultProblem(int code) { return code == SUCCESS ? QString() : ResultDescription(code); }

bool ParseFont(const QString& text, QFont& font) {
  QStringList parts = text.split(QLatin1Char(','));
  if (parts.size() < 2) return false;
  font = QFont(parts.takeFirst().trimmed());
  bool number = false;
  const double points = parts.takeFirst().trimmed().toDouble(&number);
  if (!number || points <= 0 || points > 1000) return false;
  font.setPointSizeF(points);
  for (const QString& part : parts) {
    const QString style = part.trimmed().toLower();
    if (style == QLatin1String("bold")) font.setBold(true);
    else if (style == QLatin1String("italic")) font.setItalic(true);
    else return false;
  }
  return true;
}
