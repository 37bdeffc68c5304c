#include <csignal>

#include <QFileInfo>

#include <unistd.h>

#include "BrivaneTool.h"
#include "CommandLine.h"
#include "albums/AlbumFile.h"
#include "inet/InternetSession.h"
#include "labels/LabelTemplates.h"
#include "library/ServiceSite.h"
#include "library/Settings.h"
#include "system/Folders.h"
#include "websync/PublishRun.h"
#include "websync/RetrieveRun.h"
#include "websync/SyncProgress.h"

namespace {
constexpr char kPublishUsage[] =
    "Usage: brivane publish [--albums-only]\n"
    "\n"
    "Makes the photo-sharing service's copy of the photos and albums equal to this one, as\n"
    "Publish to the Web does: photos changed since the last run are sent, photos deleted\n"
    "here are deleted there, and the albums are sent when they changed. Unchanged photos\n"
    "are not sent again, so a second run sends nothing. The account is the one the\n"
    "program signed up (UserId in quendal.ini); the service is ServiceHost there, or\n"
    "$BRIVANE_SERVICE_HOST, else the service on this computer.\n"
    "\n"
    "  --albums-only  send only the photos that some album holds\n"
    "\n"
    "Progress goes to standard error; Ctrl+C stops the run after the block on its way, and\n"
    "the next run sends what is left. Exit status 1 when anything was not sent.\n";

constexpr char kRetrieveUsage[] =
    "Usage: brivane retrieve [--replace-older]\n"
    "\n"
    "Gets every photo of the account from the photo-sharing service into My Photos with\n"
    "its time, and adds the account's albums to the albums here (an album that is here\n"
    "already is not added again). Photos that are here already are not received again. A\n"
    "photo here of the same name but another file is kept, and the one from the web is\n"
    "stored as \"Name (2)\".\n"
    "\n"
    "  --replace-older  let the web's copy replace a photo here when the web's is newer\n"
    "\n"
    "Progress goes to standard error; Ctrl+C stops the run after the block on its way.\n"
    "A file that did not arrive whole is not kept, and the next run receives it again.\n"
    "Exit status 1 when anything was not received.\n";

volatile std::sig_atomic_t g_stop = 0;
void RequestStop(int) { g_stop = 1; }

// One progress line on standard error, redrawn in place on a terminal; elsewhere (a log
// of a timer's run) a line for each file.
class ProgressLine : public SyncProgress {
 public:
  ProgressLine(QTextStream& err, const char* verb) : m_err(err), m_verb(verb), m_terminal(isatty(STDERR_FILENO)) {}
  ~ProgressLine() override {
    if (m_terminal && m_drawn) m_err << Qt::endl;
  }

  void action(const QString& text) override {
    m_action = text;
    if (m_terminal) draw();
    else m_err << "brivane: " << text << Qt::endl;
  }
  void totals(int files, qint64 bytes) override {
    m_files = files;
    m_bytes = bytes;
    if (!m_terminal) m_err << "brivane: " << files << " files, " << bytes << " bytes to " << m_verb << Qt::endl;
  }
  void filesDone(int files) override { m_filesDone = files; }
  void bytesDone(qint64 total, qint64, qint64) override {
    m_bytesDone = total;
    if (m_terminal) draw();
  }
  void fileEnded() override {}
  void problem(const QString&, const QString&) override {}

 private:
  void draw() {
    constexpr double kMb = 1.0 / 1048576;
    const QString line = QStringLiteral("%1/%2 files, %3/%4 MB  %5")
                             .arg(m_filesDone)
                             .arg(m_files)
                             .arg(double(m_bytesDone) * kMb, 0, 'f', 1)
                             .arg(double(m_bytes) * kMb, 0, 'f', 1)
                             .arg(m_action.left(40));
    m_err << '\r' << line.leftJustified(80) << Qt::flush;
    m_drawn = true;
  }

  QTextStream& m_err;
  const char* m_verb;
  const bool m_terminal;
  bool m_drawn = false;
  QString m_action;
  int m_files = 0;
  int m_filesDone = 0;
  qint64 m_bytes = 0;
  qint64 m_bytesDone = 0;
};

// Ctrl+C and SIGTERM stop the run at the next block instead of killing it midway.
class StopOnSignals {
 public:
  StopOnSignals() {
    g_stop = 0;
    m_int = std::signal(SIGINT, RequestStop);
    m_term = std::signal(SIGTERM, RequestStop);
  }
  ~StopOnSignals() {
    std::signal(SIGINT, m_int);
    std::signal(SIGTERM, m_term);
  }

 private:
  void (*m_int)(int);
  void (*m_term)(int);
};
}  // namespace

std::unique_ptr<InternetSession> BrivaneTool::openServiceSession(Settings& settings) {
  settings.read();
  if (settings.userId().isEmpty()) {
    fail(QStringLiteral("there is no account with the photo-sharing service yet; sign up once with Brivane's "
                        "Publish to the Web (it stores UserId in %1)")
             .arg(settings.file()));
    return nullptr;
  }
  QString error;
  auto session = InternetSession::Open(ServiceSite::Read(settings.file()).internetOptions(), &error);
  if (!session) fail(QStringLiteral("Brivane is unable to connect to the Internet: ") + error);
  else session->setStopCheck([] { return g_stop != 0; });
  return session;
}

