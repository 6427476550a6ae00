#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/call_channel.h"
#include "platform/call_guard.h"
#include "platform/win32/volume_calls.h"

namespace volumetra {

/// A volume query of one drive, as one piece of work: on a network drive it runs on the drive's
/// call channel, since its server may not answer; elsewhere on the calling thread.
struct DriveCall {
  enum class Kind : std::uint8_t {
    VolumeInformation,  ///< GetVolumeInformationA
    FreeSpace,          ///< GetDiskFreeSpaceA (unless `geometry` is known) and GetDiskFreeSpaceExA
    FirstEntry,         ///< the listing of the presence test, FindFirstFileA
    RemoteName,         ///< WNetGetConnectionA
  };
  Kind kind = Kind::VolumeInformation;
  char letter = 'C';
  /// FreeSpace: the cluster geometry known since the drive's discovery; without it the call asks it.
  std::optional<DiskGeometry> geometry;

  bool operator==(const DriveCall&) const = default;
};

/// What a DriveCall came back with; the field of its kind is set.
struct DriveCallResult {
  bool ok = false;    ///< the call was made
  bool lost = false;  ///< its channel broke first (never on a thread)
  std::optional<VolumeInformation> information;
  /// FreeSpace: the geometry and counts of GetDiskFreeSpaceA, and the byte counts when there are any.
  std::optional<DiskGeometry> geometry;
  std::optional<DiskBytes> bytes;
  DriveListing listing;
  std::string remoteName;
};

/// Makes `call` on the calling thread.
DriveCallResult RunDriveCall(VolumeCalls& calls, const DriveCall& call);

using DriveCallChannel = CallChannel<DriveCall, DriveCallResult>;
using DriveCallGuard = CallGuard<DriveCall, DriveCallResult>;

}  // namespace volumetra
