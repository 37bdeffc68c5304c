#include "BrivaneTool.h"

#include "CommandLine.h"

#include <cstdio>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSet>

#include "albums/AlbumFile.h"
#include "fil/ltfil.h"
#include "krn/ltkrn.h"
#include "labels/LabelTemplates.h"
#include "labels/PageCells.h"
#include "labels/PageLayout.h"
#include "labels/SheetPrinting.h"
#include "library/PhotoBatchImporter.h"
#include "library/PhotoEncoding.h"
#include "library/PhotoNames.h"
#include "library/PhotoStoreRepair.h"
#include "library/SavePictureAs.h"
#include "shows/ShowBuild.h"
#include "system/Folders.h"
#include "system/Profile.h"
#include "system/RegistryStore.h"

namespace {
constexpr char kToolUsage[] =
    "Usage: brivane [--program-folder DIR] COMMAND [ARGUMENTS...]\n"
    "\n"
    "Works on the photos of a Brivane program folder, kept in its 'myphotos' folder\n"
    "(created when missing); an installed Brivane keeps them, with the albums, in\n"
    "$XDG_DATA_HOME/brivane/ (default ~/.local/share/brivane/) instead. The program\n"
    "folder is DIR, else $BRIVANE_PROGRAM_FOLDER, else the folder this program lies in.\n"
    "\n"
    "Commands:\n"
    "  import FILE...         store picture files as photos\n"
    "  list                   list the photos, newest first\n"
    "  describe NAME TEXT     change the description of a photo\n"
    "  rename OLD NEW         give a photo another name\n"
    "  delete NAME            delete a photo\n"
    "  export NAME FILE       save a photo as a picture file of the format its extension names\n"
    "  info FILE              show a picture file's format, size and description\n"
    "  show build PHOTO...    build a slide show or screen saver (see show --help)\n"
    "  labels templates       list the label sheets\n"
    "  labels print PHOTO...  print photos on a label sheet as a PDF (see labels --help)\n"
    "  effect NAME... EFFECT  apply a special effect to photos or a file (see effect --help)\n"
    "  resize NAME... SIZE    resize photos or a file (see resize --help)\n"
    "  caption NAME...        put a speech balloon, thought balloon or note on photos or a file\n"
    "                         (see caption --help)\n"
    "  fun calendar|card      make a calendar page, sports card, magazine cover or greeting\n"
    "                         card of a photo (see fun --help)\n"
    "  publish                send the photos and albums to the photo-sharing service\n"
    "                         (see publish --help)\n"
    "  retrieve               get the photos and albums of the account from the service\n"
    "                         (see retrieve --help)\n"
    "\n"
    "Run 'brivane COMMAND --help' for the options of a command.\n"
    "Exit status: 0 on success, 1 when the command failed, 2 for a wrong command line.\n";

constexpr char kImportUsage[] =
    "Usage: brivane import [--description TEXT] [--replace | --rename] [--jobs N] FILE...\n"
    "\n"
    "Stores each picture file as a photo named after the file, without its folder and\n"
    "extension, as dropping the files on Brivane's window does. Only files whose extension\n"
    "is an image type Brivane knows are imported (jpg, jff, jtf, bmp, gif, png, tif, pcx,\n"
    "tga, psd, ...; not jpeg). Each skipped file is reported with the reason.\n"
    "\n"
    "  --description TEXT  the description of every imported photo (at most 255 characters)\n"
    "  --replace           replace a stored photo of the same name\n"
    "  --rename            store under the next free name instead: \"Name (2)\", \"Name (3)\", ...\n"
    "  --jobs N            work on N files at once (default: one per processor); the result\n"
    "                      is the same as importing the files one after another\n"
    "\n"
    "Without --replace or --rename a file whose name is already stored is skipped.\n"
    "Standard output lists the names the photos were stored under. The exit status is 1\n"
    "when any file was not imported.\n";

constexpr char kListUsage[] =
    "Usage: brivane list\n"
    "\n"
    "Lists the photos, newest first, one a line: the name, the file time (local time,\n"
    "YYYY-MM-DD HH:MM:SS) and the description, separated by tabs. A backslash, tab or line\n"
    "break inside a name or description is written as \\\\, \\t or \\n.\n";

constexpr char kDescribeUsage[] =
    "Usage: brivane describe NAME TEXT\n"
    "\n"
    "Gives the photo NAME the description TEXT (at most 255 characters; \"\" removes it).\n"
    "Both files of the photo are written again with the new description.\n";

constexpr char kRenameUsage[] =
    "Usage: brivane rename OLD NEW\n"
    "\n"
    "Renames the photo OLD to NEW. NEW follows Brivane's naming rule: 1 to 60 characters,\n"
    "no '/' or control characters, and refused while a stored photo's name begins with it,\n"
    "ignoring case (so 'Tom' is refused while 'Tommy' exists). The album pages showing\n"
    "the photo show it under its new name.\n";

constexpr char kDeleteUsage[] =
    "Usage: brivane delete NAME\n"
    "\n"
    "Deletes the photo NAME (its picture and its thumbnail), without asking. Its places on\n"
    "album pages become blank.\n";

constexpr char kExportUsage[] =
    "Usage: brivane export [--force] NAME FILE\n"
    "\n"
    "Saves the photo NAME as FILE, as Brivane's Save Picture As does: the format comes\n"
    "from FILE's extension (\".jpg\" is added when FILE has none); JPEG is written with 24\n"
    "bits per pixel, GIF with 8, other formats with the photo's own; best quality.\n"
    "\n"
    "  --force  replace FILE when it exists\n";

constexpr char kInfoUsage[] =
    "Usage: brivane info FILE\n"
    "\n"
    "Shows the format, size, bits per pixel and description of a picture file, read from\n"
    "its header without decoding the picture.\n";

constexpr char kShowUsage[] =
    "Usage: brivane show build --kind slideshow|screensaver --name NAME [--folder DIR]\n"
    "                          [--use-as-screensaver] PHOTO...\n"
    "\n"
    "Builds one self-contained show file of the photos, in the order given (a photo may\n"
    "be given more than once), as Brivane's slide-show and screen-saver wizards do: the\n"
    "show launcher (mirrant) of the program folder with the player, the imaging modules\n"
    "and the photos appended. A slide show is saved as NAME.exe, a screen saver as\n"
    "NAME.scr; an earlier file of that name is replaced. Standard output names the file.\n"
    "\n"
    "  --kind KIND            slideshow (played by pavonel) or screensaver (by corilan)\n"
    "  --name NAME            the file name without extension (blanks around it dropped)\n"
    "  --folder DIR           where to save it; default: the folder of your photo files\n"
    "                         (the program folder of a portable Brivane) for a slide\n"
    "                         show, Brivane's screen-saver folder for a screen saver\n"
    "  --use-as-screensaver   screen savers only: make it the active screen saver, also\n"
    "                         xscreensaver's selected one (in ~/.xscreensaver)\n";

constexpr char kLabelsUsage[] =
    "Usage: brivane labels templates\n"
    "       brivane labels print --template CODE [--fill] --pdf FILE PHOTO...\n"
    "\n"
    "templates  lists the label sheets of the program folder's labels.dat in file order,\n"
    "           one a line: product code, name, rows x columns and the size of a label in\n"
    "           inches, separated by tabs.\n"
    "print      lays the photos on the sheet CODE in label order (left to right, then top\n"
    "           to bottom; a photo may be given more than once, labels left over stay\n"
    "           blank) and writes the sheet as Brivane prints it: one US-letter page of a\n"
    "           PDF at 600 dpi. An earlier FILE is replaced once the page is complete.\n"
    "\n"
    "  --template CODE  the product code of the sheet, as 'labels templates' lists it\n"
    "  --fill           put the one photo given on every label\n"
    "  --pdf FILE       the PDF to write\n";

// Sheets are printed as a PDF page of this resolution.
constexpr int kSheetDpi = 600;

// A measure in inches as labels.dat gives it, without trailing zeros.
QString Inches(double value) { return QString::number(value, 'g', 10); }

// One field of a listing line: nothing in it may break the line or its columns.
QString ListField(QString text) {
  text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
  text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
  text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
  text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
  return text;
}

}  // namespace

