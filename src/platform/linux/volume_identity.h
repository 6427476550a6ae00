#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/mount_table.h"
#include "platform/linux/system_calls.h"

namespace volumetra {

/// What tells one volume from another: its label and its 32-bit serial number.
struct VolumeIdentity {
  std::string label;
  std::uint32_t serialNumber = 0;
};

/// Decodes the \xHH escapes udev writes into /dev/disk/by-label names ("My\x20Disk" -> "My Disk").
std::string DecodeUdevEscapes(std::string_view name);

/// The serial number in a file-system UUID, as Windows shows it for the same volume: the UUID's
/// hex digits read as one number, of which an 8-digit one (FAT, exFAT: "1A2B-3C4D") is taken
/// whole, a 16-digit one (NTFS) gives its last 8 digits, and any other (ext4, btrfs, XFS ...) its
/// first 8. nullopt for fewer than 8 hex digits.
std::optional<std::uint32_t> SerialFromUuid(std::string_view uuid);

/// Label and serial number of a mounted volume. The label comes from /dev/disk/by-label, or from
/// libblkid when udev does not know the device; the serial from the UUID found the same way, else
/// from statvfs's file-system id (both halves folded by XOR), else from the device number. Mounts
/// of one file system (bind mounts) get the same answer. Can block where libblkid reads the medium.
VolumeIdentity LookUpIdentity(LinuxSystemCalls& system, const DriveMount& drive,
                              const FileSystemStats& stats);

}  // namespace volumetra
