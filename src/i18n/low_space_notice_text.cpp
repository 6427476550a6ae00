#include "i18n/low_space_notice_text.h"

namespace volumetra {
namespace {

struct NoticeText {
  const char* language;
  const char* title;   ///< followed by the drive and, when it has one, its label in parentheses
  const char* freeOf;  ///< between the free and the total amount
};

constexpr NoticeText kEnglish{"English", "Low disk space on ", " free of "};
constexpr NoticeText kTexts[] = {
    kEnglish,
    {"Deutsch", "Wenig Speicherplatz auf ", " frei von "},
};

const NoticeText& TextFor(const std::string& language) {
  for (const NoticeText& candidate : kTexts)
    if (language == candidate.language) return candidate;
  return kEnglish;
}

}  // namespace

std::string LowSpaceNoticeTitle(const std::string& language, const std::string& drive,
                                const std::string& label) {
  std::string title = TextFor(language).title + drive;
  const std::size_t end = label.find_last_not_of(' ');
  if (end != std::string::npos) {
    const std::size_t begin = label.find_first_not_of(' ');
    title += " (" + label.substr(begin, end + 1 - begin) + ")";
  }
  return title;
}

std::string LowSpaceNoticeAmounts(const std::string& language, const std::string& freeSpace,
                                  const std::string& totalSpace) {
  return freeSpace + TextFor(language).freeOf + totalSpace;
}

}  // namespace volumetra
