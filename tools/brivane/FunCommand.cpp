#include <QColor>
#include <QFileInfo>
#include <QFont>

#include "BrivaneTool.h"
#include "CommandLine.h"
#include "library/PhotoNames.h"
#include "library/SavePictureAs.h"
#include "photoedits/CalendarSheet.h"
#include "photoedits/FrameComposite.h"
#include "photoedits/FrameFolder.h"
#include "photoedits/ProjectCards.h"
#include "system/Folders.h"

namespace {
constexpr char kFunUsage[] =
    "Usage: brivane fun calendar --month M --year Y [--file] PHOTO OUTPUT\n"
    "       brivane fun card --kind KIND --template N [--text TEXT] [--file] PHOTO OUTPUT\n"
    "       brivane fun card --kind KIND --list-templates\n"
    "\n"
    "Makes a project of the Fun tab from the stored photo PHOTO, or with --file from the\n"
    "picture file PHOTO, as its wizards do.\n"
    "\n"
    "calendar  a 640 x 960 page: the photo, the month and year, and the month's days.\n"
    "  --month M        1 to 12\n"
    "  --year Y         1900 to 2100\n"
    "card      the photo composed into a template of the program folder, scaled to its\n"
    "          height and centred, with text.\n"
    "  --kind KIND      sportscard, magazine or greetingcard\n"
    "  --template N     the template's number, as --list-templates lists them\n"
    "  --text TEXT      sportscard: the player's name; magazine: up to four captions\n"
    "                   separated by '|', drawn yellow, red, green and blue; greetingcard:\n"
    "                   the message, a line break (or \\n) starting a new line\n"
    "  --font FONT      greetingcard: family and size in points, and bold or italic:\n"
    "                   \"DejaVu Serif,36,bold\" (default: Sans Serif,36)\n"
    "  --colour COLOUR  greetingcard: the message's colour, #rrggbb or a name (default: black)\n"
    "  --list-templates list the templates of KIND, numbered\n"
    "\n"
    "OUTPUT is one of:\n"
    "  --out FILE          write a picture file in the format its extension names\n"
    "  --store NAME        store a new photo NAME (a name not stored yet)\n"
    "  --description TEXT  with --store: the photo's description (at most 255 characters)\n"
    "\n"
    "A greeting card is printed on one page and folded in four: the photo stands upside\n"
    "down in its upper left quarter, the message in its lower right.\n";

// The kinds of card, each with its templates' folder.
struct CardKind {
  const char* Name;
  QString (*Folder)();
};
constexpr CardKind kCardKinds[] = {
    {"sportscard", &GetSportsCardFolder},
    {"magazine", &GetMagazineFolder},
    {"greetingcard", &GetGreetingCardFolder},
};

// The value of an option as a whole number within the range; false when it is not.
bool WholeNumber(const QString& text, int low, int high, int& value) {
  bool number = false;
  value = text.trimmed().toInt(&number);
  return number && value >= low && value <= high;
}

// "1 All Star, 2 Champion, 3 Rookie".
QString NumberedNames(const std::vector<FrameItem>& templates) {
  QStringList names;
  for (size_t i = 0; i < templates.size(); ++i)
    names << QStringLiteral("%1 %2").arg(i + 1).arg(templates[i].Name);
  return names.join(QStringLiteral(", "));
}
}  // namespace

