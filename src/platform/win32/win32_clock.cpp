#include "platform/win32/win32_clock.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace volumetra {
namespace {

constexpr int kTextSize = 128;

SYSTEMTIME ToSystemTime(const LocalDateTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  return st;
}

// The text a *FormatW or GetLocaleInfoW call wrote, without its NUL, in UTF-8; empty when it failed.
std::string Written(const wchar_t* text, int length) {
  return length > 1 ? Utf8(std::wstring_view(text, static_cast<std::size_t>(length - 1))) : std::string();
}

}  // namespace

Win32Clock::Win32Clock() : Win32Clock(LOCALE_USER_DEFAULT) {}

Win32Clock::Win32Clock(unsigned long localeId) : locale_(localeId) {}

LocalDateTime Win32Clock::Now() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::int64_t Win32Clock::SteadyMilliseconds() {
  return static_cast<std::int64_t>(GetTickCount64());
}

std::string Win32Clock::ShortDate(const LocalDateTime& t) {
  const SYSTEMTIME st = ToSystemTime(t);
  wchar_t text[kTextSize];
  return Written(text, GetDateFormatW(locale_, DATE_SHORTDATE, &st, nullptr, text, kTextSize));
}

std::string Win32Clock::LongTime(const LocalDateTime& t) {
  const SYSTEMTIME st = ToSystemTime(t);
  wchar_t text[kTextSize];
  return Written(text, GetTimeFormatW(locale_, 0, &st, nullptr, text, kTextSize));
}

std::string Win32Clock::LocaleText(unsigned long item, const char* fallback) const {
  wchar_t text[kTextSize];
  const std::string value = Written(text, GetLocaleInfoW(locale_, item, text, kTextSize));
  return value.empty() ? fallback : value;
}

std::string Win32Clock::ThousandsSeparator() {
  return LocaleText(LOCALE_STHOUSAND, ",");
}

std::string Win32Clock::DecimalSeparator() {
  return LocaleText(LOCALE_SDECIMAL, ".");
}

}  // namespace volumetra
