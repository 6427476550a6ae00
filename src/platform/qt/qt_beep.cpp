#include "platform/qt/qt_beep.h"

#include <QApplication>

namespace volumetra {

void QtBeep::Beep() {
  QApplication::beep();
}

}  // namespace volumetra
