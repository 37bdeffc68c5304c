#include <QCoreApplication>

#include "BrivaneTool.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("brivane"));
  BrivaneTool tool;
  return tool.run(QCoreApplication::arguments().mid(1));
}
