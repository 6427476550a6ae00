#include "platform/linux/drive_type.h"

namespace volumetra {

DriveTypeCode DriveTypeOf(MountKind kind, std::string_view fileSystemType,
                          const std::optional<BlockDevice>& device) {
  switch (kind) {
    case MountKind::NotADrive:
      return kDriveNoRoot;
    case MountKind::Network:
      return kDriveRemote;
    case MountKind::RamDisk:
      return kDriveRamDisk;
    case MountKind::Local:
      break;
  }
  if (fileSystemType == "iso9660" || (device && device->optical)) return kDriveCdRom;
  if (device && device->removable) return kDriveRemovable;
  return kDriveFixed;
}

}  // namespace volumetra
