#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Brivane");
  QMainWindow window;
  window.setWindowTitle("Brivane");
  window.resize(800, 600);
  window.show();
  return QApplication::exec();
}
