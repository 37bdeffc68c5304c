// The live-update module against an update server that breaks off, trickles, floods or
// names what is no download page: the check ends within its own time limit with one
// error for the user, and offers or opens nothing.

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QStringList>

#include "support/ScriptPeer.h"
#include "update/tervola.h"

namespace {

// The module's own limit on a whole check.
constexpr qint64 kCheckLimitMs = 20000;
constexpr qint64 kMarginMs = 3000;

struct Case {
  const char* answer;
  const char* words;
};

const Case kCases[] = {
    {"/reset-before-headers", "answer broke off"},
    {"/reset-mid-headers", "answer broke off"},
    {"/close-mid-headers", "answer broke off in its headers"},
    {"/close-mid-body", "answer broke off"},
    {"/huge-length", "answer broke off"},
    {"/trickle-body", "did not answer in time"},
    {"/endless", "longer than an update notice"},
    {"/update-paths", "answer was refused"},
    {"/update-nul", "answer was refused"},
    {"/binary", "answer was refused"},
};

struct Told {
  QList<int> requests;
  QStringList texts;
};

int Record(void* context, int request, const char* text) {
  auto* told = static_cast<Told*>(context);
  if (request == UPDATE_STOP_REQUESTED) return 0;
  told->requests << request;
  told->texts << QString::fromUtf8(text);
  return 1;
}

class HostileUpdatePeer : public ::testing::TestWithParam<Case> {};

TEST_P(HostileUpdatePeer, CheckEndsInTimeWithOneClearError) {
  const Case& c = GetParam();
  void* module = dlopen(BRIVANE_PROGRAM_DIR "tervola.dll", RTLD_NOW | RTLD_LOCAL);
  ASSERT_TRUE(module) << dlerror();
  const auto liveUpdate = reinterpret_cast<LiveUpdateEntry>(dlsym(module, "LiveUpdate"));
  ASSERT_TRUE(liveUpdate);
  ScriptPeer peer;
  ASSERT_TRUE(peer.start(QStringLiteral(BRIVANE_SOURCE_DIR "tests/inet/hostile_http.py"),
                         {QStringLiteral("--answer"), QString::fromLatin1(c.answer)}));

  Told told;
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(liveUpdate("Brivane", "1.0", peer.host().toUtf8().constData(), &Record, &told), 0);
  const qint64 elapsed = clock.elapsed();
  const qint64 limit = kCheckLimitMs + kMarginMs;
  std::cout << "[ timing   ] update" << c.answer << ": " << elapsed << " ms (limit " << limit
            << " ms): " << told.texts.join(" | ").toStdString() << std::endl;
  EXPECT_LE(elapsed, limit);
  ASSERT_EQ(told.requests, QList<int>{UPDATE_SHOW_ERROR}) << told.texts.join(" | ").toStdString();
  EXPECT_TRUE(told.texts[0].startsWith("Brivane could not check for updates: "))
      << told.texts[0].toStdString();
  EXPECT_TRUE(told.texts[0].contains(QLatin1String(c.words))) << told.texts[0].toStdString();
  dlclose(module);
}

// CTest names each case by this.
void PrintTo(const Case& c, std::ostream* out) { *out << (c.answer + 1); }

INSTANTIATE_TEST_SUITE_P(HostilePeers, HostileUpdatePeer, ::testing::ValuesIn(kCases));

}  // namespace
