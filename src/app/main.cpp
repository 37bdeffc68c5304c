#include <QApplication>

#include "app/CMainApp.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  CMainApp app;
  app.initInstance();
  return app.run();
}
