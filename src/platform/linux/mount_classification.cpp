#include "platform/linux/mount_classification.h"

#include <libmount.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace volumetra {
namespace {

using namespace std::string_view_literals;

// Read-only image layers: snap packages, live media, container layers.
constexpr std::array kImageTypes = {"squashfs"sv, "overlay"sv, "aufs"sv};

constexpr std::array kRamTypes = {"tmpfs"sv, "ramfs"sv};

// Network file systems libmount does not name as such.
constexpr std::array kNetworkTypes = {"ceph"sv, "lustre"sv,   "virtiofs"sv, "vboxsf"sv, "davfs"sv,
                                      "coda"sv, "orangefs"sv, "beegfs"sv,   "gpfs"sv};

// Disks shared by a cluster: local block devices whose calls wait for locks held by other machines.
constexpr std::array kClusterTypes = {"gfs2"sv, "ocfs2"sv};

// FUSE file systems (the part of the type after "fuse.") that reach other machines, beyond those
// libmount names.
constexpr std::array kNetworkFuseTypes = {"rclone"sv,    "s3fs"sv,      "gcsfuse"sv,
                                          "ceph-fuse"sv, "glusterfs"sv, "davfs2"sv};

// FUSE helpers of desktops and containers that are not drives. libmount's list of pseudo file
// systems is not used for FUSE: it also names bare "fuse" and FUSE file systems that only hide
// their source (encfs, archivemount), which hold a user's files.
constexpr std::array kPseudoFuseTypes = {"lxcfs"sv,    "portal"sv,     "gvfsd-fuse"sv,
                                         "snapfuse"sv, "squashfuse"sv, "squashfuse_ll"sv};

// Areas of the directory tree that belong to the system: nothing mounted there is a drive.
constexpr std::array kSystemAreas = {"/proc"sv,
                                     "/sys"sv,
                                     "/dev"sv,
                                     "/boot"sv,
                                     "/snap"sv,
                                     "/var/lib/snapd"sv,
                                     "/var/lib/docker"sv,
                                     "/var/lib/containers"sv,
                                     "/var/lib/kubelet"sv};

// Local file systems whose source names a pool or dataset rather than a device node.
constexpr std::array kDeviceLessDiskTypes = {"zfs"sv};

// The run-time area: a RAM file system there is the system's, not a RAM disk of the user.
constexpr std::string_view kRunArea = "/run";

constexpr std::string_view kFusePrefix = "fuse.";

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& table, std::string_view value) {
  return std::find(table.begin(), table.end(), value) != table.end();
}

bool IsWithin(std::string_view path, std::string_view area) {
  return path.starts_with(area) && (path.size() == area.size() || path[area.size()] == '/');
}

bool IsFuse(std::string_view type) {
  return type == "fuse" || type == "fuseblk" || type.starts_with(kFusePrefix);
}

std::string_view FuseSubtype(std::string_view type) {
  return type.starts_with(kFusePrefix) ? type.substr(kFusePrefix.size()) : std::string_view{};
}

// "host:/path", "user@host:", "remote:" and URLs name a remote source; paths and bare words do not.
bool LooksRemote(std::string_view source) {
  return !source.starts_with('/') && source.find(':') != std::string_view::npos;
}

bool IsNetwork(const MountEntry& entry) {
  const std::string& type = entry.fileSystemType;
  if (Contains(kNetworkTypes, type)) return true;
  if (IsFuse(type))
    return mnt_fstype_is_netfs(type.c_str()) || Contains(kNetworkFuseTypes, FuseSubtype(type)) ||
           LooksRemote(entry.source);
  // libmount also names the NFS server's control file system, which serves no files.
  return mnt_fstype_is_netfs(type.c_str()) && !mnt_fstype_is_pseudofs(type.c_str());
}

// Kernel interfaces and helpers that are never drives, wherever they are mounted.
bool IsPseudo(const std::string& type) {
  return mnt_fstype_is_pseudofs(type.c_str());
}

bool IsRam(const MountEntry& entry) {
  return Contains(kRamTypes, entry.fileSystemType);
}

MountKind ClassifyRoot(const MountEntry& entry) {
  if (IsNetwork(entry)) return MountKind::Network;
  if (IsRam(entry)) return MountKind::RamDisk;
  return MountKind::Local;
}

}  // namespace

MountKind ClassifyMount(const MountEntry& entry) {
  const std::string_view type = entry.fileSystemType;
  const std::string_view mountPoint = entry.mountPoint;
  if (mountPoint == "/") return ClassifyRoot(entry);
  if (Contains(kImageTypes, type) || entry.mountsFile) return MountKind::NotADrive;
  if (std::any_of(kSystemAreas.begin(), kSystemAreas.end(),
                  [&](auto area) { return IsWithin(mountPoint, area); }))
    return MountKind::NotADrive;
  if (IsRam(entry)) return IsWithin(mountPoint, kRunArea) ? MountKind::NotADrive : MountKind::RamDisk;
  if (IsNetwork(entry)) return MountKind::Network;
  if (IsFuse(type))
    return Contains(kPseudoFuseTypes, FuseSubtype(type)) ? MountKind::NotADrive : MountKind::Local;
  if (IsPseudo(entry.fileSystemType)) return MountKind::NotADrive;
  if (entry.source.starts_with("/dev/") || Contains(kDeviceLessDiskTypes, type)) return MountKind::Local;
  return MountKind::NotADrive;
}

bool MayHang(const MountEntry& entry) {
  return IsNetwork(entry) || IsFuse(entry.fileSystemType) || Contains(kClusterTypes, entry.fileSystemType);
}

}  // namespace volumetra
