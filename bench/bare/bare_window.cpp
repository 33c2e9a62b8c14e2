// A bare Qt window that does nothing: the peer for the game's start-up time
// and memory. It has the game window's client size and background colour and
// sits centred like it, under a title of its own so that it can be found.
#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.setFixedSize(990, 484);
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, QColor(173, 255, 91));
  window.setPalette(palette);
  window.setAutoFillBackground(true);
  if (const QScreen* screen = window.screen()) {
    const QRect area = screen->availableGeometry();
    window.move(area.center() - window.rect().center());
  }
  window.show();
  return app.exec();
}
