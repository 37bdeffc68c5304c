#pragma once

#include <QString>
#include <QStringList>

// Starts desktop programs without waiting for them. The main window uses the system's;
// tests give one that records the calls.
class ProgramRunner {
 public:
  virtual ~ProgramRunner() = default;
  virtual bool isAvailable(const QString& program) const = 0;
  // False when the program could not be started.
  virtual bool start(const QString& program, const QStringList& arguments) = 0;
};
