#include "web/PublishToWeb.h"

#include <QFileInfo>

#include "controls/FeatureHost.h"
#include "controls/OpenInBrowser.h"
#include "controls/Prompter.h"
#include "inet/InternetSession.h"
#include "inet/QueryEscape.h"
#include "library/PhotoStore.h"
#include "library/ServiceSite.h"
#include "library/Settings.h"
#include "mail/EmailLink.h"
#include "photoalbums/CPhotoAlbumsPage.h"
#include "web/CDownloadDialog.h"
#include "web/CPublishDialog.h"
#include "web/CSendChoiceDialog.h"
#include "web/CServiceAccountWizard.h"
#include "websync/PublishPlan.h"

namespace {
bool IsThisComputer(const QString& host) {
  QString name = ServiceSite::HostName(host);
  if (name.startsWith(QLatin1Char('['))) name = name.mid(1, name.size() - 2);
  return name.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || name.startsWith(QLatin1String("127.")) ||
         name == QLatin1String("::1");
}
}  // namespace

bool PublishToWeb::run() {
  InternetSession* session = m_host.internetSession();
  if (!session) {
    m_host.prompter().showError(m_host.hostWindow(),
                                QStringLiteral("Brivane is unable to connect to the Internet.  Please try again."));
    return false;
  }
  Settings& settings = m_host.settings();
  if (settings.userId().isEmpty()) {
    CServiceAccountWizard wizard(m_host, ServiceSite::Read(settings.file()), m_host.hostWindow());
    if (wizard.exec() != QDialog::Accepted) return !settings.userId().isEmpty();
    // What the wizard stored is what counts from here on.
    settings.read();
    if (settings.userId().isEmpty()) return false;
    // An account that exists already brings its photos to this computer instead.
    if (wizard.choice() == CServiceAccountWizard::ExistingUser) {
      retrieve(*session);
      return true;
    }
  }
  const ServiceSite site = ServiceSite::Read(settings.file());
  CSendChoiceDialog choice(ServiceSite::HostName(site.host), m_host.hostWindow());
  if (choice.exec() == QDialog::Accepted) publish(*session, choice.sendAll());
  return true;
}

QString PublishToWeb::serviceHostFor(InternetSession& session) {
  const ServiceSite site = ServiceSite::Read(m_host.settings().file());
  // The settings may name another service, or trust another certificate, than the
  // session was opened with.
  session.setOptions(site.internetOptions());
  return site.host;
}

void PublishToWeb::publish(InternetSession& session, bool sendAll) {
  Settings& settings = m_host.settings();
  PublishRequest request;
  request.ServiceHost = serviceHostFor(session);
  request.UserId = settings.userId();
  request.PhotoFolder = m_host.photoStore().Folder();
  request.DeletedAlbumsFile = QFileInfo(m_albums.albumsFile()).absolutePath() + QStringLiteral("/deletealbums.dat");
  request.SendAll = sendAll;
  request.Albums = m_albums.albums();
  request.AlbumsChanged =
      AlbumsToSend(settings.lastUploadDate(), QFileInfo(m_albums.albumsFile()).lastModified(), request.Albums);
  CPublishDialog dialog(m_host, *this, session, std::move(request), m_host.hostWindow());
  dialog.exec();
  if (!dialog.result().AlbumsPublished) return;
  if (!StorePublishedAlbums(m_albums.albumsFile(), dialog.result().Albums, settings))
    m_host.prompter().showError(m_host.hostWindow(),
                                QStringLiteral("The web addresses of your album pages could not be saved in %1.")
                                    .arg(m_albums.albumsFile()));
  m_albums.reloadAlbums();
}