BrivaneTool::BrivaneTool() : m_out(stdout), m_err(stderr) {}

void BrivaneTool::warnAboutUnusedSettingsFiles() {
  for (const ProfileNotice& notice : TakeProfileNotices())
    m_err << "brivane: warning: " << notice.Path
          << " is not used and left as it is: " << notice.Reason << Qt::endl;
}

int BrivaneTool::fail(const QString& reason) {
  // The warning first: it is often why the command failed.
  warnAboutUnusedSettingsFiles();
  m_err << "brivane: " << (m_command.isEmpty() ? QString() : m_command + QStringLiteral(": "))
        << reason << Qt::endl;
  return kFailure;
}

int BrivaneTool::usageError(const QString& reason) {
  fail(reason + QStringLiteral(" (see 'brivane %1--help')")
                    .arg(m_command.isEmpty() ? QString() : m_command + QLatin1Char(' ')));
  return kWrongCommandLine;
}

int BrivaneTool::run(const QStringList& arguments) {
  QStringList rest = arguments;
  QString programFolder;
  while (!rest.isEmpty() && rest.first().startsWith(QLatin1Char('-'))) {
    const QString option = rest.takeFirst();
    if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
      m_out << kToolUsage;
      return kSuccess;
    }
    if (option == QLatin1String("--program-folder")) {
      if (rest.isEmpty()) return usageError(QStringLiteral("--program-folder needs a folder"));
      programFolder = rest.takeFirst();
    } else if (option.startsWith(QLatin1String("--program-folder="))) {
      programFolder = option.mid(int(sizeof("--program-folder=")) - 1);
    } else {
      return usageError(QStringLiteral("unknown option '%1'").arg(option));
    }
  }
  if (rest.isEmpty()) {
    m_err << kToolUsage;
    return kWrongCommandLine;
  }
  m_command = rest.takeFirst();

  using Command = int (BrivaneTool::*)(const QStringList&);
  static const QMap<QString, Command> kCommands = {
      {QStringLiteral("import"), &BrivaneTool::import},
      {QStringLiteral("list"), &BrivaneTool::list},
      {QStringLiteral("describe"), &BrivaneTool::describe},
      {QStringLiteral("rename"), &BrivaneTool::rename},
      {QStringLiteral("delete"), &BrivaneTool::remove},
      {QStringLiteral("export"), &BrivaneTool::exportPhoto},
      {QStringLiteral("info"), &BrivaneTool::info},
      {QStringLiteral("show"), &BrivaneTool::show},
      {QStringLiteral("labels"), &BrivaneTool::labels},
      {QStringLiteral("effect"), &BrivaneTool::effect},
      {QStringLiteral("resize"), &BrivaneTool::resize},
      {QStringLiteral("caption"), &BrivaneTool::caption},
      {QStringLiteral("fun"), &BrivaneTool::fun},
      {QStringLiteral("publish"), &BrivaneTool::publish},
      {QStringLiteral("retrieve"), &BrivaneTool::retrieve},
  };
  const auto command = kCommands.constFind(m_command);
  if (command == kCommands.cend()) {
    const QString unknown = m_command;
    m_command.clear();
    return usageError(QStringLiteral("unknown command '%1'").arg(unknown));
  }

  m_programFolder = programFolder;
  const int status = (this->*command.value())(rest);
  warnAboutUnusedSettingsFiles();
  return status;
}

