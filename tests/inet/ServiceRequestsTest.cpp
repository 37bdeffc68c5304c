#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "inet/InternetSession.h"
#include "support/ScriptPeer.h"
#include "inet/QueryEscape.h"
#include "inet/ResponseText.h"
#include "inet/ServiceConnection.h"
#include "inet/ServiceRequests.h"
#include "inet/UploadPaths.h"

namespace {

TEST(ResponseText, FindsValuesByKeyAnywhereAndEndsThemAtTheLineEnd) {
  const QString answer = QStringLiteral("UploadPath=x\r\nUploadId=y\r\n");
  EXPECT_EQ(GetResponseValue(answer, QStringLiteral("UploadPath=")), QStringLiteral("x"));
  EXPECT_EQ(GetResponseValue(answer, QStringLiteral("UploadId=")), QStringLiteral("y"));
  EXPECT_EQ(GetResponseValue(answer, QStringLiteral("WebPath=")), QString());
  EXPECT_EQ(GetResponseValue(QStringLiteral("A=1\r\nErrorMsg=at the end"), QStringLiteral("ErrorMsg=")),
            QStringLiteral("at the end"));
  EXPECT_EQ(GetResponseValue(QStringLiteral("ErrorMsg=\r\nA=1\r\n"), QStringLiteral("ErrorMsg=")), QString());
  // Keys are found by plain search, so a longer key that ends in the asked one wins.
  EXPECT_EQ(GetResponseValue(QStringLiteral("OldUserId=7\r\nUserId=8\r\n"), QStringLiteral("UserId=")),
            QStringLiteral("7"));
  // A server that ends lines in a bare LF still gives whole values.
  EXPECT_EQ(GetResponseValue(QStringLiteral("UploadId=bob\nX=1\n"), QStringLiteral("UploadId=")),
            QStringLiteral("bob"));
  EXPECT_EQ(ResponseNumber(QStringLiteral("12x")), 0);
  EXPECT_EQ(ResponseNumber(QStringLiteral("1048576")), 1048576);
}

TEST(ResponseText, NextLineWalksARecordAnswer) {
  QString answer = QStringLiteral("AlbumCount=1\r\nAlbumName=Beach\r\nlast");
  EXPECT_EQ(NextResponseLine(answer), QStringLiteral("AlbumCount=1\r\n"));
  EXPECT_EQ(GetResponseValue(NextResponseLine(answer), QStringLiteral("AlbumName=")), QStringLiteral("Beach"));
  EXPECT_EQ(NextResponseLine(answer), QStringLiteral("last"));
  EXPECT_TRUE(answer.isEmpty());
  EXPECT_EQ(NextResponseLine(answer), QString());
  EXPECT_EQ(RemoveZeroBytes(QByteArray("a\0b\0\0c", 6)), QByteArray("abc"));
}

TEST(QueryEscape, ValuesMakeWellFormedQueriesAndKeepTheServicesRules) {
  EXPECT_EQ(EscapeQueryValue(QStringLiteral("Tom's")), QStringLiteral("Tom''s"));
  EXPECT_EQ(EscapeQueryValue(QStringLiteral("Fish && Chips")), QStringLiteral("Fish%20%26%20Chips"));
  // A lone "&" would end the value early: it is encoded too.
  EXPECT_EQ(EscapeQueryValue(QStringLiteral("A&B")), QStringLiteral("A%26B"));
  EXPECT_EQ(EscapeQueryValue(QStringLiteral("a&&&b")), QStringLiteral("a%26%26b"));
  EXPECT_EQ(EscapeQueryText(QStringLiteral("Tom && Jerry's")), QStringLiteral("Tom%20%26%26%20Jerry''s"));
  EXPECT_EQ(EscapeQueryText(QStringLiteral("100% #1 a+b=c")), QStringLiteral("100%25%20%231%20a%2Bb%3Dc"));
  EXPECT_EQ(EscapeQueryText(QStringLiteral("Zoë\t\n")), QStringLiteral("Zo%C3%AB%09%0A"));
  EXPECT_EQ(PercentEncodeQueryValue(QStringLiteral("pa'ss word&")), QStringLiteral("pa'ss%20word%26"));
  EXPECT_EQ(EscapeQueryValue(QStringLiteral("Beach_2024-07.1")), QStringLiteral("Beach_2024-07.1"));
}

TEST(CrackUrl, SplitsSchemeHostAndObject) {
  const CrackedUrl url = CrackUrl(QStringLiteral("https://user:pw@example.org:8443/app/x.asp?a=1"));
  EXPECT_TRUE(url.valid);
  EXPECT_EQ(url.scheme, QStringLiteral("https"));
  EXPECT_EQ(url.host, QStringLiteral("example.org:8443"));
  EXPECT_EQ(url.object, QStringLiteral("/app/x.asp?a=1"));
  EXPECT_EQ(CrackUrl(QStringLiteral("http://h?q")).object, QStringLiteral("/?q"));
  EXPECT_FALSE(CrackUrl(QStringLiteral("no scheme")).valid);
}

// The client against a server that answers badly in every way it can.
class HostileServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_peer.start(QStringLiteral(BRIVANE_SOURCE_DIR "tests/inet/hostile_http.py")));
    InternetOptions options;
    options.stallTimeoutSeconds = 1;
    m_session = InternetSession::Open(options);
    ASSERT_TRUE(m_session);
  }

  QString get(const QString& path, QString* error = nullptr) {
    return ServiceGet(*m_session, QStringLiteral("http://") + m_peer.host() + QStringLiteral("/"), path, {}, error);
  }

  ScriptPeer m_peer;
  std::unique_ptr<InternetSession> m_session;
};