void PublishToWeb::retrieve(InternetSession& session) {
  Settings& settings = m_host.settings();
  RetrieveRequest request;
  request.ServiceHost = serviceHostFor(session);
  request.UserId = settings.userId();
  request.PhotoFolder = m_host.photoStore().Folder();
  request.AlbumsFile = m_albums.albumsFile();
  request.Templates = &m_albums.templates();
  if (!m_host.photoStore().Stems().isEmpty()) {
    const Prompter::Answer answer = m_host.prompter().askYesNoCancel(
        m_host.hostWindow(),
        QStringLiteral("Some photos on the web may have the same names as photos on this computer.  Should a newer "
                       "photo from the web replace the one here?  Click <No> to keep yours; the one from the web "
                       "is then stored under a new name."));
    if (answer == Prompter::Answer::Cancel) return;
    request.ReplaceOlder = answer == Prompter::Answer::Yes;
  }
  CDownloadDialog dialog(m_host, session, std::move(request), m_host.hostWindow());
  dialog.exec();
  if (dialog.result().Completed) settings.setLastUploadDate(QDateTime::currentDateTime());
  m_albums.reloadAlbums();
}

QString PublishToWeb::MyPhotosAddress(const QString& webSiteHost, const QString& serviceHost, const QString& userId,
                                      const QString& password) {
  const QString site = IsThisComputer(webSiteHost) ? QStringLiteral("http://") + webSiteHost
                                                   : QStringLiteral("https://") + serviceHost;
  return site + QStringLiteral("/viewmyphotos.asp?UserId=") + PercentEncodeQueryValue(userId) +
         QStringLiteral("&Pwd=") + PercentEncodeQueryValue(password);
}

QString PublishToWeb::AlbumPageAddress(const QString& webLink, const QString& userId) {
  QString address = webLink;
  if (const qsizetype at = address.indexOf(QLatin1String("%s")); at >= 0) address.replace(at, 2, userId);
  return address;
}

void PublishToWeb::viewMyPhotosOnline() {
  Settings& settings = m_host.settings();
  if (settings.userId().isEmpty()) {
    m_host.prompter().showMessage(
        m_host.hostWindow(), QStringLiteral("You have not uploaded your photos to the web yet.  Please click <Ok>, and "
                                            "follow the on screen instructions."));
    run();
    if (settings.userId().isEmpty()) return;
  }
  const ServiceSite site = ServiceSite::Read(settings.file());
  OpenInBrowser(MyPhotosAddress(site.webSiteHost, site.host, settings.userId(), settings.password()),
                m_host.hostWindow(), m_host.prompter());
}

QString PublishToWeb::albumPageAddress() {
  const int album = m_albums.currentAlbum();
  const int page = m_albums.currentPage();
  if (album < 0 || page < 0) return {};
  Settings& settings = m_host.settings();
  Prompter& prompter = m_host.prompter();
  if (AlbumsNeedPublishing(settings.lastUploadDate(), QFileInfo(m_albums.albumsFile()).lastModified())) {
    if (prompter.askYesNoCancel(m_host.hostWindow(),
                                QStringLiteral("Your online photo albums are not up to date with the albums on your "
                                               "PC.  If you do not update your online albums now your album may "
                                               "appear different than what you have on your PC.  Would you like to "
                                               "update your online albums now?")) != Prompter::Answer::Yes)
      return {};
    run();
  }
  // Publishing read the albums anew; the selection stayed.
  const auto link = [&] {
    const auto& albums = m_albums.albums();
    if (album >= int(albums.size()) || page >= int(albums[size_t(album)].Pages.size())) return QString();
    return albums[size_t(album)].Pages[size_t(page)].WebLink;
  };
  if (link().isEmpty()) {
    if (prompter.askYesNoCancel(m_host.hostWindow(), QStringLiteral("You have not published this photo album page to "
                                                                    "the web.  Would you like to publish it now?")) !=
        Prompter::Answer::Yes)
      return {};
    run();
  }
  return link().isEmpty() ? QString() : AlbumPageAddress(link(), settings.userId());
}

void PublishToWeb::viewAlbumPage() {
  const QString address = albumPageAddress();
  if (!address.isEmpty()) OpenInBrowser(address, m_host.hostWindow(), m_host.prompter());
}

void PublishToWeb::emailAlbumPage() {
  const QString address = albumPageAddress();
  if (!address.isEmpty()) SendLinkByEmail(m_host, address, QStringLiteral("photo album"));
}
