// HTTPS with the certificate the service makes for itself on its first start.

#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>

#include <QFile>
#include <ctime>

#include "support/ReferenceService.h"

namespace {
std::string GetOverTls(int port, const std::string& host, const QString& caFile) {
  httplib::SSLClient client(host, port);
  client.set_ca_cert_path(caFile.toStdString().c_str());
  client.enable_server_certificate_verification(true);
  client.set_connection_timeout(10);
  const auto result = client.Get("/getalbums.asp?UserId=1");
  return result ? result->body : "failed: " + httplib::to_string(result.error());
}

TEST(ServiceTls, AnswersOverHttpsTrustingTheMadeCertificate) {
  ReferenceService service;
  ASSERT_TRUE(service.isRunning()) << service.error().toStdString();
  ASSERT_GT(service.httpsPort(), 0);
  EXPECT_EQ(GetOverTls(service.httpsPort(), "127.0.0.1", service.caFile()), "AlbumCount=0\r\n");
  EXPECT_EQ(GetOverTls(service.httpsPort(), "localhost", service.caFile()), "AlbumCount=0\r\n");

  // Another service's certificate is not trusted in its place.
  ReferenceService other;
  ASSERT_TRUE(other.isRunning()) << other.error().toStdString();
  EXPECT_NE(GetOverTls(service.httpsPort(), "127.0.0.1", other.caFile()), "AlbumCount=0\r\n");

  struct stat info {};
  ASSERT_EQ(::stat((service.dataFolder() + "/tls/key.pem").toLocal8Bit().constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(ServiceTls, CertificateNamesThePublicHostAndLastsTenYears) {
  ReferenceService::Options options;
  options.arguments = {"--public-host", "photos.example.org"};
  ReferenceService service(options);
  ASSERT_TRUE(service.isRunning()) << service.error().toStdString();
  FILE* file = std::fopen(service.caFile().toLocal8Bit().constData(), "r");
  ASSERT_NE(file, nullptr);
  X509* certificate = PEM_read_X509(file, nullptr, nullptr, nullptr);
  std::fclose(file);
  ASSERT_NE(certificate, nullptr);
  EXPECT_EQ(X509_check_host(certificate, "photos.example.org", 0, 0, nullptr), 1);
  EXPECT_EQ(X509_check_host(certificate, "localhost", 0, 0, nullptr), 1);
  EXPECT_EQ(X509_check_ip_asc(certificate, "127.0.0.1", 0), 1);
  EXPECT_NE(X509_check_host(certificate, "other.example.org", 0, 0, nullptr), 1);
  const std::time_t nineYears = std::time(nullptr) + 9L * 366 * 24 * 3600;
  EXPECT_GT(X509_cmp_time(X509_get0_notAfter(certificate), const_cast<std::time_t*>(&nineYears)),
            0);
  X509_free(certificate);

  // WebPath points the client at HTTPS under the public name.
  const QByteArray answer = service.get(
      "/register.asp?FirstName=Al&LastName=Li&Address1=R&Address2=&City=T&State=S&Zip=1"
      "&Country=&Phone=5&Fax=&Mobile=&Email=a%40b.org&Password=pw");
  EXPECT_TRUE(service.get("/getpaths.asp?UserId=" + answer.mid(7, 9))
                  .contains("\r\nWebPath=https://photos.example.org:" +
                            QByteArray::number(service.httpsPort()) + "/\r\n"));
}
}  // namespace
