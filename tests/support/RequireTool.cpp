#include "support/RequireTool.h"

#include <gtest/gtest.h>

#include <QStandardPaths>

bool RequireTool(const QString& program, const char* package) {
  if (!QStandardPaths::findExecutable(program).isEmpty()) return true;
  ADD_FAILURE() << program.toStdString() << " is missing: install the Debian package " << package
                << " (scripts/install-deps.sh installs it)";
  return false;
}
