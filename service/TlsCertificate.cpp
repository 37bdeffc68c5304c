#include "TlsCertificate.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>

#include "RandomCodes.h"

namespace {
template <typename T, void (*Free)(T*)>
struct Freer {
  void operator()(T* p) const { Free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Freer<EVP_PKEY, EVP_PKEY_free>>;
using Certificate = std::unique_ptr<X509, Freer<X509, X509_free>>;
using Extension = std::unique_ptr<X509_EXTENSION, Freer<X509_EXTENSION, X509_EXTENSION_free>>;

void Check(bool good, const char* what) {
  if (!good) throw std::runtime_error(std::string("cannot make the TLS certificate: ") + what);
}

bool IsIpAddress(const std::string& host) {
  unsigned char bytes[16];
  return inet_pton(AF_INET, host.c_str(), bytes) == 1 ||
         inet_pton(AF_INET6, host.c_str(), bytes) == 1;
}

void AddExtension(X509* certificate, int nid, const std::string& value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
  Extension extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
  Check(extension && X509_add_ext(certificate, extension.get(), -1) == 1, "extension");
}

// Writes through a temporary file renamed into place, with the given mode.
void WritePem(const std::string& path, mode_t mode, const std::function<bool(FILE*)>& write) {
  const std::string temporary = path + ".part";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  Check(fd >= 0, "cannot write in the tls folder");
  FILE* file = fdopen(fd, "w");
  const bool written = file && write(file) && std::fflush(file) == 0 && fsync(fd) == 0;
  if (file)
    std::fclose(file);
  else
    ::close(fd);
  if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    Check(false, "cannot write the certificate files");
  }
}
}  // namespace

TlsCertificate TlsCertificate::ensureSelfSigned(const std::string& folder,
                                                const std::string& publicHost) {
  TlsCertificate files{folder + "/cert.pem", folder + "/key.pem"};
  if (::access(files.certFile.c_str(), R_OK) == 0 && ::access(files.keyFile.c_str(), R_OK) == 0)
    return files;
  Check(::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST, "cannot make the tls folder");

  Key key(EVP_EC_gen("P-256"));
  Check(key != nullptr, "key");
  Certificate certificate(X509_new());
  Check(certificate != nullptr, "certificate");
  X509_set_version(certificate.get(), 2);
  const std::string serial = RandomHex(16);
  BIGNUM* number = nullptr;
  Check(BN_hex2bn(&number, serial.c_str()) > 0, "serial");
  BN_to_ASN1_INTEGER(number, X509_get_serialNumber(certificate.get()));
  BN_free(number);
  X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600);
  X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 10L * 366 * 24 * 3600);
  X509_set_pubkey(certificate.get(), key.get());
  X509_NAME* name = X509_get_subject_name(certificate.get());
  const std::string commonName = publicHost.substr(0, 64);
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8,
                             reinterpret_cast<const unsigned char*>("Pelloria photo service"), -1,
                             -1, 0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                             reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0);
  X509_set_issuer_name(certificate.get(), name);

  std::string names = "DNS:localhost,IP:127.0.0.1";
  if (publicHost != "localhost" && publicHost != "127.0.0.1")
    names += (IsIpAddress(publicHost) ? ",IP:" : ",DNS:") + publicHost;
  AddExtension(certificate.get(), NID_subject_alt_name, names);
  // A CA that signs only itself, so that clients can trust this file as their CA.
  AddExtension(certificate.get(), NID_basic_constraints, "critical,CA:TRUE,pathlen:0");
  AddExtension(certificate.get(), NID_key_usage, "critical,digitalSignature,keyCertSign");
  AddExtension(certificate.get(), NID_ext_key_usage, "serverAuth");
  AddExtension(certificate.get(), NID_subject_key_identifier, "hash");
  Check(X509_sign(certificate.get(), key.get(), EVP_sha256()) > 0, "signature");

  WritePem(files.keyFile, 0600, [&](FILE* file) {
    return PEM_write_PrivateKey(file, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1;
  });
  ::chmod(files.keyFile.c_str(), 0600);
  WritePem(files.certFile, 0644,
           [&](FILE* file) { return PEM_write_X509(file, certificate.get()) == 1; });
  return files;
}
