// The Qt shell of the program. For now it proves the toolkit build: the application and its main
// window, titled as the program.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Mirasketch");
  QMainWindow window;
  window.setObjectName("frmMain");
  window.setWindowTitle("Mirasketch");
  window.resize(640, 48);
  window.show();
  return QApplication::exec();
}
