#include "web/CDownloadDialog.h"

#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "library/ServiceSite.h"

namespace {
TransferDialogTexts DownloadTexts(const QString& hostName) {
  TransferDialogTexts texts;
  texts.dialogId = 207;
  texts.title = QStringLiteral("Downloading your photos");
  texts.thanks = QStringLiteral("Thank you for using ") + hostName + QLatin1Char('.');
  texts.filesLabel = QStringLiteral("# of Photos to Receive");
  texts.filesDoneLabel = QStringLiteral("# of Photos Received");
  texts.filesDoneId = 1153;
  texts.bytesLabel = QStringLiteral("Total # of Bytes to Receive");
  texts.bytesDoneLabel = QStringLiteral("Bytes Received");
  texts.actionCaption = QStringLiteral("Brivane is currently");
  texts.fileBarLabel = QStringLiteral("Progress of the photo being retrieved");
  texts.statusFormat = QStringLiteral("%1 of %2 bytes received");
  return texts;
}
}  // namespace

CDownloadDialog::CDownloadDialog(FeatureHost& host, InternetSession& session, RetrieveRequest request,
                                 QWidget* parent)
    : CTransferDialog(DownloadTexts(ServiceSite::HostName(request.ServiceHost)), parent),
      m_host(host),
      m_session(session),
      m_request(std::move(request)) {}

BackgroundRunner::StopJob CDownloadDialog::startRun() {
  return runOnSession(
      m_host.backgroundRunner(), m_session,
      [request = m_request](InternetSession& session, SyncProgress& progress) {
        return RunRetrieve(session, request, progress);
      },
      &m_result);
}

void CDownloadDialog::afterRun() {
  const RetrieveResult& result = m_result;
  if (result.Stopped) {
    setStatus(QStringLiteral("Stopped.  The photos not received yet will be received the next time."));
    return;
  }
  if (!result.Error.isEmpty()) m_host.prompter().showError(this, result.Error);
  const int missing = int(result.Failed.size() + result.Refused.size());
  if (missing > 0)
    setStatus(QStringLiteral("%1 files could not be received.").arg(missing));
  else if (!result.Renamed.isEmpty())
    setStatus(QStringLiteral("%1 photos that you already have here were kept; the ones from the web were stored "
                             "under new names.")
                  .arg(result.Renamed.size()));
}
