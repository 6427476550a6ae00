#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace volumetra {

/// The file-system name shown for a mount of type `type` (as mountinfo names it), in the style of
/// Windows: the type in upper case ("EXT4", "BTRFS", "NFS4"), FUSE types without their "fuse."
/// prefix ("SSHFS"), and the Windows names of the file systems Windows knows ("FAT", "FAT32",
/// "exFAT", "NTFS", "CDFS"). `totalBlocks` (statvfs f_blocks, which counts clusters on FAT) tells
/// FAT32 from FAT12/16 by the cluster count, as the FAT format itself does.
std::string FileSystemDisplayName(std::string_view type, std::uint64_t totalBlocks);

/// GetVolumeInformationA flags for a file system of type `type`: case-sensitive search and
/// case-preserved names (only the latter on the FAT family), and read-only volume.
std::int32_t FileSystemFlags(std::string_view type, bool readOnly);

}  // namespace volumetra
