#pragma once

#include <functional>

#include <QString>

class BackgroundRunner;
class Prompter;
class QWidget;

// Live Update: loads the live-update module (tervola.dll beside the program) at the
// moment it is asked for, runs its check on the background runner, and carries the
// module's messages, question and browser request to the interface thread. A module
// that is missing or broken only makes the check fail with a message.
class LiveUpdate {
 public:
  static constexpr const char* kModuleFile = "tervola.dll";
  static constexpr const char* kEntry = "LiveUpdate";

  // openAddress opens a checked http or https address in the browser.
  LiveUpdate(QString modulePath, QWidget* window, Prompter& prompter, BackgroundRunner& runner,
             std::function<void(const QString&)> openAddress);

  // Asks updateHost ("name[:port]") for the newest version of the program. Returns the
  // module's result: non-zero when the program must close for the update.
  int run(const QString& updateHost);

 private:
  QString m_modulePath;
  QWidget* m_window;
  Prompter& m_prompter;
  BackgroundRunner& m_runner;
  std::function<void(const QString&)> m_openAddress;
};
