#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/linux/block_device.h"
#include "platform/linux/drive_type.h"
#include "platform/linux/mount_classification.h"
#include "platform/linux/mount_info.h"
#include "platform/linux/system_calls.h"

namespace volumetra {

/// A mount that is a drive.
struct DriveMount {
  /// Identifies the mount while it stays mounted: mount id and mount point.
  std::string key;
  MountEntry entry;
  MountKind kind = MountKind::Local;
  std::optional<BlockDevice> device;
  DriveTypeCode driveType = kDriveFixed;
  /// Its calls can hang (MayHang): they run under the time limit of a CallGuard.
  bool mayHang = false;
  /// Where the volume lives, for the user: "/media/data  (/dev/sdb1, ext4)"; a bind mount names
  /// the directory it shows after its source, as findmnt does ("/dev/sda2[/srv/data]").
  std::string description;

  bool IsRoot() const { return entry.mountPoint == "/"; }
};

/// The drives among `entries` (a parsed mount table), in mount order. Of several mounts stacked on
/// one mount point only the visible (last) one counts. Looks at sysfs, /dev and the mount points
/// of local file systems; never touches a file system that can hang.
std::vector<DriveMount> SelectDriveMounts(LinuxSystemCalls& system, std::vector<MountEntry> entries);

/// The drives of this process's mount table (/proc/self/mountinfo); nullopt when it cannot be read.
std::optional<std::vector<DriveMount>> ReadDriveMounts(LinuxSystemCalls& system);

}  // namespace volumetra
