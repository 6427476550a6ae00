#include "platform/win32/unsaved_settings.h"

#include "i18n/unsaved_settings_notice.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

namespace volumetra {
namespace {

constexpr const wchar_t* kProgramName = L"Volumetra";

void ReportToEventLog(const std::wstring& notice) {
  OutputDebugStringW((std::wstring(kProgramName) + L": " + notice + L"\n").c_str());
  HANDLE log = RegisterEventSourceW(nullptr, kProgramName);
  if (!log) return;
  const wchar_t* strings[] = {notice.c_str()};
  ReportEventW(log, EVENTLOG_WARNING_TYPE, 0, 0, nullptr, 1, 0, strings, nullptr);
  DeregisterEventSource(log);
}

}  // namespace

void TellUnsavedSettings(const std::string& language, const std::string& saveError, bool userClosed) {
  if (saveError.empty()) return;
  const std::wstring notice = Wide(UnsavedSettingsNotice(language, saveError));
  if (userClosed) {
    MessageBoxW(nullptr, notice.c_str(), kProgramName, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    return;
  }
  ReportToEventLog(notice);
}

}  // namespace volumetra
