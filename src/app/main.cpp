// The Korva emulator program.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label("Korva");
  label.setWindowTitle("Korva");
  label.resize(320, 120);
  label.show();
  return app.exec();
}
