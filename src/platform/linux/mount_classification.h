#pragma once

#include "platform/linux/mount_info.h"

namespace volumetra {

/// What a mount is to a user who thinks in drive letters.
enum class MountKind {
  NotADrive,  ///< pseudo and system file systems, image layers, single-file mounts, /boot
  Local,      ///< a disk-like file system: block device, local FUSE, the root overlay
  Network,    ///< a file system served by another machine
  RamDisk,    ///< tmpfs or ramfs outside the system's own run-time areas
};

/// Classifies one mount by its type, source and mount point. The root file system ("/") is
/// always a drive.
MountKind ClassifyMount(const MountEntry& entry);

/// True for mounts whose calls can hang on an unreachable server or process (network and FUSE
/// file systems): nothing may touch them outside the guarded calls.
bool MayHang(const MountEntry& entry);

}  // namespace volumetra
