#include "BrivaneTool.h"

#include "CommandLine.h"
#include "img/EffectTable.h"

namespace {
constexpr char kEffectUsage[] =
    "Usage: brivane effect [--value N] [--option K] NAME... EFFECT\n"
    "       brivane effect --file [--value N] [--option K] IN OUT EFFECT\n"
    "       brivane effect --list\n"
    "\n"
    "Applies one of Brivane's special effects, as the Special Effects dialog does: to each\n"
    "stored photo NAME, which is stored again with its description, or with --file to the\n"
    "picture file IN, written as OUT in the format its extension names (JPEG at the best\n"
    "quality). EFFECT is an effect's name (\"gray-scale\", \"Reduce noise\") or its code.\n"
    "\n"
    "  --value N   the effect's value, within its range (default: the dialog's start value)\n"
    "  --option K  the direction, colour plane or filter, by number from 0 or by name\n"
    "              (default: the first)\n"
    "  --list      list the effects: code, name, value range and start, choices\n";

QString OptionKind(EffectOptions options) {
  switch (options) {
    case EffectOptions::Directions: return QStringLiteral("direction");
    case EffectOptions::Channels: return QStringLiteral("plane");
    case EffectOptions::Filters: return QStringLiteral("filter");
    case EffectOptions::None: break;
  }
  return QString();
}
}  // namespace

int BrivaneTool::listEffects() {
  for (const EffectInfo& effect : Effects()) {
    m_out << effect.Code << '\t' << effect.Name << '\t';
    if (effect.HasValue())
      m_out << effect.LowestValue() << " to " << effect.HighestValue() << ", start "
            << EffectValueText(effect, effect.Start);
    else
      m_out << "no value";
    const QStringList options = EffectOptionTexts(effect.Options);
    m_out << '\t';
    if (options.isEmpty()) m_out << "no choices";
    for (qsizetype i = 0; i < options.size(); ++i) m_out << (i ? "; " : "") << i << ' ' << options[i];
    m_out << '\n';
  }
  m_out.flush();
  return kSuccess;
}

int BrivaneTool::effect(const QStringList& arguments) {
  const ParsedArguments parsed = ParseArguments(
      arguments, {QStringLiteral("--file"), QStringLiteral("--list")},
      {QStringLiteral("--value"), QStringLiteral("--option")});
  if (parsed.Help) {
    m_out << kEffectUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  if (parsed.Flags.contains(QStringLiteral("--list"))) {
    if (!parsed.Positional.isEmpty()) return usageError(QStringLiteral("--list takes nothing else"));
    return listEffects();
  }
  const bool onFile = parsed.Flags.contains(QStringLiteral("--file"));
  if (onFile ? parsed.Positional.size() != 3 : parsed.Positional.size() < 2)
    return usageError(onFile ? QStringLiteral("give the file to read, the file to write and an effect")
                             : QStringLiteral("give photo names and an effect"));

  const EffectInfo* effect = FindEffectByName(parsed.Positional.last());
  if (!effect) return usageError(QStringLiteral("there is no effect '%1'; 'brivane effect --list' lists them")
                                     .arg(parsed.Positional.last()));
  int value = effect->Start / effect->PositionsPerUnit;
  if (parsed.Values.contains(QStringLiteral("--value"))) {
    if (!effect->HasValue()) return usageError(QStringLiteral("%1 takes no value").arg(effect->Name));
    bool number = false;
    value = parsed.Values[QStringLiteral("--value")].toInt(&number);
    if (!number || value < effect->LowestValue() || value > effect->HighestValue())
      return usageError(QStringLiteral("the value of %1 is a whole number from %2 to %3")
                            .arg(effect->Name)
                            .arg(effect->LowestValue())
                            .arg(effect->HighestValue()));
  }
  int option = 0;
  if (parsed.Values.contains(QStringLiteral("--option"))) {
    const QStringList options = EffectOptionTexts(effect->Options);
    if (options.isEmpty()) return usageError(QStringLiteral("%1 offers no choices").arg(effect->Name));
    const QString given = parsed.Values[QStringLiteral("--option")];
    bool number = false;
    option = given.toInt(&number);
    if (!number) {
      option = -1;
      for (qsizetype i = 0; i < options.size(); ++i)
        if (options[i].compare(given, Qt::CaseInsensitive) == 0) option = int(i);
    }
    if (option < 0 || option >= options.size())
      return usageError(QStringLiteral("the %1 of %2 is a number from 0 to %3 or one of its names")
                            .arg(OptionKind(effect->Options), effect->Name)
                            .arg(options.size() - 1));
  }

  const PictureEdit edit{QStringLiteral("apply %1 to").arg(effect->Name), [effect, value, option](ImageBitmap& picture) {
                           return ResultProblem(ApplyEffect(*effect, picture, value, option));
                         }};
  if (onFile) return editFile(edit, parsed.Positional[0], parsed.Positional[1]);
  return editPhotos(edit, parsed.Positional.first(parsed.Positional.size() - 1));
}
