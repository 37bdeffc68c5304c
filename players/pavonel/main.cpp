// pavonel: plays the photos beside it as a full-screen slide show until the user ends it.

#include <QApplication>

#include "common/PhotoSequence.h"
#include "common/PlayerTestHooks.h"
#include "common/PlayerView.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Brivane"));
  const PlayerTestHooks hooks = PlayerTestHooks::fromEnvironment();

  PlayerView view(PhotoSequence::besideProgram(), PlayerView::Input::SlideShow,
                  hooks.timeline(), QStringLiteral("There are no photos in this show."));
  view.setWindowTitle(QStringLiteral("Brivane"));
  QObject::connect(&view, &PlayerView::endRequested, &app, [] { QCoreApplication::exit(0); });
  view.showOnWholeScreen();
  hooks.arm(&view);
  return QApplication::exec();
}
