#pragma once

#include "system/ProgramRunner.h"

// Finds programs on PATH and starts them detached.
class DetachedProgramRunner : public ProgramRunner {
 public:
  bool isAvailable(const QString& program) const override;
  bool start(const QString& program, const QStringList& arguments) override;
};
