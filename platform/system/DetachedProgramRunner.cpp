#include "system/DetachedProgramRunner.h"

#include <QProcess>
#include <QStandardPaths>

bool DetachedProgramRunner::isAvailable(const QString& program) const {
  return !QStandardPaths::findExecutable(program).isEmpty();
}

bool DetachedProgramRunner::start(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}
