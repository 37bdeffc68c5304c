#include "update/UpdateAnswer.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <vector>

namespace {
constexpr std::size_t kMaxVersionParts = 8;
constexpr std::size_t kMaxPartDigits = 9;
constexpr std::size_t kMaxAddressLength = 2048;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::vector<long> VersionParts(const std::string& text) {
  std::vector<long> parts{0};
  for (char c : text) {
    if (c == '.')
      parts.push_back(0);
    else
      parts.back() = parts.back() * 10 + (c - '0');
  }
  return parts;
}

// Characters an address may hold besides letters and digits: those of RFC 3986 without
// the quote, the parentheses, "*" and "$".
bool IsAddressCharacter(char c) {
  static const std::string kOthers = "-._~:/?#[]@!&+,;=%";
  return IsLetter(c) || IsDigit(c) || kOthers.find(c) != std::string::npos;
}

bool StartsWithCaseless(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if ((text[i] | 0x20) != prefix[i]) return false;
  return true;
}
}  // namespace

bool IsVersionNumber(const std::string& text) {
  std::size_t parts = 1;
  std::size_t digits = 0;
  for (char c : text) {
    if (c == '.') {
      if (digits == 0 || ++parts > kMaxVersionParts) return false;
      digits = 0;
    } else if (!IsDigit(c) || ++digits > kMaxPartDigits) {
      return false;
    }
  }
  return digits > 0;
}

bool IsDownloadAddress(const std::string& text) {
  if (text.size() > kMaxAddressLength) return false;
  std::size_t hostStart = 0;
  if (StartsWithCaseless(text, "http://"))
    hostStart = 7;
  else if (StartsWithCaseless(text, "https://"))
    hostStart = 8;
  else
    return false;
  for (char c : text)
    if (!IsAddressCharacter(c)) return false;
  const std::size_t hostEnd = text.find_first_of("/?#", hostStart);
  const std::string authority = text.substr(
      hostStart, hostEnd == std::string::npos ? std::string::npos : hostEnd - hostStart);
  // A user part ("http://trusted.example@elsewhere/") would hide where the address goes.
  return !authority.empty() && authority.front() != ':' && authority.find('@') == std::string::npos;
}

bool IsSha256Digest(const std::string& text) {
  if (text.size() != 64) return false;
  for (char c : text)
    if (!IsHexDigit(c)) return false;
  return true;
}

int CompareVersions(const std::string& a, const std::string& b) {
  std::vector<long> left = VersionParts(a);
  std::vector<long> right = VersionParts(b);
  const std::size_t count = std::max(left.size(), right.size());
  left.resize(count, 0);
  right.resize(count, 0);
  for (std::size_t i = 0; i < count; ++i)
    if (left[i] != right[i]) return left[i] < right[i] ? -1 : 1;
  return 0;
}

std::optional<UpdateAnswer> ParseUpdateAnswer(const std::string& text, std::string& problem) {
  UpdateAnswer answer;
  struct Field {
    const char* key;
    std::string* value;
    bool seen;
  } fields[] = {{"Version", &answer.Version, false},
                {"Download", &answer.Download, false},
                {"SHA256", &answer.Sha256, false}};
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      problem = "it holds a line that is not of the form Name=Value.";
      return std::nullopt;
    }
    const std::string key = line.substr(0, equals);
    // Names a later server may add are not ours to judge.
    const auto field = std::find_if(std::begin(fields), std::end(fields),
                                    [&](const Field& f) { return key == f.key; });
    if (field == std::end(fields)) continue;
    if (field->seen) {
      problem = "it names " + key + " twice.";
      return std::nullopt;
    }
    field->seen = true;
    *field->value = line.substr(equals + 1);
  }
  if (!std::all_of(std::begin(fields), std::end(fields), [](const Field& f) { return f.seen; })) {
    problem = "it lacks the Version, Download or SHA256 line.";
    return std::nullopt;
  }
  // The values are not repeated: they come from the network and may hold anything.
  if (!IsVersionNumber(answer.Version))
    problem = "its version is not a version number.";
  else if (!IsDownloadAddress(answer.Download))
    problem = "its download address is not a plain http or https address.";
  else if (!IsSha256Digest(answer.Sha256))
    problem = "its SHA-256 digest is not 64 hexadecimal digits.";
  if (!problem.empty()) return std::nullopt;
  return answer;
}
