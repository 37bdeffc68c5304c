#pragma once

#include "mail/MailServer.h"

class Settings;

// The outgoing mail server as the user set it in Preferences: the settings, and the
// password from where it is kept.
MailServer OutgoingServer(const Settings& settings);
