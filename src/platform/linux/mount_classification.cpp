#include "platform/linux/mount_classification.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace volumetra {
namespace {

using namespace std::string_view_literals;

// Kernel interfaces and helpers that are never drives, wherever they are mounted.
constexpr std::array kPseudoTypes = {
    "proc"sv,    "sysfs"sv,       "cgroup"sv,     "cgroup2"sv, "devpts"sv,   "devtmpfs"sv,  "debugfs"sv,
    "tracefs"sv, "securityfs"sv,  "pstore"sv,     "bpf"sv,     "mqueue"sv,   "hugetlbfs"sv, "configfs"sv,
    "fusectl"sv, "binfmt_misc"sv, "rpc_pipefs"sv, "nsfs"sv,    "efivarfs"sv, "autofs"sv,    "selinuxfs"sv,
    "nfsd"sv,    "pipefs"sv,      "sockfs"sv,     "rootfs"sv,
};

// Read-only image layers: snap packages, live media, container layers.
constexpr std::array kImageTypes = {"squashfs"sv, "overlay"sv, "aufs"sv};

constexpr std::array kRamTypes = {"tmpfs"sv, "ramfs"sv};

constexpr std::array kNetworkTypes = {
    "nfs"sv,    "nfs4"sv,  "cifs"sv,      "smb3"sv,     "smbfs"sv,  "ncpfs"sv,
    "afs"sv,    "ceph"sv,  "glusterfs"sv, "lustre"sv,   "9p"sv,     "virtiofs"sv,
    "vboxsf"sv, "davfs"sv, "coda"sv,      "orangefs"sv, "beegfs"sv, "gpfs"sv,
};

// Disks shared by a cluster: local block devices whose calls wait for locks held by other machines.
constexpr std::array kClusterTypes = {"gfs2"sv, "ocfs2"sv};

// FUSE file systems (the part of the type after "fuse.") that reach other machines.
constexpr std::array kNetworkFuseTypes = {"sshfs"sv,     "rclone"sv,    "s3fs"sv,      "gcsfuse"sv,
                                          "curlftpfs"sv, "ceph-fuse"sv, "glusterfs"sv, "davfs2"sv};

// FUSE helpers of desktops and containers that are not drives.
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
  const std::string_view type = entry.fileSystemType;
  if (Contains(kNetworkTypes, type)) return true;
  return IsFuse(type) && (Contains(kNetworkFuseTypes, FuseSubtype(type)) || LooksRemote(entry.source));
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
  if (Contains(kPseudoTypes, type) || Contains(kImageTypes, type) || entry.mountsFile)
    return MountKind::NotADrive;
  if (std::any_of(kSystemAreas.begin(), kSystemAreas.end(),
                  [&](auto area) { return IsWithin(mountPoint, area); }))
    return MountKind::NotADrive;
  if (IsRam(entry)) return IsWithin(mountPoint, kRunArea) ? MountKind::NotADrive : MountKind::RamDisk;
  if (IsNetwork(entry)) return MountKind::Network;
  if (IsFuse(type))
    return Contains(kPseudoFuseTypes, FuseSubtype(type)) ? MountKind::NotADrive : MountKind::Local;
  if (entry.source.starts_with("/dev/") || Contains(kDeviceLessDiskTypes, type)) return MountKind::Local;
  return MountKind::NotADrive;
}

bool MayHang(const MountEntry& entry) {
  return IsNetwork(entry) || IsFuse(entry.fileSystemType) || Contains(kClusterTypes, entry.fileSystemType);
}

}  // namespace volumetra
