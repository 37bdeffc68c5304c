#pragma once

#include <cstdint>
#include <string>

// The plain-text answer of a data request: "Key=value" lines, each ended by CR LF. The
// client reads a value up to the next LF, so a value never holds CR, LF or NUL.
class AnswerText {
 public:
  AnswerText& add(const std::string& key, const std::string& value);
  AnswerText& add(const std::string& key, std::int64_t value);
  const std::string& text() const { return text_; }

  // value without CR, LF and NUL.
  static std::string clean(const std::string& value);
  // The usual one-line answers.
  static std::string error(const std::string& sentence);
  static std::string ok();

 private:
  std::string text_;
};
