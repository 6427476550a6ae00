#pragma once

#include <optional>
#include <string>

#include "platform/linux/mount_info.h"
#include "platform/linux/system_calls.h"

namespace volumetra {

/// The block device behind a mount, as sysfs describes it.
struct BlockDevice {
  DeviceNumber number;
  std::string path;        ///< device node ("/dev/sdb1"); empty when unknown
  bool removable = false;  ///< the disk (the parent disk of a partition) says it is removable
  bool optical = false;    ///< a CD/DVD drive (sr*)
  /// The image file a loop device shows ("/srv/images/data.img"); empty for other devices.
  std::string backingFile;
};

/// The block device a mount lives on: the mount's own device number, or for file systems that
/// report an anonymous device (btrfs, fuseblk) the device node named as the source. nullopt for
/// file systems without a block device. Reads only /sys and /dev, which never block.
std::optional<BlockDevice> ResolveBlockDevice(LinuxSystemCalls& system, const MountEntry& entry);

}  // namespace volumetra
