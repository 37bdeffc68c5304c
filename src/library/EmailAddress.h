#pragma once

#include <QString>

// The e-mail address rule of the account, the mail sender and the address book: an "@"
// after the first character, and a full stop among the last four characters.
bool IsValidEmail(const QString& text);
