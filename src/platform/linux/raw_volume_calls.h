#pragma once

#include <optional>
#include <string>

#include "platform/linux/system_calls.h"

namespace volumetra {

/// statvfs(path) into `stats`; false when it fails. Blocks for as long as the file system's server
/// does not answer.
bool StatFileSystemNow(const std::string& path, FileSystemStats& stats);

/// Label and UUID that libblkid reads from the superblock of the device or image at `path`;
/// nullopt when it cannot be probed, empty texts when it holds no known file system. Reads the
/// medium.
std::optional<BlockIdentity> ProbeBlockDeviceNow(const std::string& path);

}  // namespace volumetra
