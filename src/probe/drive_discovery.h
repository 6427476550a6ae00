#pragma once

#include "probe/probe_context.h"

namespace volumetra {

/// Rebuilds DriveLetters from the letters C to Z in use and MaxFreeMB from their free space, then
/// drops double mappings and CD-ROM drives when the settings ask for it, judging them by records
/// that a probe pass over the new list has just refreshed.
void DiscoverDrives(const ProbeContext& probe);

/// One scan that drops the higher letter of two that show the same volume, re-probing after each
/// removal.
void RemoveDoubleMappings(const ProbeContext& probe);

}  // namespace volumetra
