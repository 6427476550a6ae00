#pragma once

#include <optional>
#include <string_view>

#include "platform/linux/block_device.h"
#include "platform/linux/mount_classification.h"

namespace volumetra {

/// The codes of GetDriveTypeA.
enum DriveTypeCode : int {
  kDriveUnknown = 0,
  kDriveNoRoot = 1,
  kDriveRemovable = 2,
  kDriveFixed = 3,
  kDriveRemote = 4,
  kDriveCdRom = 5,
  kDriveRamDisk = 6,
};

/// The drive type of a mount of kind `kind`: optical media (a CD drive, or an ISO 9660 image) are
/// CD-ROMs, removable disks removable, other local file systems fixed disks.
DriveTypeCode DriveTypeOf(MountKind kind, std::string_view fileSystemType,
                          const std::optional<BlockDevice>& device);

}  // namespace volumetra
