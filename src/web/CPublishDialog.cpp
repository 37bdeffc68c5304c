#include "web/CPublishDialog.h"

#include "controls/FeatureHost.h"
#include "controls/OpenInBrowser.h"
#include "controls/Prompter.h"
#include "library/ServiceSite.h"
#include "web/CWebSpaceDialog.h"
#include "web/PublishToWeb.h"

namespace {
TransferDialogTexts PublishTexts(const QString& hostName) {
  TransferDialogTexts texts;
  texts.dialogId = 204;
  texts.title = QStringLiteral("Put my photos and albums on the web");
  texts.thanks = QStringLiteral("Thank you for sending your photos to ") + hostName + QLatin1Char('.');
  texts.filesLabel = QStringLiteral("# of Photos to Send");
  texts.filesDoneLabel = QStringLiteral("# of Photos Sent");
  texts.filesDoneId = 1130;
  texts.bytesLabel = QStringLiteral("Total # of Bytes to Send");
  texts.bytesDoneLabel = QStringLiteral("Bytes Sent");
  texts.actionCaption = QStringLiteral("Brivane is currently sending");
  texts.fileBarLabel = QStringLiteral("Progress of the Photo being sent");
  texts.totalBar = true;
  texts.statusFormat = QStringLiteral("%1 of %2 bytes sent");
  return texts;
}
}  // namespace

CPublishDialog::CPublishDialog(FeatureHost& host, PublishToWeb& publishing, InternetSession& session,
                               PublishRequest request, QWidget* parent)
    : CTransferDialog(PublishTexts(ServiceSite::HostName(request.ServiceHost)), parent),
      m_host(host),
      m_publishing(publishing),
      m_session(session),
      m_request(std::move(request)) {}

BackgroundRunner::StopJob CPublishDialog::startRun() {
  return runOnSession(
      m_host.backgroundRunner(), m_session,
      [request = m_request](InternetSession& session, SyncProgress& progress) {
        return RunPublish(session, request, progress);
      },
      &m_result);
}

void CPublishDialog::afterRun() {
  Prompter& prompter = m_host.prompter();
  const PublishResult& result = m_result;
  if (result.Shortage) {
    CWebSpaceDialog space(*result.Shortage, this);
    if (space.exec() == QDialog::Accepted)
      OpenInBrowser(QStringLiteral("https://") + m_request.ServiceHost + QStringLiteral("/getwebspace.asp?UserId=") +
                        m_request.UserId,
                    m_host.hostWindow(), prompter);
    accept();
    return;
  }
  if (result.Stopped) {
    setStatus(QStringLiteral("Stopped.  The photos not sent yet will be sent the next time you publish."));
    return;
  }
  if (!result.Completed) {
    if (!result.Error.isEmpty()) prompter.showError(this, result.Error);
    setStatus(QStringLiteral("Your photos could not all be sent.  Please try again."));
    return;
  }
  if (!result.Failed.isEmpty()) {
    setStatus(QStringLiteral("%1 of %2 photos could not be sent; they will be sent the next time you publish.")
                  .arg(result.FilesToSend - result.FilesSent)
                  .arg(result.FilesToSend));
    return;
  }
  if (!result.NotDeleted.isEmpty()) {
    setStatus(QStringLiteral("%1 photos deleted here could not be deleted from the web; they will be deleted "
                             "the next time you publish.")
                  .arg(result.NotDeleted.size()));
    return;
  }
  if (prompter.askYesNoCancel(this, QStringLiteral("Your upload is finished.  Would you like to view your photos "
                                                   "online?")) == Prompter::Answer::Yes)
    m_publishing.viewMyPhotosOnline();
  accept();
}
