#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "system/SemaphoreRegistry.h"

TEST(SemaphoreRegistry, CountsStayBetweenZeroAndTheMaximum) {
  SemaphoreRegistry registry;
  const auto stop = registry.create("ThumbStop", 0, 1);
  ASSERT_TRUE(stop);
  EXPECT_FALSE(stop->wait(0));
  int previous = -1;
  EXPECT_TRUE(stop->release(1, &previous));
  EXPECT_EQ(previous, 0);
  EXPECT_FALSE(stop->release(1));  // would pass the maximum of 1
  EXPECT_FALSE(stop->release(0));
  EXPECT_EQ(stop->count(), 1);
  EXPECT_TRUE(stop->wait(0));
  EXPECT_FALSE(stop->wait(20));

  EXPECT_FALSE(registry.create("bad", 2, 1));
  EXPECT_FALSE(registry.create("bad", -1, 1));
  EXPECT_FALSE(registry.create("bad", 0, 0));
}

TEST(SemaphoreRegistry, NamesFindTheSameSemaphoreWhileAHandleLives) {
  SemaphoreRegistry registry;
  EXPECT_FALSE(registry.open("ThumbStop"));
  bool existed = true;
  auto created = registry.create("ThumbStop", 0, 1, &existed);
  EXPECT_FALSE(existed);
  // Creating an existing name hands out that semaphore with its counts unchanged.
  auto again = registry.create("ThumbStop", 1, 5, &existed);
  EXPECT_TRUE(existed);
  EXPECT_EQ(again, created);
  EXPECT_EQ(again->maximumCount(), 1);
  EXPECT_EQ(registry.open("ThumbStop"), created);
  EXPECT_FALSE(registry.open("thumbstop"));

  created.reset();
  again.reset();
  EXPECT_FALSE(registry.open("ThumbStop"));
  // Another registry, as another running copy of the program has, shares nothing.
  auto mine = registry.create("StopUpload", 0, 1);
  SemaphoreRegistry otherCopy;
  EXPECT_FALSE(otherCopy.open("StopUpload"));
  EXPECT_NE(otherCopy.create("StopUpload", 0, 1), mine);
}

TEST(SemaphoreRegistry, AReleaseWakesAWaitingThread) {
  SemaphoreRegistry registry;
  auto stop = registry.create("ThumbStop", 0, 1);
  bool signalled = false;
  std::thread watcher([&registry, &signalled] {
    auto opened = registry.open("ThumbStop");
    signalled = opened->wait(10000);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  stop->release(1);
  watcher.join();
  EXPECT_TRUE(signalled);
  EXPECT_EQ(stop->count(), 0);
}
