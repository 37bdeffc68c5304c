#include "PasswordHash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <stdexcept>
#include <vector>

#include "RandomCodes.h"
#include "ServiceOptions.h"

namespace {
constexpr int kHashBytes = 32;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The salt's bytes from its hex text; empty when the text is not lowercase hex.
std::vector<unsigned char> SaltBytes(const std::string& hex) {
  std::vector<unsigned char> bytes;
  if (hex.size() % 2 != 0) return {};
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexDigit(hex[i]), low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return {};
    bytes.push_back(static_cast<unsigned char>(high * 16 + low));
  }
  return bytes;
}

std::string Derive(const std::string& password, const std::vector<unsigned char>& salt,
                   int iterations) {
  unsigned char hash[kHashBytes];
  if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(),
                        static_cast<int>(salt.size()), iterations, EVP_sha256(), kHashBytes,
                        hash) != 1)
    throw std::runtime_error("PBKDF2 failed");
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const unsigned char byte : hash) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

std::vector<std::string> SplitDollars(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const auto dollar = text.find('$', start);
    parts.push_back(text.substr(start, dollar - start));
    if (dollar == std::string::npos) return parts;
    start = dollar + 1;
  }
}
}  // namespace

namespace PasswordHash {
std::string make(const std::string& password, int iterations) {
  const std::string salt = RandomHex(16);
  return "pbkdf2-sha256$" + std::to_string(iterations) + "$" + salt + "$" +
         Derive(password, SaltBytes(salt), iterations);
}

bool matches(const std::string& password, const std::string& stored) {
  const auto parts = SplitDollars(stored);
  if (parts.size() != 4 || parts[0] != "pbkdf2-sha256") return false;
  const auto iterations = ParseWholeNumber(parts[1]);
  const auto salt = SaltBytes(parts[2]);
  if (!iterations || *iterations < 1 || *iterations > 10000000 || salt.empty() ||
      parts[3].size() != 2 * kHashBytes)
    return false;
  const std::string hash = Derive(password, salt, static_cast<int>(*iterations));
  return CRYPTO_memcmp(hash.data(), parts[3].data(), hash.size()) == 0;
}
}  // namespace PasswordHash
