// The reference program for whole-program measurements: a bare Qt 6 window of the main window's
// size that changes the text of 8 labels every 500 ms, the cheapest thing a Qt program can do at
// the survey rate. With --status-bar the window also has a status bar whose message changes with
// the labels and reads as the program's status line does: what a status line alone costs at that
// rate.
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>
#include <array>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool withStatusBar = app.arguments().contains(QStringLiteral("--status-bar"));
  QWidget window;
  window.setWindowTitle("bare");
  window.resize(640, 120);
  std::array<QLabel*, 8> labels{};
  for (int i = 0; i < 8; ++i) {
    labels[i] = new QLabel("-", &window);
    labels[i]->setGeometry(i * 80, 20, 78, 16);
  }
  QStatusBar* statusBar = nullptr;
  if (withStatusBar) {
    statusBar = new QStatusBar(&window);
    statusBar->setGeometry(0, 96, 640, 24);
  }
  int count = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    ++count;
    for (QLabel* label : labels) label->setText(QString::number(count));
    if (statusBar) {
      const QDateTime now = QDateTime::currentDateTime();
      const QLocale locale;
      statusBar->showMessage(QStringLiteral("Testloop No. %1%2%3   %4")
                                 .arg(count)
                                 .arg(QString(26, QLatin1Char(' ')))
                                 .arg(locale.toString(now.date(), QLocale::ShortFormat))
                                 .arg(locale.toString(now.time(), QLocale::LongFormat)));
    }
  });
  timer.start(500);
  window.show();
  return app.exec();
}
