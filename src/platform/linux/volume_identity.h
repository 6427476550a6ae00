#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/drive_letters.h"
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

/// The label and UUID of the file system of `drive` as udev names them (its /dev/disk/by-uuid and
/// by-label links), found without reading the medium. Empty texts for a drive without a block
/// device, or whose device has no node to probe. nullopt when udev does not know the device: only
/// libblkid, reading the medium at `drive.device->path`, can tell then.
std::optional<BlockIdentity> UdevIdentity(LinuxSystemCalls& system, const DriveMount& drive);

/// Label and serial number of a mounted volume, from the label and UUID found for it: the serial
/// from the UUID, else from statvfs's file-system id (both halves folded by XOR), else from the
/// device number. Mounts of one file system (bind mounts) get the same answer.
VolumeIdentity IdentityOf(const DriveMount& drive, const BlockIdentity& found, const FileSystemStats& stats);

/// How the letter file knows the volume of `drive` again: its UUID where udev names it, its
/// source (a loop device by its image file), the mounted directory and the mount point. Reads
/// /dev and /sys only.
KnownVolume KnownVolumeOf(LinuxSystemCalls& system, const DriveMount& drive);

}  // namespace volumetra
