#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "KillHarness.h"
#include "support/RequireTool.h"

// The kill tests: they fail without strace, and are skipped, saying why, where strace
// cannot trace (ptrace forbidden, as in some containers).
class Kill : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RequireTool("strace", "strace"));
    if (const QString problem = TraceProblem(); !problem.isEmpty())
      GTEST_SKIP() << problem.toStdString();
    ASSERT_TRUE(base.isValid());
  }

  QString Base() const { return base.path() + "/"; }

  QTemporaryDir base;
};
