// The reference program for whole-program measurements: a bare Qt 6 window of the main window's
// size that changes the text of 8 labels every 500 ms, the cheapest thing a Qt program can do at
// the survey rate.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <array>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("bare");
  window.resize(640, 120);
  std::array<QLabel*, 8> labels{};
  for (int i = 0; i < 8; ++i) {
    labels[i] = new QLabel("-", &window);
    labels[i]->setGeometry(i * 80, 20, 78, 16);
  }
  int count = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    ++count;
    for (QLabel* label : labels) label->setText(QString::number(count));
  });
  timer.start(500);
  window.show();
  return app.exec();
}
