#pragma once

#include <string>

// The HTTPS certificate: the one given with --cert/--key, or a self-signed one made on
// the first start and kept in <data>/tls/ (cert.pem, key.pem with mode 0600).
struct TlsCertificate {
  std::string certFile;
  std::string keyFile;

  // Makes <folder>/cert.pem and key.pem when they are missing: EC P-256, valid ten years,
  // for localhost, 127.0.0.1 and publicHost. Throws std::runtime_error on failure.
  static TlsCertificate ensureSelfSigned(const std::string& folder, const std::string& publicHost);
};
