#include "help/LiveUpdate.h"

#include <dlfcn.h>

#include <QPointer>
#include <QRegularExpression>
#include <QUrl>
#include <QWidget>

#include "controls/BackgroundRunner.h"
#include "controls/Prompter.h"
#include "help/HelpSites.h"

namespace {
// The module's face (platform/update/tervola.h), which the program does not link.
enum { kShowMessage = 1, kShowError = 2, kAskYesNo = 3, kOpenAddress = 4, kStopRequested = 5 };
using UpdateCallback = int (*)(void* context, int request, const char* text);
using LiveUpdateEntry = int (*)(const char* product, const char* version, const char* updateHost,
                                UpdateCallback callback, void* context);

struct CallContext {
  BackgroundJob* job;
  std::function<int(int, const QString&)> onInterface;
};

int Callback(void* context, int request, const char* text) {
  auto* call = static_cast<CallContext*>(context);
  if (request == kStopRequested) return call->job->stopRequested() ? 1 : 0;
  const QString message = QString::fromUtf8(text ? text : "");
  int result = 0;
  call->job->callOnInterface([&] { result = call->onInterface(request, message); });
  return result;
}

// Checked again here: the address came from the network, and goes to the desktop's opener.
bool IsWebAddress(const QString& text) {
  const QUrl url(text, QUrl::StrictMode);
  return url.isValid() &&
         (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
         !url.host().isEmpty() && url.userInfo().isEmpty() &&
         !text.contains(QRegularExpression(QStringLiteral("[\\s$`'\"()<>\\\\]")));
}
}  // namespace

LiveUpdate::LiveUpdate(QString modulePath, QWidget* window, Prompter& prompter,
                       BackgroundRunner& runner, std::function<void(const QString&)> openAddress)
    : m_modulePath(std::move(modulePath)),
      m_window(window),
      m_prompter(prompter),
      m_runner(runner),
      m_openAddress(std::move(openAddress)) {}

int LiveUpdate::run(const QString& updateHost) {
  const QString product = QString::fromLatin1(kProductName);
  const auto cannotCheck = [&](const QString& reason) {
    m_prompter.showError(m_window,
                         product + QLatin1String(" could not check for updates: ") + reason);
    return 0;
  };
  // Never closed: libcurl and OpenSSL, which the module uses, do not unload cleanly.
  void* module = dlopen(m_modulePath.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    return cannotCheck(QStringLiteral("the update module could not be loaded (%1).")
                           .arg(QString::fromLocal8Bit(dlerror())));
  }
  const auto entry = reinterpret_cast<LiveUpdateEntry>(dlsym(module, kEntry));
  if (!entry)
    return cannotCheck(
        QStringLiteral("the update module %1 has no entry %2.").arg(m_modulePath, kEntry));

  QPointer<QWidget> window(m_window);
  const auto onInterface = [&, window](int request, const QString& text) {
    switch (request) {
      case kShowMessage:
        m_prompter.showMessage(window, text);
        return 0;
      case kShowError:
        m_prompter.showError(window, text);
        return 0;
      case kAskYesNo:
        return m_prompter.askYesNoCancel(window, text) == Prompter::Answer::Yes ? 1 : 0;
      case kOpenAddress:
        if (IsWebAddress(text))
          m_openAddress(text);
        else
          m_prompter.showError(
              window, QStringLiteral("The download page's address is not a plain web address."));
        return 0;
      default:
        return 0;
    }
  };
  BackgroundTask task;
  task.text = QStringLiteral("Checking for a newer version of %1...").arg(product);
  task.cancellable = true;
  task.objectName = QStringLiteral("liveUpdateProgress");
  const QByteArray host = updateHost.toUtf8();
  return m_runner.run(task, [&](BackgroundJob& job) {
    CallContext context{&job, onInterface};
    return entry(kProductName, kProductVersion, host.constData(), Callback, &context);
  });
}