TEST_F(HostileServiceTest, RequestsThePathOnTheBaseUrlsHostOverTheCachedConnection) {
  const QString base = QStringLiteral("https://") + m_peer.host() + QStringLiteral("/folder/page.asp?x=1");
  const QString answer = ServiceGet(*m_session, base, QStringLiteral("/echo"),
                                    QStringLiteral("?UserId=%1").arg(QStringLiteral("123456789")));
  EXPECT_EQ(GetResponseValue(answer, QStringLiteral("Request=")),
            QStringLiteral("GET /echo?UserId=123456789 HTTP/1.0"));
  ASSERT_TRUE(m_session->serviceConnection());
  EXPECT_EQ(m_session->serviceConnection()->scheme(), QStringLiteral("http"));
  // Later requests keep to the cached connection, whatever host their base names.
  const QString later = ServiceGet(*m_session, QStringLiteral("http://elsewhere.invalid/"), QStringLiteral("/echo"), {});
  EXPECT_EQ(GetResponseValue(later, QStringLiteral("Request=")), QStringLiteral("GET /echo HTTP/1.0"));
}

TEST_F(HostileServiceTest, OddAnswersAreReadSafely) {
  EXPECT_EQ(GetResponseValue(get(QStringLiteral("/zeros")), QStringLiteral("UploadId=")), QStringLiteral("bob"));
  EXPECT_EQ(GetResponseValue(get(QStringLiteral("/repeat")), QStringLiteral("UploadId=")), QStringLiteral("first"));
  const UploadPaths paths = ReadUploadPaths(get(QStringLiteral("/barelf")));
  EXPECT_EQ(paths.uploadId, QStringLiteral("bob"));
  EXPECT_EQ(paths.uploadHost(), QStringLiteral("h"));
  EXPECT_EQ(paths.uploadFolder(), QStringLiteral("/f"));
  EXPECT_FALSE(get(QStringLiteral("/binary")).isEmpty());
}

TEST_F(HostileServiceTest, BrokenTransfersGiveNoAnswerAndAClearMessage) {
  QString error;
  EXPECT_EQ(get(QStringLiteral("/huge"), &error), QString());
  EXPECT_TRUE(error.contains(QStringLiteral("longer than 1024 KB"))) << error.toStdString();
  EXPECT_EQ(get(QStringLiteral("/stall"), &error), QString());
  EXPECT_TRUE(error.contains(QStringLiteral("stopped answering"))) << error.toStdString();
  EXPECT_EQ(get(QStringLiteral("/reset"), &error), QString());
  EXPECT_TRUE(error.contains(QStringLiteral("broke off"))) << error.toStdString();
  // After all that the cached connection still serves.
  EXPECT_EQ(GetResponseValue(get(QStringLiteral("/ok")), QStringLiteral("UploadId=")), QStringLiteral("ok"));
}

TEST_F(HostileServiceTest, AStopEndsAStalledTransfer) {
  InternetOptions patient = m_session->options();
  patient.stallTimeoutSeconds = 100;
  m_session->setOptions(patient);
  QElapsedTimer clock;
  clock.start();
  m_session->setStopCheck([&clock] { return clock.elapsed() > 300; });
  QString error;
  EXPECT_EQ(get(QStringLiteral("/stall"), &error), QString());
  EXPECT_EQ(error, QStringLiteral("The transfer was stopped."));
}

TEST(ServiceRequests, AServerThatCannotBeReachedGivesFailed) {
  auto session = InternetSession::Open({});
  ASSERT_TRUE(session);
  QString error;
  // Port 1 on loopback: nothing listens there.
  EXPECT_EQ(FetchOnFreshConnection(*session, QStringLiteral("http://127.0.0.1:1/register.asp?X=1"), &error),
            QStringLiteral("Failed"));
  EXPECT_TRUE(error.contains(QStringLiteral("could not be reached"))) << error.toStdString();
  const UploadPaths paths = GetUploadPaths(*session, QStringLiteral("127.0.0.1:1"), QStringLiteral("42"));
  EXPECT_FALSE(paths.ok);
  EXPECT_TRUE(paths.errorText.startsWith(QStringLiteral("Failed\n"))) << paths.errorText.toStdString();
}

}  // namespace
