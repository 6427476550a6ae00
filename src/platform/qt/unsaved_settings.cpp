#include "platform/qt/unsaved_settings.h"

#include <syslog.h>

#include <QMessageBox>
#include <cstdio>

#include "i18n/unsaved_settings_notice.h"
#include "platform/linux/desktop_entry.h"

namespace volumetra {

void TellUnsavedSettings(const std::string& language, const std::string& saveError, bool userClosed) {
  if (saveError.empty()) return;
  const std::string notice = UnsavedSettingsNotice(language, saveError);
  if (userClosed) {
    QMessageBox box(QMessageBox::Warning, kWindowClass, QString::fromStdString(notice), QMessageBox::Ok);
    box.exec();
    return;
  }
  std::fprintf(stderr, "volumetra: %s\n", notice.c_str());
  openlog("volumetra", LOG_PID, LOG_USER);
  syslog(LOG_WARNING, "%s", notice.c_str());
  closelog();
}

}  // namespace volumetra
