#include "platform/linux/raw_volume_calls.h"

#include <blkid/blkid.h>
#include <sys/statvfs.h>

#include <cstring>

namespace volumetra {
namespace {

std::string LookUpProbeValue(blkid_probe probe, const char* name) {
  const char* value = nullptr;
  std::size_t length = 0;
  if (blkid_probe_lookup_value(probe, name, &value, &length) != 0 || value == nullptr) return {};
  return std::string(value, strnlen(value, length));
}

}  // namespace

bool StatFileSystemNow(const std::string& path, FileSystemStats& stats) {
  struct statvfs result {};
  if (statvfs(path.c_str(), &result) != 0) return false;
  stats.fragmentSize = result.f_frsize;
  stats.blockSize = result.f_bsize;
  stats.totalBlocks = result.f_blocks;
  stats.availableBlocks = result.f_bavail;
  stats.fileSystemId = result.f_fsid;
  stats.maxNameLength = result.f_namemax;
  stats.readOnly = (result.f_flag & ST_RDONLY) != 0;
  return true;
}

std::optional<BlockIdentity> ProbeBlockDeviceNow(const std::string& path) {
  blkid_probe probe = blkid_new_probe_from_filename(path.c_str());
  if (probe == nullptr) return std::nullopt;
  blkid_probe_enable_superblocks(probe, 1);
  blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID);
  const int found = blkid_do_safeprobe(probe);
  std::optional<BlockIdentity> identity;
  if (found == 0) identity = BlockIdentity{LookUpProbeValue(probe, "LABEL"), LookUpProbeValue(probe, "UUID")};
  if (found == 1) identity = BlockIdentity{};  // readable, but no known file system on it
  blkid_free_probe(probe);
  return identity;
}

}  // namespace volumetra
