#include <gtest/gtest.h>

#include "common/MouseMoveGate.h"
#include "common/ScreenSaverArguments.h"

namespace {
using Mode = ScreenSaverArguments::Mode;

ScreenSaverArguments Parse(const QString& line, const QString& xscreensaverWindow = QString()) {
  return ScreenSaverArguments::parse(line.split(' ', Qt::SkipEmptyParts), xscreensaverWindow);
}
}  // namespace

TEST(CorilanArguments, WindowsFormsInAnyCaseAndWithEitherSign) {
  for (const char* line : {"/s", "/S", "-s", "-S", "/s extra"})
    EXPECT_EQ(Parse(line).mode, Mode::Show) << line;
  for (const char* line : {"", "/c", "/C", "-c", "/c:1234", "/C:5678", "whatever"})
    EXPECT_EQ(Parse(line).mode, Mode::Configure) << line;
  for (const char* line : {"/p 1234", "/P 1234", "-p 1234", "/p:1234", "/P:1234", "/p1234"}) {
    const ScreenSaverArguments request = Parse(line);
    EXPECT_EQ(request.mode, Mode::Window) << line;
    EXPECT_EQ(request.window, 1234u) << line;
  }
}

TEST(CorilanArguments, PreviewWithoutAUsableWindowEndsQuietly) {
  for (const char* line : {"/p", "/p 0", "/p:", "/p abc", "-window-id", "-window-id nothing"})
    EXPECT_EQ(Parse(line).mode, Mode::Quit) << line;
  // The password request is not this player's to serve.
  EXPECT_EQ(Parse("/a 1234").mode, Mode::Quit);
}

TEST(CorilanArguments, XscreensaverForms) {
  EXPECT_EQ(Parse("-root").mode, Mode::Root);
  ScreenSaverArguments request = Parse("-window-id 0x2a00007");
  EXPECT_EQ(request.mode, Mode::Window);
  EXPECT_EQ(request.window, 0x2a00007u);
  request = Parse("-window-id 44040199");
  EXPECT_EQ(request.window, 44040199u);

  // xscreensaver names its window in the environment; -root then draws into it.
  request = Parse("-root", "0x3c00001");
  EXPECT_EQ(request.mode, Mode::Window);
  EXPECT_EQ(request.window, 0x3c00001u);
  request = Parse("", "0x3c00001");
  EXPECT_EQ(request.mode, Mode::Window);
  // An explicit window or a Windows request wins over the environment.
  EXPECT_EQ(Parse("-window-id 7", "0x3c00001").window, 7u);
  EXPECT_EQ(Parse("/s", "0x3c00001").mode, Mode::Show);
}

TEST(CorilanInput, OnlyAMoveBeyondAFewPixelsWakes) {
  MouseMoveGate gate(4);
  EXPECT_FALSE(gate.movedAway(QPoint(500, 300)));  // where the mouse was
  EXPECT_FALSE(gate.movedAway(QPoint(503, 302)));
  EXPECT_FALSE(gate.movedAway(QPoint(496, 300)));
  EXPECT_FALSE(gate.movedAway(QPoint(500, 300)));
  EXPECT_TRUE(gate.movedAway(QPoint(505, 300)));
  EXPECT_TRUE(gate.movedAway(QPoint(497, 296)));
}