bool BrivaneTool::findProgramFolder() {
  // Through the same folder functions as the program, so both find the same files.
  if (!m_programFolder.isEmpty())
    qputenv("BRIVANE_PROGRAM_FOLDER", QFile::encodeName(QDir(m_programFolder).absolutePath()));
  if (!QFileInfo(GetProgramFolder()).isDir()) {
    fail(QStringLiteral("the program folder '%1' does not exist").arg(GetProgramFolder()));
    return false;
  }
  return true;
}

bool BrivaneTool::loadLabelTemplates(LabelTemplateList& templates) {
  if (!findProgramFolder()) return false;
  const QString file = GetProgramFolder() + QLatin1String(LabelTemplateList::kFileName);
  templates = LoadLabelTemplates(file);
  if (templates.TemplateCount() > 0) return true;
  fail(QStringLiteral("there are no label sheets in '%1'").arg(file));
  return false;
}

void BrivaneTool::updateAlbums(const std::function<int(std::vector<PhotoAlbum>&)>& change) {
  const QString file = GetUserDataFolder() + QLatin1String(kAlbumFileName);
  const LabelTemplateList templates =
      LoadLabelTemplates(GetProgramFolder() + QLatin1String(LabelTemplateList::kFileName));
  std::vector<PhotoAlbum> albums = LoadAlbums(file, templates);
  if (change(albums) == 0) return;
  // The photo itself has changed already: the command succeeded, its albums lag behind.
  if (!SaveAlbums(file, albums))
    m_err << "brivane: warning: cannot update the albums in '" << file << "'" << Qt::endl;
}

