#include "controls/OpenInBrowser.h"

#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

#include "controls/Prompter.h"

namespace {
constexpr int kSuccess = 42;
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kNoAssociation = 31;
}  // namespace

QString BrowserOpenProblem(int shellResult) {
  switch (shellResult) {
    case 0: return QStringLiteral("The operating system is out of memory or resources.");
    case 2:
    case 3:
    case 27: return QStringLiteral("It seems that your default Web browser is not properly set up.");
    case 5: return QStringLiteral("The operating system denied access to the specified file. ");
    case 8: return QStringLiteral("There was not enough memory to complete the operation.");
    case 11: return QStringLiteral("The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).");
    case 28: return QStringLiteral("The DDE transaction could not be completed because the request timed out.");
    case 29: return QStringLiteral("The DDE transaction failed.");
    case 30:
      return QStringLiteral(
          "The DDE transaction could not be completed because other DDE transactions were being processed.");
    case 31: return QStringLiteral("There is no application associated with the given filename extension.");
    case 32: return QStringLiteral("The specified dynamic-link library was not found. ");
    default: return {};
  }
}

int ShellResultOfOpener(bool started, int exitCode) {
  if (!started) return kNoAssociation;
  // xdg-open: 0 done, 1 bad arguments, 2 no such file, 3 no tool to open it with, 4 the
  // program it started failed.
  switch (exitCode) {
    case 0: return kSuccess;
    case 2: return kFileNotFound;
    case 3: return kNoAssociation;
    default: return kPathNotFound;
  }
}

void OpenInBrowser(const QString& target, QWidget* owner, Prompter& prompter) {
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  QPointer<QWidget> window(owner);
  auto report = [window, &prompter](int result) {
    const QString problem = BrowserOpenProblem(result);
    if (!problem.isEmpty()) prompter.showError(window, problem);
  };
  if (opener.isEmpty()) {
    report(ShellResultOfOpener(false, 0));
    return;
  }
  // Not owned by the window: closing the program must not end the browser it started.
  auto* process = new QProcess;
  process->setProgram(opener);
  process->setArguments({target});
  process->setStandardInputFile(QProcess::nullDevice());
  QObject::connect(process, &QProcess::finished, process, [process, report](int exitCode, QProcess::ExitStatus status) {
    report(ShellResultOfOpener(true, status == QProcess::NormalExit ? exitCode : 4));
    process->deleteLater();
  });
  QObject::connect(process, &QProcess::errorOccurred, process, [process, report](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    report(ShellResultOfOpener(false, 0));
    process->deleteLater();
  });
  process->start();
}
