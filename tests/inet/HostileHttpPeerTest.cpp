// The service's requests against a server that breaks off, stalls, trickles or floods at
// each point of its answer: the request ends within the stall time-out with no answer
// (a cut one would be read as whole) and a message that says what happened.

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "inet/InternetSession.h"
#include "inet/ServiceRequests.h"
#include "support/ScriptPeer.h"

namespace {

constexpr int kStallSeconds = 1;
// Starting the request, and the speed check's averaging: it looks at the last five
// seconds, so bytes that came just before a stall keep it quiet for that long.
constexpr qint64 kMarginMs = 8000;

struct Case {
  const char* path;
  const char* words;
};

const Case kCases[] = {
    {"/silent", "stopped answering"},          {"/reset-before-headers", "broke off"},
    {"/reset-mid-headers", "broke off"},       {"/close-mid-headers", "broke off"},
    {"/trickle-headers", "stopped answering"}, {"/stall", "stopped answering"},
    {"/trickle-body", "stopped answering"},    {"/reset", "broke off"},
    {"/close-mid-body", "broke off"},          {"/huge-length", "broke off"},
    {"/huge", "longer than 1024 KB"},          {"/endless", "longer than 1024 KB"},
};

class HostileHttpPeer : public ::testing::TestWithParam<Case> {};

TEST_P(HostileHttpPeer, GivesNoAnswerInTimeAndSaysWhy) {
  const Case& c = GetParam();
  ScriptPeer peer;
  ASSERT_TRUE(peer.start(QStringLiteral(BRIVANE_SOURCE_DIR "tests/inet/hostile_http.py")));
  InternetOptions options;
  options.connectTimeoutSeconds = 2;
  options.stallTimeoutSeconds = kStallSeconds;
  auto session = InternetSession::Open(options);
  ASSERT_TRUE(session);

  QElapsedTimer clock;
  clock.start();
  QString error;
  const QString answer =
      ServiceGet(*session, QStringLiteral("http://") + peer.host() + QStringLiteral("/"),
                 QString::fromLatin1(c.path), QStringLiteral("?UserId=1"), &error);
  const qint64 elapsed = clock.elapsed();
  const qint64 limit = kStallSeconds * 1000 + kMarginMs;
  std::cout << "[ timing   ] " << c.path << ": " << elapsed << " ms (limit " << limit
            << " ms): " << error.toStdString() << std::endl;
  EXPECT_LE(elapsed, limit);
  EXPECT_TRUE(answer.isEmpty() || answer == QLatin1String(kRequestFailed))
      << answer.left(200).toStdString();
  EXPECT_TRUE(error.contains(QLatin1String(c.words))) << error.toStdString();
}

// CTest names each case by this.
void PrintTo(const Case& c, std::ostream* out) { *out << (c.path + 1); }

INSTANTIATE_TEST_SUITE_P(HostilePeers, HostileHttpPeer, ::testing::ValuesIn(kCases));

}  // namespace
