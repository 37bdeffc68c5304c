#include "AnswerText.h"

std::string AnswerText::clean(const std::string& value) {
  std::string out;
  out.reserve(value.size());
  for (const char c : value)
    if (c != '\r' && c != '\n' && c != '\0') out += c;
  return out;
}

AnswerText& AnswerText::add(const std::string& key, const std::string& value) {
  text_ += key + "=" + clean(value) + "\r\n";
  return *this;
}

AnswerText& AnswerText::add(const std::string& key, std::int64_t value) {
  return add(key, std::to_string(value));
}

std::string AnswerText::error(const std::string& sentence) {
  return AnswerText().add("ErrorMsg", sentence).text();
}

std::string AnswerText::ok() { return AnswerText().add("Result", "OK").text(); }
