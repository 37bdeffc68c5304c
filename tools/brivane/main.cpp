#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

#include "BrivaneTool.h"

namespace {
// The command named on the command line, after the global options.
QString CommandOf(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QString argument = QString::fromLocal8Bit(argv[i]);
    if (argument == QLatin1String("--program-folder")) ++i;
    else if (!argument.startsWith(QLatin1Char('-'))) return argument;
  }
  return QString();
}
}  // namespace

int main(int argc, char** argv) {
  // Drawing text needs the fonts of a GUI application; brivane never opens a window, so
  // it draws offscreen, with or without a display.
  std::unique_ptr<QCoreApplication> app;
  const QString command = CommandOf(argc, argv);
  if (command == QLatin1String("caption") || command == QLatin1String("fun")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName(QStringLiteral("brivane"));
  BrivaneTool tool;
  return tool.run(QCoreApplication::arguments().mid(1));
}
