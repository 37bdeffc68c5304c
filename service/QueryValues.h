#pragma once

#include <map>
#include <string>

// The values of a request's query ("a=1&b=x%20y"), percent-decoded. The first of two
// values under one key wins.
class QueryValues {
 public:
  explicit QueryValues(const std::string& query);

  bool has(const std::string& key) const { return values_.count(key) != 0; }
  // The decoded value; empty when the key is missing.
  std::string text(const std::string& key) const;
  // The decoded value with every "''" turned back into "'": the client doubles quotes
  // in some keys.
  std::string undoubled(const std::string& key) const;
  // Whether every key and value is UTF-8 text without NUL.
  bool allUtf8() const;

 private:
  std::map<std::string, std::string> values_;
};

// Standard percent-decoding; "+" is a space. A "%" not followed by two hex digits stays.
std::string PercentDecode(const std::string& text);
// Encodes every byte but unreserved ASCII (A-Z a-z 0-9 - . _ ~) as %XX.
std::string PercentEncode(const std::string& text);
// "''" -> "'".
std::string UndoQuoteDoubling(const std::string& text);
// Whether text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(const std::string& text);
// The number of characters of UTF-8 text.
std::size_t CharacterCount(const std::string& text);
