#include "mail/EmailLink.h"

#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "library/Settings.h"
#include "mail/CEmailDialog.h"
#include "mail/OutgoingServer.h"

void SendLinkByEmail(FeatureHost& host, const QString& link, const QString& kind) {
  Settings& settings = host.settings();
  if (settings.emailServer().trimmed().isEmpty()) {
    const std::optional<QString> server =
        host.prompter().askText(host.hostWindow(), QStringLiteral("Email Server"),
                                QStringLiteral("Please type the name of the Email server for your outgoing mail."), {},
                                Settings::kPathLimit);
    if (!server) return;
    settings.setEmailServer(server->trimmed());
  }
  CEmailDialog dialog(host, OutgoingServer(settings), settings.emailAddress(), link, kind, host.hostWindow());
  if (dialog.exec() == QDialog::Accepted) settings.setEmailAddress(dialog.ownAddress());
}
