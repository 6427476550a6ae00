#include "platform/linux/linux_clock.h"

#include <langinfo.h>

#include <chrono>
#include <ctime>

namespace volumetra {
namespace {

constexpr int kCategories = LC_TIME_MASK | LC_NUMERIC_MASK;
constexpr const char* kFallbackThousands = ",";
constexpr const char* kFallbackDecimal = ".";

locale_t OpenLocale(const char* name) {
  locale_t locale = newlocale(kCategories, name, static_cast<locale_t>(nullptr));
  return locale != static_cast<locale_t>(nullptr)
             ? locale
             : newlocale(kCategories, "C", static_cast<locale_t>(nullptr));
}

std::string OrFallback(const char* text, const char* fallback) {
  return text != nullptr && text[0] != '\0' ? text : fallback;
}

}  // namespace

LinuxClock::LinuxClock() : LinuxClock("") {}

LinuxClock::LinuxClock(const char* localeName) : locale_(OpenLocale(localeName)) {}

LinuxClock::~LinuxClock() {
  if (locale_ != static_cast<locale_t>(nullptr)) freelocale(locale_);
}

LocalDateTime LinuxClock::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::int64_t LinuxClock::SteadyMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::tm ToTm(const LocalDateTime& t) {
  std::tm fields{};
  fields.tm_year = t.year - 1900;
  fields.tm_mon = t.month - 1;
  fields.tm_mday = t.day;
  fields.tm_hour = t.hour;
  fields.tm_min = t.minute;
  fields.tm_sec = t.second;
  fields.tm_isdst = -1;
  return fields;
}

std::string LinuxClock::Format(const char* format, const LocalDateTime& t) const {
  const std::tm fields = ToTm(t);
  char text[128];
  const std::size_t length = locale_ != static_cast<locale_t>(nullptr)
                                 ? strftime_l(text, sizeof text, format, &fields, locale_)
                                 : std::strftime(text, sizeof text, format, &fields);
  return std::string(text, length);
}

std::string LinuxClock::ShortDate(const LocalDateTime& t) {
  return Format("%x", t);
}

std::string LinuxClock::LongTime(const LocalDateTime& t) {
  return Format("%X", t);
}

std::string LinuxClock::ThousandsSeparator() {
  if (locale_ == static_cast<locale_t>(nullptr)) return kFallbackThousands;
  return OrFallback(nl_langinfo_l(THOUSEP, locale_), kFallbackThousands);
}

std::string LinuxClock::DecimalSeparator() {
  if (locale_ == static_cast<locale_t>(nullptr)) return kFallbackDecimal;
  return OrFallback(nl_langinfo_l(RADIXCHAR, locale_), kFallbackDecimal);
}

}  // namespace volumetra
