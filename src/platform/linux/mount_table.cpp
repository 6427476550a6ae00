#include "platform/linux/mount_table.h"

#include <map>

namespace volumetra {

namespace {
constexpr const char* kMountInfoPath = "/proc/self/mountinfo";

std::string Describe(const MountEntry& entry) {
  std::string source = entry.source;
  if (entry.root != "/") source += "[" + entry.root + "]";
  return entry.mountPoint + "  (" + source + ", " + entry.fileSystemType + ")";
}

}  // namespace

std::vector<DriveMount> SelectDriveMounts(LinuxSystemCalls& system, std::vector<MountEntry> entries) {
  std::map<std::string, std::size_t> visibleAt;
  for (std::size_t i = 0; i < entries.size(); ++i) visibleAt[entries[i].mountPoint] = i;

  std::vector<DriveMount> drives;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    MountEntry& entry = entries[i];
    if (visibleAt[entry.mountPoint] != i) continue;
    MountKind kind = ClassifyMount(entry);
    const bool mayHang = MayHang(entry);
    if (kind != MountKind::NotADrive && entry.mountPoint != "/" && !mayHang) {
      entry.mountsFile = !system.IsDirectory(entry.mountPoint);
      kind = ClassifyMount(entry);
    }
    if (kind == MountKind::NotADrive) continue;
    DriveMount drive;
    drive.key = std::to_string(entry.mountId) + " " + entry.mountPoint;
    drive.kind = kind;
    drive.mayHang = mayHang;
    drive.device = ResolveBlockDevice(system, entry);
    drive.driveType = DriveTypeOf(kind, entry.fileSystemType, drive.device);
    drive.description = Describe(entry);
    drive.entry = std::move(entry);
    drives.push_back(std::move(drive));
  }
  return drives;
}

std::optional<std::vector<DriveMount>> ReadDriveMounts(LinuxSystemCalls& system) {
  const std::optional<std::string> text = system.ReadTextFile(kMountInfoPath);
  if (!text) return std::nullopt;
  return SelectDriveMounts(system, ParseMountInfo(*text));
}

}  // namespace volumetra
