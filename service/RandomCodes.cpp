#include "RandomCodes.h"

#include <openssl/rand.h>

#include <cstdint>
#include <stdexcept>

namespace {
std::uint32_t RandomWord() {
  std::uint32_t word = 0;
  if (RAND_bytes(reinterpret_cast<unsigned char*>(&word), sizeof word) != 1)
    throw std::runtime_error("the random generator failed");
  return word;
}

// A uniform number below limit (rejects the uneven top of the range).
std::uint32_t RandomBelow(std::uint32_t limit) {
  const std::uint32_t cut = UINT32_MAX - UINT32_MAX % limit;
  for (;;) {
    const std::uint32_t word = RandomWord();
    if (word < cut) return word % limit;
  }
}
}  // namespace

std::string RandomDecimalId() { return std::to_string(100000000 + RandomBelow(900000000)); }

std::string RandomAlphanumeric(int count) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string text;
  for (int i = 0; i < count; ++i) text += kAlphabet[RandomBelow(sizeof kAlphabet - 1)];
  return text;
}

std::string RandomHex(int count) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (int i = 0; i < count; ++i) {
    const auto byte = RandomBelow(256);
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}
