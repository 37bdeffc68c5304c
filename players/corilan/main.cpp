// corilan: the photos beside it as a screen saver, started the way systems start one.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <memory>

#include "common/PhotoSequence.h"
#include "common/PlayerTestHooks.h"
#include "common/PlayerView.h"
#include "common/ScreenSaverArguments.h"
#include "HostWindow.h"

namespace {
int ShowSettingsBox(const PlayerTestHooks& hooks) {
  QMessageBox box(QMessageBox::Information, QStringLiteral("Brivane"),
                  QStringLiteral("There is nothing to set for this screen saver."),
                  QMessageBox::Ok);
  hooks.arm(&box);
  box.exec();
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Brivane"));
  QStringList arguments = QApplication::arguments();
  if (!arguments.isEmpty()) arguments.removeFirst();
  const ScreenSaverArguments request =
      ScreenSaverArguments::parse(arguments, qEnvironmentVariable("XSCREENSAVER_WINDOW"));
  const PlayerTestHooks hooks = PlayerTestHooks::fromEnvironment();

  using Mode = ScreenSaverArguments::Mode;
  if (request.mode == Mode::Quit) return 0;
  if (request.mode == Mode::Configure) return ShowSettingsBox(hooks);

  std::unique_ptr<HostWindow> host;
  if (request.mode == Mode::Window) {
    host = HostWindow::open(request.window);
    // A window that is not there (or a platform that cannot draw into it): nothing to do.
    if (!host) return 0;
  }

  const PlayerView::Input input = request.mode == Mode::Show ? PlayerView::Input::EndOnAnyInput
                                                             : PlayerView::Input::Ignore;
  PlayerView view(PhotoSequence::besideProgram(), input, hooks.timeline(), QString());
  view.setWindowTitle(QStringLiteral("Brivane"));
  QObject::connect(&view, &PlayerView::endRequested, &app, [] { QCoreApplication::exit(0); });

  QTimer followHost;
  if (host) {
    view.setAttribute(Qt::WA_NativeWindow);
    view.winId();
    view.windowHandle()->setParent(host->window());
    view.setGeometry(QRect(QPoint(0, 0), host->size()));
    view.show();
    // The preview follows its host's size and ends when the host has closed.
    QObject::connect(&followHost, &QTimer::timeout, &view, [&view, &host] {
      const QSize size = host->size();
      if (size.isEmpty() && !host->exists())
        QCoreApplication::exit(0);
      else if (!size.isEmpty() && size != view.size())
        view.setGeometry(QRect(QPoint(0, 0), size));
    });
    followHost.start(250);
  } else {
    view.showOnWholeScreen();
  }
  hooks.arm(&view);
  return QApplication::exec();
}
