#pragma once

#include <string>

// Passwords kept as "pbkdf2-sha256$<iterations>$<salt hex>$<hash hex>": PBKDF2-HMAC-SHA256
// with a 16-byte random salt, never the password itself.
namespace PasswordHash {
constexpr int kIterations = 100000;

std::string make(const std::string& password, int iterations = kIterations);
// Whether password gives stored; false for a stored text of any other form.
bool matches(const std::string& password, const std::string& stored);
}  // namespace PasswordHash
