#pragma once

#include <array>
#include <cstdint>

#include "platform/clock_service.h"
#include "platform/notification_service.h"
#include "platform/volume_service.h"
#include "probe/module1.h"
#include "report/report_state.h"

namespace volumetra {

/// What a low-space notice is told with: the services it asks and the one it tells.
struct LowSpaceNoticeServices {
  ClockService& clock;
  VolumeService& volumes;
  NotificationService& notifications;
};

/// When a drive that ran low on space is told of again. The free space must first rise clear of
/// the alarm limit, by a share of the limit but at least a floor, so that a drive whose free space
/// wobbles around the limit (logs, caches, temporary files) is told of once, not at every survey;
/// and however often it crosses, one drive is told of at most once per gap.
struct LowSpaceNoticeTiming {
  double marginShare;         ///< of the alarm limit
  double minimumMarginMB;     ///< the margin's floor
  std::int64_t minimumGapMs;  ///< between two notifications of one drive
};
inline constexpr LowSpaceNoticeTiming kLowSpaceNoticeTiming{0.10, 1.0, 10 * 60 * 1000};

/// The notification part of a drive's low-space alarm, run for every drive at every survey right
/// after the alarm step; `alarmApplies` is that step's verdict. Shows one desktop notification when
/// the alarm applies to `d` while the alarm colours or the alarm beep are on, the drive's
/// notification is armed and the gap since its last one has passed. A drive whose space is not
/// known (total 0) is neither told of nor re-armed. `memory` holds each letter's state, from A.
void NoticeLowSpace(const Module1& m, std::array<LowSpaceNoticeMemory, 26>& memory,
                    const LowSpaceNoticeServices& os, const DriveRec& d, bool alarmApplies);

}  // namespace volumetra
