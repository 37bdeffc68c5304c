#pragma once

#include <string>

// Codes from OpenSSL's random generator: what one must not be able to guess.

// Nine decimal digits, the first 1 to 9: user and album ids.
std::string RandomDecimalId();
// count characters of [A-Za-z0-9]: upload passwords.
std::string RandomAlphanumeric(int count);
// count random bytes written as 2*count hex digits: salts.
std::string RandomHex(int count);
