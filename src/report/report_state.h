#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace volumetra {

/// What the low-space notifications remember of one drive letter (report/low_space_notices.h).
struct LowSpaceNoticeMemory {
  /// A notification may be shown when the alarm applies: true at start and again once the free
  /// space has risen clear of the limit.
  bool armed = true;
  /// When the last one was shown, on the steady clock.
  std::optional<std::int64_t> shownAtMs;
};

/// What the report cycle remembers from one survey to the next, beside the shared state.
struct ReportState {
  // Why the last log write failed; empty while the log is written fine.
  std::string LogError;
  // Why the settings cannot be saved, handed over at start; the status line shows it for a while
  // after its first survey, then it is cleared.
  std::string SettingsNotice;
  std::optional<std::int64_t> SettingsNoticeShownAt;
  // The low-space notifications' memory, by drive letter from A.
  std::array<LowSpaceNoticeMemory, 26> LowSpaceNotices{};
};

}  // namespace volumetra
