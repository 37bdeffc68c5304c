#include "PhotoNames.h"

#include "QueryValues.h"

namespace PhotoNames {
std::string problem(const std::string& name) {
  if (name.empty()) return "The name is empty.";
  if (!IsUtf8(name)) return "The name is not UTF-8 text.";
  if (CharacterCount(name) > 255) return "The name is longer than 255 characters.";
  if (name == "." || name == "..") return "The name cannot be \"" + name + "\".";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\') return "The name cannot hold \"/\" or \"\\\".";
    if (byte < 0x20 || byte == 0x7F) return "The name cannot hold control characters.";
  }
  return {};
}

std::string stem(const std::string& name) {
  std::string out;
  for (const char c : name) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}
}  // namespace PhotoNames
