#include "report/low_space_notices.h"

#include <algorithm>
#include <cctype>

#include "i18n/low_space_notice_text.h"
#include "report/readable_size.h"

namespace volumetra {
namespace {

/// The free space, in thousandths of an MB like the alarm limit, above which a drive's
/// notification is armed again.
double ReArmAbove(std::int32_t alarmLimit) {
  const double margin =
      std::max(alarmLimit * kLowSpaceNoticeTiming.marginShare, kLowSpaceNoticeTiming.minimumMarginMB * 1000);
  return alarmLimit + margin;
}

Notification LowSpaceNotice(const std::string& language, const LowSpaceNoticeServices& os, const DriveRec& d,
                            char letter) {
  const std::string separator = os.clock.DecimalSeparator();
  Notification notice{letter, LowSpaceNoticeTitle(language, d.RootPath.substr(0, 2), d.VolumeName),
                      LowSpaceNoticeAmounts(language, ReadableSize(d.FreeMB, separator),
                                            ReadableSize(d.TotalGB * 1000, separator))};
  const std::string description = os.volumes.DriveDescription(letter);
  if (!description.empty()) notice.body += "\n" + description;
  return notice;
}

}  // namespace

void NoticeLowSpace(const Module1& m, std::array<LowSpaceNoticeMemory, 26>& memory,
                    const LowSpaceNoticeServices& os, const DriveRec& d, bool alarmApplies) {
  if (d.RootPath.empty() || d.TotalGB <= 0) return;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(d.RootPath[0])));
  if (letter < 'A' || letter > 'Z') return;
  LowSpaceNoticeMemory& drive = memory[static_cast<std::size_t>(letter - 'A')];

  if (d.FreeMB * 1000 > ReArmAbove(m.AlarmLimit)) {
    drive.armed = true;
    return;
  }
  if (!alarmApplies || !(m.AlarmColours || m.AlarmBeep) || !drive.armed) return;
  // Within the gap the notification stays armed: it comes when the gap has passed, if the drive
  // is still low then.
  const std::int64_t now = os.clock.SteadyMilliseconds();
  if (drive.shownAtMs && now - *drive.shownAtMs < kLowSpaceNoticeTiming.minimumGapMs) return;
  drive.armed = false;
  drive.shownAtMs = now;
  os.notifications.Notify(LowSpaceNotice(m.Language, os, d, letter));
}

}  // namespace volumetra
