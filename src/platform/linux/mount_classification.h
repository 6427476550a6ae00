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

/// True for mounts whose calls can hang on an unreachable server, process or cluster peer:
/// network file systems, every FUSE file system (its daemon can stop answering, even for a local
/// disk such as ntfs-3g) and shared-disk cluster file systems. Nothing may touch them outside the
/// guarded calls. Block-device, RAM and other local file systems answer from the kernel.
bool MayHang(const MountEntry& entry);

}  // namespace volumetra
