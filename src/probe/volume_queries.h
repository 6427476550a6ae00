#pragma once

#include <cstdint>
#include <string>

#include "platform/clock_service.h"
#include "platform/volume_service.h"
#include "probe/module1.h"

namespace volumetra {

/// The characters before the first NUL, or the whole text when it has none.
std::string TrimAtNul(const std::string& text);

/// Asks for the volume's label, serial number, name length, flags and file-system name, and judges
/// the call's duration by the seconds field of the clock: a call of 4 seconds or more marks the
/// drive as timed out, an answer in time clears its mark. After a failed call the texts are 255
/// spaces and the numbers 0. A volume that gives no answer at all (see VolumeAnswer) is marked as
/// timed out whatever the clock says, and false is returned: nothing is known of it.
bool GetVolumeInfo(Module1& m, VolumeService& volumes, ClockService& clock, const std::string& rootPath,
                   std::string& volumeName, std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                   std::int32_t& fileSystemFlags, std::string& fileSystemName);

/// Free space in MB, or -1.0 when the query fails; sets LastTotalGB (0 on failure). A volume that
/// gives no answer is marked as timed out and `answered`, when given, is set to false.
double GetFreeSpaceMB(Module1& m, VolumeService& volumes, const std::string& rootPath,
                      bool* answered = nullptr);

/// The short type name of a drive-type code: "Rem", "HD", "Net", "CD", "Ram", else "???".
std::string DriveTypeName(std::int32_t typeCode);

/// Whether a call that began at second `t0` and ended at second `t1` of the minute was too slow.
bool IsTimedOut(int t0, int t1);

}  // namespace volumetra