bool BrivaneTool::openStore() {
  if (!findProgramFolder()) return false;
  m_store = PhotoStore(GetMyPhotosFolder());
  if (!MakeMyPhotosFolder() || !m_store.EnsureFolder()) {
    fail(QStringLiteral("cannot create the folder '%1'").arg(m_store.Folder()));
    return false;
  }
  // A run killed half way left a photo half stored: finish it first, so this command
  // sees the photos the program lists.
  const StoreRepair repair = RepairPhotoStore(m_store);
  for (const QString& stem : repair.ThumbnailsMade)
    m_err << "brivane: made the missing thumbnail of '" << NameForStem(stem) << "'" << Qt::endl;
  for (const QString& stem : repair.ThumbnailsRemoved)
    m_err << "brivane: removed the thumbnail of '" << NameForStem(stem)
          << "', whose photo is gone" << Qt::endl;
  return true;
}

QString BrivaneTool::storedStem(const QString& name) {
  const QString stem = StemForName(TrimPhotoName(name));
  if (!stem.isEmpty() && m_store.Contains(stem)) return stem;
  fail(QStringLiteral("there is no photo named '%1'").arg(name));
  return {};
}

int BrivaneTool::import(const QStringList& arguments) {
  const ParsedArguments parsed =
      ParseArguments(arguments, {QStringLiteral("--replace"), QStringLiteral("--rename")},
                     {QStringLiteral("--description"), QStringLiteral("--jobs")});
  if (parsed.Help) {
    m_out << kImportUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  if (parsed.Positional.isEmpty()) return usageError(QStringLiteral("no files to import"));
  if (parsed.Flags.contains(QStringLiteral("--replace")) &&
      parsed.Flags.contains(QStringLiteral("--rename")))
    return usageError(QStringLiteral("--replace and --rename exclude each other"));
  const QString description = parsed.Values.value(QStringLiteral("--description"));
  if (CharacterCount(description) > kMaxDescriptionLength)
    return usageError(QStringLiteral("the description has %1 characters; at most %2 are allowed")
                          .arg(CharacterCount(description))
                          .arg(kMaxDescriptionLength));
  int jobs = 0;
  if (parsed.Values.contains(QStringLiteral("--jobs"))) {
    bool number = false;
    jobs = parsed.Values.value(QStringLiteral("--jobs")).toInt(&number);
    if (!number || jobs < 1 || jobs > 256)
      return usageError(QStringLiteral("--jobs takes a number from 1 to 256"));
  }
  if (!openStore()) return kFailure;

  PhotoBatchImporter importer(m_store);
  importer.SetDescription(description);
  importer.SetThreads(jobs);
  if (parsed.Flags.contains(QStringLiteral("--replace")))
    importer.SetWhenTaken(PhotoImporter::WhenTaken::Replace);
  else if (parsed.Flags.contains(QStringLiteral("--rename")))
    importer.SetWhenTaken(PhotoImporter::WhenTaken::Rename);

  const qsizetype total = parsed.Positional.size();
  qsizetype imported = 0;
  importer.Import(parsed.Positional, [&](qsizetype index, const QString& file,
                                         const ImportResult& result) {
    if (total > 1) m_err << '[' << (index + 1) << '/' << total << "] " << file << Qt::endl;
    if (result.imported()) {
      ++imported;
      m_out << result.Name << Qt::endl;
      return;
    }
    QString reason = result.Reason;
    if (result.State == ImportResult::Status::NameTaken)
      reason += QStringLiteral(" (--replace replaces it, --rename stores under another name)");
    m_err << "brivane: import: skipped " << file << ": " << reason << Qt::endl;
  });
  if (imported == total) return kSuccess;
  return fail(QStringLiteral("%1 of %2 files were not imported").arg(total - imported).arg(total));
}

int BrivaneTool::list(const QStringList& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {}, {});
  if (parsed.Help) {
    m_out << kListUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  if (!parsed.Positional.isEmpty()) return usageError(QStringLiteral("list takes no arguments"));
  if (!openStore()) return kFailure;
  for (const PhotoEntry& entry : m_store.List()) {
    const QString time = QDateTime::fromSecsSinceEpoch(entry.FileTime)
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    m_out << ListField(entry.Name) << '\t' << time << '\t' << ListField(entry.Description)
          << '\n';
  }
  m_out.flush();
  return kSuccess;
}

int BrivaneTool::describe(const QStringList& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {}, {});
  if (parsed.Help) {
    m_out << kDescribeUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  if (parsed.Positional.size() != 2) return usageError(QStringLiteral("give a photo name and a text"));
  const QString& text = parsed.Positional[1];
  if (CharacterCount(text) > kMaxDescriptionLength)
    return usageError(QStringLiteral("the description has %1 characters; at most %2 are allowed")
                          .arg(CharacterCount(text))
                          .arg(kMaxDescriptionLength));
  if (!openStore()) return kFailure;
  const QString stem = storedStem(parsed.Positional[0]);
  if (stem.isEmpty()) return kFailure;

  ImageBitmap working;
  int result = m_store.LoadPhoto(working, stem);
  if (result == SUCCESS) result = m_store.EditComment(working, stem, text);
  EmptyBitmap(working);
  if (result != SUCCESS) return fail(QStringLiteral("cannot store '%1' again: %2")
                                         .arg(parsed.Positional[0], ResultDescription(result)));
  return kSuccess;
}

int BrivaneTool::rename(const QStringList& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {}, {});
  if (parsed.Help) {
    m_out << kRenameUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  if (parsed.Positional.size() != 2) return usageError(QStringLiteral("give the old and the new name"));
  if (!openStore()) return kFailure;
  const QString stem = storedStem(parsed.Positional[0]);
  if (stem.isEmpty()) return kFailure;
  const NameCheck check = m_store.CheckName(parsed.Positional[1]);
  if (!check.accepted()) return fail(check.Message);
  const int result = m_store.Rename(stem, check.Name);
  if (result != SUCCESS) return fail(QStringLiteral("cannot rename '%1': %2")
                                         .arg(parsed.Positional[0], ResultDescription(result)));
  const QString newStem = StemForName(check.Name);
  updateAlbums(
      [&](std::vector<PhotoAlbum>& albums) { return RenamePhotoInAlbums(albums, stem, newStem); });
  return kSuccess;
}

int BrivaneTool::remove(const QStringList& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {}, {});
  if (parsed.Help) {
    m_out << kDeleteUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  if (parsed.Positional.size() != 1) return usageError(QStringLiteral("give one photo name"));
  if (!openStore()) return kFailure;
  const QString stem = storedStem(parsed.Positional[0]);
  if (stem.isEmpty()) return kFailure;
  const int result = m_store.Delete(stem);
  if (result != SUCCESS) return fail(QStringLiteral("cannot delete '%1': %2")
                                         .arg(parsed.Positional[0], ResultDescription(result)));
  updateAlbums(
      [&](std::vector<PhotoAlbum>& albums) { return RemovePhotoFromAlbums(albums, stem); });
  return kSuccess;
}

int BrivaneTool::exportPhoto(const QStringList& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {QStringLiteral("--force")}, {});
  if (parsed.Help) {
    m_out << kExportUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  if (parsed.Positional.size() != 2) return usageError(QStringLiteral("give a photo name and a file"));
  if (!openStore()) return kFailure;
  const QString stem = storedStem(parsed.Positional[0]);
  if (stem.isEmpty()) return kFailure;
  const QString path = QFileInfo(WithDefaultExtension(parsed.Positional[1])).absoluteFilePath();
  if (QFileInfo::exists(path) && !parsed.Flags.contains(QStringLiteral("--force")))
    return fail(QStringLiteral("'%1' exists; --force replaces it").arg(path));

  ImageBitmap working;
  int result = m_store.LoadPhoto(working, stem);
  SaveAsSettings settings = SaveAsSettingsFor(path, working.BitsPerPixel);
  if (result == SUCCESS) result = SavePictureAs(settings, working);
  EmptyBitmap(working);
  if (result != SUCCESS)
    return fail(QStringLiteral("cannot save '%1': %2").arg(path, ResultDescription(result)));
  m_out << path << '\t' << FormatName(settings.Format) << '\t' << settings.BitsPerPixel
        << " bits per pixel" << Qt::endl;
  return kSuccess;
}

int BrivaneTool::info(const QStringList& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {}, {});
  if (parsed.Help) {
    m_out << kInfoUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  if (parsed.Positional.size() != 1) return usageError(QStringLiteral("give one file"));
  const QString& file = parsed.Positional[0];
  FileInfo header;
  const int result = GetImageFileInfo(file, header);
  if (result != SUCCESS)
    return fail(
        QStringLiteral("cannot read '%1': %2").arg(file, FileResultDescription(result, header)));
  m_out << "format: " << FormatName(header.Format) << " (" << header.Format << ")\n"
        << "size: " << header.Width << " x " << header.Height << '\n'
        << "bits per pixel: " << header.BitsPerPixel << '\n'
        << "description: " << ListField(ReadPhotoDescription(file)) << Qt::endl;
  return kSuccess;
}

int BrivaneTool::show(const QStringList& arguments) {
  QStringList rest = arguments;
  const QString action = rest.value(0);
  if (action == QLatin1String("build"))
    rest.removeFirst();
  else if (action != QLatin1String("--help") && action != QLatin1String("-h"))
    return usageError(QStringLiteral("the only show command is 'build'"));
  const ParsedArguments parsed =
      ParseArguments(rest, {QStringLiteral("--use-as-screensaver")},
                     {QStringLiteral("--kind"), QStringLiteral("--name"), QStringLiteral("--folder")});
  if (parsed.Help) {
    m_out << kShowUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  const QString kind = parsed.Values.value(QStringLiteral("--kind"));
  if (kind != QLatin1String("slideshow") && kind != QLatin1String("screensaver"))
    return usageError(QStringLiteral("--kind is slideshow or screensaver"));
  const bool screenSaver = kind == QLatin1String("screensaver");
  if (parsed.Values.value(QStringLiteral("--name")).trimmed().isEmpty())
    return usageError(QStringLiteral("--name names the show"));
  if (parsed.Flags.contains(QStringLiteral("--use-as-screensaver")) && !screenSaver)
    return usageError(QStringLiteral("--use-as-screensaver is for screen savers"));
  if (parsed.Positional.isEmpty()) return usageError(QStringLiteral("no photos to show"));
  if (!openStore()) return kFailure;

  ShowBuildRequest request;
  request.Kind = screenSaver ? ShowKind::ScreenSaver : ShowKind::SlideShow;
  request.ProgramFolder = GetProgramFolder();
  request.PhotoFolder = m_store.Folder();
  for (const QString& name : parsed.Positional) {
    const QString stem = storedStem(name);
    if (stem.isEmpty()) return kFailure;
    request.PhotoStems << stem;
  }
  request.Name = parsed.Values.value(QStringLiteral("--name"));
  const QString folder = parsed.Values.value(QStringLiteral("--folder"));
  request.Folder = !folder.isEmpty() ? WithTrailingSlash(QDir(folder).absolutePath())
                   : screenSaver     ? GetSystemFolder()
                                     : GetUserDataFolder();
  request.UseAsScreenSaver = parsed.Flags.contains(QStringLiteral("--use-as-screensaver"));
  request.XScreenSaverFile = QDir::homePath() + QStringLiteral("/.xscreensaver");

  RegistryStore registry;
  const ShowBuildResult result = BuildShow(request, &registry);
  if (result.Result != kShowBuilt && result.Result != kShowRegistryFailed)
    return fail(QStringLiteral("cannot build '%1': %2")
                    .arg(result.Target.isEmpty() ? request.Name : result.Target, result.Error));
  m_out << result.Target << Qt::endl;
  if (result.Result == kShowRegistryFailed) return fail(result.Error);
  return kSuccess;
}

int BrivaneTool::labels(const QStringList& arguments) {
  QStringList rest = arguments;
  const QString action = rest.value(0);
  if (action == QLatin1String("templates") || action == QLatin1String("print"))
    rest.removeFirst();
  else if (action != QLatin1String("--help") && action != QLatin1String("-h"))
    return usageError(QStringLiteral("the labels commands are 'templates' and 'print'"));
  const bool print = action == QLatin1String("print");
  const ParsedArguments parsed =
      print ? ParseArguments(rest, {QStringLiteral("--fill")},
                             {QStringLiteral("--template"), QStringLiteral("--pdf")})
            : ParseArguments(rest, {}, {});
  if (parsed.Help) {
    m_out << kLabelsUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  return print ? printLabels(parsed.Values.value(QStringLiteral("--template")),
                             parsed.Values.value(QStringLiteral("--pdf")),
                             parsed.Flags.contains(QStringLiteral("--fill")), parsed.Positional)
               : listLabelTemplates(parsed.Positional);
}

int BrivaneTool::listLabelTemplates(const QStringList& arguments) {
  if (!arguments.isEmpty())
    return usageError(QStringLiteral("labels templates takes no arguments"));
  LabelTemplateList templates;
  if (!loadLabelTemplates(templates)) return kFailure;
  for (const TemplateGroup& group : templates.Groups())
    for (const LabelTemplate* t : group.Templates)
      m_out << ListField(t->Code) << '\t' << ListField(t->Name) << '\t' << t->Rows << " x "
            << t->Columns << '\t' << Inches(t->LabelWidth) << " x " << Inches(t->LabelHeight)
            << " in\n";
  m_out.flush();
  return kSuccess;
}

int BrivaneTool::printLabels(const QString& code, const QString& pdf, bool fill,
                             const QStringList& photos) {
  if (code.isEmpty()) return usageError(QStringLiteral("--template names the label sheet"));
  if (pdf.isEmpty()) return usageError(QStringLiteral("--pdf names the file to write"));
  if (photos.isEmpty()) return usageError(QStringLiteral("no photos to print"));
  if (fill && photos.size() != 1)
    return usageError(
        QStringLiteral("--fill puts one photo on every label; %1 were given").arg(photos.size()));
  LabelTemplateList templates;
  if (!loadLabelTemplates(templates)) return kFailure;
  const LabelTemplate* sheet = templates.FindTemplateByCode(code);
  if (!sheet)
    return fail(
        QStringLiteral("there is no label sheet '%1' (see 'brivane labels templates')").arg(code));
  if (sheet->CellCount() == 0)
    return fail(QStringLiteral("the label sheet '%1' has no labels in labels.dat").arg(code));
  if (photos.size() > sheet->CellCount())
    return fail(QStringLiteral("%1 photos do not fit on the %2 labels of sheet '%3'")
                    .arg(photos.size())
                    .arg(sheet->CellCount())
                    .arg(code));
  if (!openStore()) return kFailure;
  QStringList stems;
  for (const QString& name : photos) {
    stems << storedStem(name);
    if (stems.last().isEmpty()) return kFailure;
  }

  PageDevice paper;
  paper.DpiX = paper.DpiY = kSheetDpi;
  paper.Printing = true;
  const std::vector<CellPlace> places = LayOutTemplatePage(*sheet, paper);
  PageCells cells;
  cells.Rebuild(sheet->CellCount());
  QMap<QString, ImageBitmap> decoded;
  for (qsizetype k = 0; k < stems.size(); ++k) {
    const QString& stem = stems[k];
    if (!decoded.contains(stem)) {
      ImageBitmap picture;
      const int result = m_store.LoadPhoto(picture, stem);
      if (result != SUCCESS)
        return fail(QStringLiteral("cannot read the photo '%1': %2")
                        .arg(photos[k], ResultDescription(result)));
      // The labels of a sheet share one size: a photo is kept at the size it prints at there.
      const QSize shown =
          FitPictureInCell(places[size_t(k)], picture.shownSize(), paper, false).size();
      if (!shown.isEmpty() && shown.width() < picture.shownSize().width()) {
        const QSize stored = picture.Perspective >= LeftTop ? shown.transposed() : shown;
        ResizeBitmap(picture, stored.width(), stored.height());
      }
      decoded.insert(stem, picture);
    }
    if (fill)
      cells.FillBlanks(decoded.value(stem), NameForStem(stem));
    else
      cells.Give(int(k), decoded.value(stem), NameForStem(stem));
  }

  const QString path = QFileInfo(pdf).absoluteFilePath();
  const QString error = PrintSheetToPdf(path, *sheet, cells, kSheetDpi);
  if (!error.isEmpty()) return fail(QStringLiteral("cannot write '%1': %2").arg(path, error));
  m_out << path << Qt::endl;
  return kSuccess;
}
