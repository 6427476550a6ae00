#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/call_channel.h"
#include "platform/call_guard.h"
#include "platform/win32/volume_calls.h"

namespace volumetra {

/// A volume query of one drive, or the drive map, as one piece of work that can run on a call
/// channel, since a network server that does not answer can hold it (under Wine even the queries
/// of other drives, while one server is dead).
struct DriveCall {
  enum class Kind : std::uint8_t {
    VolumeInformation,  ///< GetVolumeInformationW
    FreeSpace,          ///< GetDiskFreeSpaceW (unless `geometry` is known) and GetDiskFreeSpaceExW
    Discovery,          ///< GetDriveTypeW, the listing, FreeSpace and VolumeInformation
    DriveType,          ///< GetDriveTypeW
    DriveMap,           ///< GetLogicalDrives; `letter` is not used
    RemoteName,         ///< WNetGetConnectionW
  };
  Kind kind = Kind::VolumeInformation;
  char letter = 'C';
  /// FreeSpace: the cluster geometry known since the drive's discovery; without it the call asks it.
  std::optional<DiskGeometry> geometry;

  bool operator==(const DriveCall&) const = default;
};

/// What a DriveCall came back with; the fields of its kind are set.
struct DriveCallResult {
  bool ok = false;    ///< the call was made
  bool lost = false;  ///< its channel broke first (never on a thread)
  std::optional<VolumeInformation> information;
  /// FreeSpace: the geometry and counts of GetDiskFreeSpaceW, and the byte counts when there are any.
  std::optional<DiskGeometry> geometry;
  std::optional<DiskBytes> bytes;
  DriveListing listing;
  std::uint32_t type = 0;
  /// DriveMap: GetLogicalDrives' bits.
  std::uint32_t drives = 0;
  std::string remoteName;
};

/// Makes `call` on the calling thread.
DriveCallResult RunDriveCall(VolumeCalls& calls, const DriveCall& call);

using DriveCallChannel = CallChannel<DriveCall, DriveCallResult>;
using DriveCallGuard = CallGuard<DriveCall, DriveCallResult>;

}  // namespace volumetra
