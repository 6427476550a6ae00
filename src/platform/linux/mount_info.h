#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/system_calls.h"

namespace volumetra {

/// One line of /proc/self/mountinfo, with the octal escapes of its paths decoded.
struct MountEntry {
  int mountId = 0;
  int parentId = 0;
  DeviceNumber device;         ///< st_dev of files on this mount (major 0 for virtual file systems)
  std::string root;            ///< the directory of the file system that is mounted here
  std::string mountPoint;      ///< where it is mounted, relative to the process's root
  std::string fileSystemType;  ///< "ext4", "nfs4", "fuse.sshfs", ...
  std::string source;          ///< "/dev/sda1", "server:/export", "tmpfs", ...
  /// The mount point is a file, not a directory (a bind mount of a single file). Not part of
  /// mountinfo: the mount table reader fills it in.
  bool mountsFile = false;
};

/// Parses the text of /proc/self/mountinfo with libmount. Lines that do not have the documented
/// shape are skipped. Entries keep the order of the text, which is the order of mounting.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

}  // namespace volumetra