int BrivaneTool::publish(const QStringList& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {QStringLiteral("--albums-only")}, {});
  if (parsed.Help) {
    m_out << kPublishUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  if (!parsed.Positional.isEmpty()) return usageError(QStringLiteral("publish takes no names"));
  LabelTemplateList templates;
  if (!openStore() || !loadLabelTemplates(templates)) return kFailure;
  Settings settings;
  const std::unique_ptr<InternetSession> session = openServiceSession(settings);
  if (!session) return kFailure;

  const QString albumsFile = GetUserDataFolder() + QLatin1String(kAlbumFileName);
  PublishRequest request;
  request.ServiceHost = ServiceSite::Read(settings.file()).host;
  request.UserId = settings.userId();
  request.PhotoFolder = m_store.Folder();
  request.DeletedAlbumsFile = GetUserDataFolder() + QLatin1String(kDeletedAlbumsFileName);
  request.SendAll = !parsed.Flags.contains(QStringLiteral("--albums-only"));
  request.Albums = LoadAlbums(albumsFile, templates);
  request.AlbumsChanged =
      AlbumsToSend(settings.lastUploadDate(), QFileInfo(albumsFile).lastModified(), request.Albums);

  PublishResult result;
  {
    const StopOnSignals stop;
    ProgressLine progress(m_err, "send");
    result = RunPublish(*session, request, progress);
  }
  if (result.AlbumsPublished && !StorePublishedAlbums(albumsFile, result.Albums, settings))
    m_err << "brivane: warning: the albums' web addresses could not be saved in " << albumsFile << Qt::endl;
  for (const QString& name : result.Refused)
    m_err << "brivane: skipped a file on the web whose name may not be a file name here: " << name << Qt::endl;
  for (const QString& failure : result.Failed) m_err << "brivane: not sent: " << failure << Qt::endl;
  for (const QString& failure : result.NotDeleted)
    m_err << "brivane: not deleted on the web: " << failure << Qt::endl;
  m_out << "sent " << result.FilesSent << " of " << result.FilesToSend << " files (" << result.BytesSent << " of "
        << result.BytesToSend << " bytes), deleted " << result.FilesDeleted << " on the web"
        << (result.AlbumsPublished ? ", albums sent" : "") << Qt::endl;
  if (result.Shortage) return fail(QStringLiteral("Unfortunately you will exceed your web space with this upload.  ") +
                                   WebSpaceText(*result.Shortage));
  if (result.Stopped) return fail(QStringLiteral("stopped; the next run sends what is left"));
  if (!result.Completed) return fail(result.Error.isEmpty() ? QStringLiteral("the service refused the run") : result.Error);
  return result.Failed.isEmpty() && result.NotDeleted.isEmpty() ? kSuccess : kFailure;
}

int BrivaneTool::retrieve(const QStringList& arguments) {
  const ParsedArguments parsed = ParseArguments(arguments, {QStringLiteral("--replace-older")}, {});
  if (parsed.Help) {
    m_out << kRetrieveUsage;
    return kSuccess;
  }
  if (!parsed.Error.isEmpty()) return usageError(parsed.Error);
  if (!parsed.Positional.isEmpty()) return usageError(QStringLiteral("retrieve takes no names"));
  LabelTemplateList templates;
  if (!openStore() || !loadLabelTemplates(templates)) return kFailure;
  Settings settings;
  const std::unique_ptr<InternetSession> session = openServiceSession(settings);
  if (!session) return kFailure;

  RetrieveRequest request;
  request.ServiceHost = ServiceSite::Read(settings.file()).host;
  request.UserId = settings.userId();
  request.PhotoFolder = m_store.Folder();
  request.AlbumsFile = GetUserDataFolder() + QLatin1String(kAlbumFileName);
  request.Templates = &templates;
  request.ReplaceOlder = parsed.Flags.contains(QStringLiteral("--replace-older"));

  RetrieveResult result;
  {
    const StopOnSignals stop;
    ProgressLine progress(m_err, "receive");
    result = RunRetrieve(*session, request, progress);
  }
  if (result.Completed) settings.setLastUploadDate(QDateTime::currentDateTime());
  for (const QString& name : result.Refused)
    m_err << "brivane: skipped a file on the web whose name may not be a file name here: " << name << Qt::endl;
  for (const QString& renamed : result.Renamed) m_err << "brivane: stored as another name: " << renamed << Qt::endl;
  for (const QString& failure : result.Failed) m_err << "brivane: not received: " << failure << Qt::endl;
  m_out << "received " << result.FilesReceived << " of " << result.FilesToReceive << " files ("
        << result.BytesReceived << " of " << result.BytesToReceive << " bytes), " << result.AlreadyHere
        << " here already, " << result.AlbumsAdded << " albums added" << Qt::endl;
  if (result.Stopped) return fail(QStringLiteral("stopped; the next run receives what is left"));
  if (!result.Completed) return fail(result.Error);
  return result.Failed.isEmpty() && result.Refused.isEmpty() ? kSuccess : kFailure;
}
