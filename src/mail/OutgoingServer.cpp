#include "mail/OutgoingServer.h"

#include "library/Settings.h"
#include "mail/MailPasswordStore.h"

MailServer OutgoingServer(const Settings& settings) {
  MailServer server;
  server.host = settings.emailServer().trimmed();
  server.port = settings.emailPort();
  server.security = SecurityFromName(settings.emailSecurity());
  server.userName = settings.emailUser();
  if (!server.userName.isEmpty())
    server.password = MailPasswordStore(settings.file()).Load(server.host, server.userName);
  return server;
}