int BrivaneTool::fun(const QStringList& arguments) {
  QStringList rest = arguments;
  const QString action = rest.value(0);
  if (action == QLatin1String("calendar") || action == QLatin1String("card"))
    rest.removeFirst();
  else if (action != QLatin1String("--help") && action != QLatin1String("-h"))
    return usageError(QStringLiteral("the fun commands are 'calendar' and 'card'"));
  const QStringList output = {QStringLiteral("--out"), QStringLiteral("--store"),
                              QStringLiteral("--description")};
  const ParsedArguments parsed =
      action == QLatin1String("card")
          ? ParseArguments(
                rest, {QStringLiteral("--file"), QStringLiteral("--list-templates")},
                output + QStringList{QStringLiteral("--kind"), QStringLiteral("--template"),
                                     QStringLiteral("--text"), QStringLiteral("--font"),
                                     QStringLiteral("--colour")})
          : ParseArguments(
                rest, {QStringLiteral("--file")},
                output + QStringList{QStringLiteral("--month"), QStringLiteral("--year")});
  if (parsed.Help) {
    m_out << kFunUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  return action == QLatin1String("card") ? funCard(parsed) : funCalendar(parsed);
}

int BrivaneTool::funCalendar(const ParsedArguments& parsed) {
  int month = 0, year = 0;
  if (!WholeNumber(parsed.Values.value(QStringLiteral("--month")), 1, 12, month))
    return usageError(QStringLiteral("--month takes a month from 1 to 12"));
  if (!WholeNumber(parsed.Values.value(QStringLiteral("--year")), kCalendarFirstYear,
                   kCalendarLastYear, year))
    return usageError(QStringLiteral("--year takes a year from %1 to %2")
                          .arg(kCalendarFirstYear)
                          .arg(kCalendarLastYear));
  if (parsed.Positional.size() != 1) return usageError(QStringLiteral("give one photo"));
  FunOutput output;
  int status = checkFunOutput(parsed, output);
  if (status != kSuccess) return status;

  ImageBitmap photo;
  if ((status = loadFunPhoto(parsed, photo)) != kSuccess) return status;
  ImageBitmap sheet;
  const int result = DrawCalendarSheet(photo, month, year, sheet);
  EmptyBitmap(photo);
  if (result != SUCCESS)
    return fail(QStringLiteral("cannot draw the calendar of '%1': %2")
                    .arg(parsed.Positional[0], ResultDescription(result)));
  return keepFunResult(sheet, output);
}

int BrivaneTool::funCard(const ParsedArguments& parsed) {
  const QString kindName = parsed.Values.value(QStringLiteral("--kind"));
  const CardKind* kind = nullptr;
  for (const CardKind& known : kCardKinds)
    if (kindName == QLatin1String(known.Name)) kind = &known;
  if (!kind) return usageError(QStringLiteral("--kind is sportscard, magazine or greetingcard"));
  const bool greeting = kind == &kCardKinds[2];
  const bool listing = parsed.Flags.contains(QStringLiteral("--list-templates"));
  if (listing && !parsed.Positional.isEmpty())
    return usageError(QStringLiteral("--list-templates takes no photo"));
  if (!listing && parsed.Positional.size() != 1)
    return usageError(QStringLiteral("give one photo"));
  if (!listing && !parsed.Values.contains(QStringLiteral("--template")))
    return usageError(QStringLiteral("--template N chooses the template (see --list-templates)"));

  const QString text = parsed.Values.value(QStringLiteral("--text"));
  MagazineCaptions captions = DefaultMagazineCaptions();
  if (kind == &kCardKinds[1]) {
    const QStringList parts = text.isEmpty() ? QStringList() : text.split(QLatin1Char('|'));
    if (parts.size() > int(captions.size()))
      return usageError(QStringLiteral("a magazine cover has at most 4 captions; %1 were given")
                            .arg(parts.size()));
    for (qsizetype i = 0; i < parts.size(); ++i) captions[size_t(i)].Text = parts[i];
  }
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(36);
  QColor colour = Qt::black;
  if (!greeting && (parsed.Values.contains(QStringLiteral("--font")) ||
                    parsed.Values.contains(QStringLiteral("--colour"))))
    return usageError(QStringLiteral("--font and --colour are for greeting cards"));
  if (parsed.Values.contains(QStringLiteral("--font")) &&
      !ParseFont(parsed.Values[QStringLiteral("--font")], font))
    return usageError(QStringLiteral(
        "a font is a family and a size in points, as \"DejaVu Serif,36\" or \"Sans,24,bold\""));
  if (parsed.Values.contains(QStringLiteral("--colour"))) {
    colour = QColor::fromString(parsed.Values[QStringLiteral("--colour")]);
    if (!colour.isValid())
      return usageError(
          QStringLiteral("'%1' is not a colour").arg(parsed.Values[QStringLiteral("--colour")]));
  }
  FunOutput output;
  int status = listing ? kSuccess : checkFunOutput(parsed, output);
  if (status != kSuccess) return status;

  if (!findProgramFolder()) return kFailure;
  const QString folder = kind->Folder();
  const std::vector<FrameItem> templates = ListFrames(folder, HoleFill::ColourAtPoint);
  if (templates.empty())
    return fail(QStringLiteral("there are no %1 templates in '%2'").arg(kindName, folder));
  if (listing) {
    for (size_t i = 0; i < templates.size(); ++i)
      m_out << (i + 1) << '\t' << templates[i].Name << '\n';
    m_out.flush();
    return kSuccess;
  }
  int number = 0;
  if (!WholeNumber(parsed.Values.value(QStringLiteral("--template")), 1, int(templates.size()),
                   number))
    return usageError(QStringLiteral("there is no %1 template '%2'; the templates are %3")
                          .arg(kindName, parsed.Values.value(QStringLiteral("--template")),
                               NumberedNames(templates)));
  const QString templateName = templates[size_t(number - 1)].Name;
  ImageBitmap frame;
  if (!LoadFrame(folder, templateName, frame))
    return fail(QStringLiteral("cannot read the template '%1%2.gif'").arg(folder, templateName));

  ImageBitmap photo;
  if ((status = loadFunPhoto(parsed, photo)) != kSuccess) return status;
  ImageBitmap framed;
  // The wizards' default placement: no pan, no zoom.
  int result = ComposeInFrame(photo, frame, FrameView{QPoint(), 1, QSize(), QSize()}, framed);
  EmptyBitmap(photo);
  ImageBitmap card;
  if (result == SUCCESS) {
    if (greeting) {
      QString message = text;
      message.replace(QLatin1String("\\n"), QLatin1String("\n"));
      result = DrawGreetingCard(framed, message, font, colour, GreetingCardSize(QSize()), card);
    } else if (kind == &kCardKinds[1]) {
      result = DrawMagazineCover(framed, captions, card);
    } else {
      result = DrawSportsCard(framed, text, card);
    }
  }
  if (result != SUCCESS)
    return fail(QStringLiteral("cannot make the %1 of '%2': %3")
                    .arg(kindName, parsed.Positional[0], ResultDescription(result)));
  return keepFunResult(card, output);
}

int BrivaneTool::loadFunPhoto(const ParsedArguments& parsed, ImageBitmap& photo) {
  const QString& name = parsed.Positional[0];
  if (parsed.Flags.contains(QStringLiteral("--file"))) {
    FileInfo header;
    const int result = LoadPictureFile(name, photo, header);
    if (result != SUCCESS)
      return fail(
          QStringLiteral("cannot read '%1': %2").arg(name, FileResultDescription(result, header)));
    return kSuccess;
  }
  if (!openStore()) return kFailure;
  const QString stem = storedStem(name);
  if (stem.isEmpty()) return kFailure;
  const int result = m_store.LoadPhoto(photo, stem);
  if (result != SUCCESS)
    return fail(
        QStringLiteral("cannot read the photo '%1': %2").arg(name, ResultDescription(result)));
  return kSuccess;
}

int BrivaneTool::checkFunOutput(const ParsedArguments& parsed, FunOutput& output) {
  const bool toFile = parsed.Values.contains(QStringLiteral("--out"));
  const bool toStore = parsed.Values.contains(QStringLiteral("--store"));
  if (toFile == toStore)
    return usageError(QStringLiteral("give either --out FILE or --store NAME"));
  output.Description = parsed.Values.value(QStringLiteral("--description"));
  if (toFile) {
    if (parsed.Values.contains(QStringLiteral("--description")))
      return usageError(QStringLiteral("--description is for a photo stored with --store"));
    output.File = QFileInfo(parsed.Values.value(QStringLiteral("--out"))).absoluteFilePath();
    if (parsed.Flags.contains(QStringLiteral("--file")) &&
        QFileInfo(parsed.Positional[0]).absoluteFilePath() == output.File)
      return usageError(
          QStringLiteral("write the result to another file than '%1'").arg(parsed.Positional[0]));
    if (SaveAsSettingsFor(output.File, 24).Format == 0)
      return fail(QStringLiteral("'%1' does not end in an image file type Brivane writes")
                      .arg(parsed.Values.value(QStringLiteral("--out"))));
    return kSuccess;
  }
  if (CharacterCount(output.Description) > kMaxDescriptionLength)
    return usageError(QStringLiteral("the description has %1 characters; at most %2 are allowed")
                          .arg(CharacterCount(output.Description))
                          .arg(kMaxDescriptionLength));
  // The name is checked before any drawing, and again as the photo is placed.
  if (!openStore()) return kFailure;
  const NameCheck check = m_store.CheckName(parsed.Values.value(QStringLiteral("--store")));
  if (!check.accepted()) return fail(check.Message);
  output.Name = check.Name;
  return kSuccess;
}

int BrivaneTool::keepFunResult(ImageBitmap& picture, const FunOutput& output) {
  if (!output.File.isEmpty()) {
    const int result = SavePictureAs(SaveAsSettingsFor(output.File, picture.BitsPerPixel), picture);
    EmptyBitmap(picture);
    if (result != SUCCESS)
      return fail(
          QStringLiteral("cannot write '%1': %2").arg(output.File, ResultDescription(result)));
    m_out << output.File << Qt::endl;
    return kSuccess;
  }
  const int result =
      m_store.StorePhoto(picture, output.Name, output.Description, PhotoStore::Placing::NoReplace);
  EmptyBitmap(picture);
  if (result != SUCCESS)
    return fail(
        QStringLiteral("cannot store '%1': %2").arg(output.Name, ResultDescription(result)));
  m_out << output.Name << Qt::endl;
  return kSuccess;
}
