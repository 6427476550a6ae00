#include "i18n/unsaved_settings_notice.h"

namespace volumetra {
namespace {

struct NoticeText {
  const char* language;
  const char* heading;
  const char* consequence;
};

constexpr NoticeText kEnglish{"English", "Settings not saved: ",
                              "What was changed in this run (window positions, language, log file, "
                              "options) is lost."};
constexpr NoticeText kTexts[] = {
    kEnglish,
    {"Deutsch", "Einstellungen nicht gespeichert: ",
     "Was in diesem Lauf ge\xC3\xA4ndert wurde (Fensterpositionen, Sprache, Logdatei, Optionen), ist "
     "verloren."},
};

}  // namespace

std::string UnsavedSettingsNotice(const std::string& language, const std::string& error) {
  NoticeText text = kEnglish;
  for (const NoticeText& candidate : kTexts)
    if (language == candidate.language) text = candidate;
  return std::string(text.heading) + error + "\n\n" + text.consequence;
}

}  // namespace volumetra
