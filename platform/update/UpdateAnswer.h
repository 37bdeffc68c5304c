#pragma once

#include <optional>
#include <string>

// What an update server says about the newest version, in lines of the form
//   Version=1.2
//   Download=https://example.org/download/
//   SHA256=<64 hexadecimal digits>
// It comes from the network: it is trusted only when every field is well formed.
struct UpdateAnswer {
  std::string Version;
  std::string Download;
  std::string Sha256;
};

// Digits separated by single dots ("1", "1.2.10"), at most eight parts of nine digits.
bool IsVersionNumber(const std::string& text);
// An http or https address with a host and no user part, of plain characters only:
// letters, digits and an address's own punctuation ("&", ";" and "=" of a query among
// them), so no spaces, control characters, quotes, backslashes, "$" or "`". It is opened
// without a shell.
bool IsDownloadAddress(const std::string& text);
bool IsSha256Digest(const std::string& text);

// Negative, 0 or positive as a is older than, the same as or newer than b; missing parts
// count as 0 ("1.1" == "1.1.0"). Both must be version numbers.
int CompareVersions(const std::string& a, const std::string& b);

// The answer in text, or nullopt with problem saying what is wrong with it.
std::optional<UpdateAnswer> ParseUpdateAnswer(const std::string& text, std::string& problem);
