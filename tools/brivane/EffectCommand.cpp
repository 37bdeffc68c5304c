#include "BrivaneTool.h"

#include <QFileInfo>

#include "CommandLine.h"
#include "img/EffectTable.h"
#include "library/SavePictureAs.h"

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

  if (onFile) return applyEffectToFile(*effect, value, option, parsed.Positional[0], parsed.Positional[1]);
  if (!openStore()) return kFailure;
  // Each photo on its own: one that cannot be changed does not stop the others.
  int status = kSuccess;
  for (const QString& name : parsed.Positional.first(parsed.Positional.size() - 1))
    if (applyEffectToPhoto(*effect, value, option, name) != kSuccess) status = kFailure;
  return status;
}

int BrivaneTool::applyEffectToPhoto(const EffectInfo& effect, int value, int option, const QString& name) {
  const QString stem = storedStem(name);
  if (stem.isEmpty()) return kFailure;
  ImageBitmap working;
  int result = m_store.LoadPhoto(working, stem);
  if (result == SUCCESS) result = ApplyEffect(effect, working, value, option);
  if (result == SUCCESS) result = m_store.ReplacePicture(working, stem);
  EmptyBitmap(working);
  if (result != SUCCESS)
    return fail(QStringLiteral("cannot apply %1 to '%2': %3").arg(effect.Name, name, ResultDescription(result)));
  return kSuccess;
}

int BrivaneTool::applyEffectToFile(const EffectInfo& effect, int value, int option, const QString& in,
                                   const QString& out) {
  const QString target = QFileInfo(out).absoluteFilePath();
  if (QFileInfo(in).absoluteFilePath() == target)
    return usageError(QStringLiteral("write the result to another file than '%1'").arg(in));
  ImageBitmap picture;
  FileInfo header;
  int result = LoadPictureFile(in, picture, header);
  if (result != SUCCESS) return fail(QStringLiteral("cannot read '%1': %2").arg(in, FileResultDescription(result, header)));
  result = ApplyEffect(effect, picture, value, option);
  if (result != SUCCESS) return fail(QStringLiteral("cannot apply %1: %2").arg(effect.Name, ResultDescription(result)));
  const SaveAsSettings settings = SaveAsSettingsFor(target, picture.BitsPerPixel);
  if (settings.Format == 0) return fail(QStringLiteral("'%1' does not end in an image file type Brivane writes").arg(out));
  result = SavePictureAs(settings, picture);
  if (result != SUCCESS) return fail(QStringLiteral("cannot write '%1': %2").arg(target, ResultDescription(result)));
  return kSuccess;
}
