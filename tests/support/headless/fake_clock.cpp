#include "support/headless/fake_clock.h"

#include <chrono>
#include <cstdio>

namespace volumetra {

LocalDateTime FakeClock::Now() {
  using namespace std::chrono;
  const sys_days startDay =
      year{start_.year} / month{static_cast<unsigned>(start_.month)} / day{static_cast<unsigned>(start_.day)};
  const auto startTime = hours{start_.hour} + minutes{start_.minute} + seconds{start_.second};
  const sys_time<milliseconds> t = startDay + startTime + milliseconds{loop_.now()};
  const sys_days d = floor<days>(t);
  const year_month_day ymd{d};
  const hh_mm_ss<milliseconds> hms{t - d};
  return {static_cast<int>(ymd.year()),
          static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day())),
          static_cast<int>(hms.hours().count()),
          static_cast<int>(hms.minutes().count()),
          static_cast<int>(hms.seconds().count())};
}

std::string FakeClock::ShortDate(const LocalDateTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year, t.month, t.day);
  return text;
}

std::string FakeClock::LongTime(const LocalDateTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return text;
}

}  // namespace volumetra
