#include "platform/linux/linux_volumes.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <set>

#include "platform/linux/cluster_counts.h"
#include "platform/linux/file_system_traits.h"
#include "platform/volume_buffer.h"

namespace volumetra {
namespace {

constexpr char kRootLetter = 'C';

// Everything GetVolumeInformation reports, gathered in one query.
struct VolumeFacts {
  VolumeIdentity identity;
  std::int32_t maxNameLength = 0;
  std::int32_t flags = 0;
  std::string fileSystemName;
};

// `known` is the identity looked up earlier for this mount; without it the lookup is made.
std::optional<VolumeFacts> GatherVolumeFacts(LinuxSystemCalls& system, const DriveMount& drive,
                                             const std::optional<VolumeIdentity>& known) {
  FileSystemStats stats;
  if (!system.StatFileSystem(drive.entry.mountPoint, stats)) return std::nullopt;
  VolumeFacts facts;
  facts.identity = known ? *known : LookUpIdentity(system, drive, stats);
  facts.maxNameLength = static_cast<std::int32_t>(
      std::min<std::uint64_t>(stats.maxNameLength, std::numeric_limits<std::int32_t>::max()));
  facts.flags = FileSystemFlags(drive.entry.fileSystemType, stats.readOnly);
  facts.fileSystemName = FileSystemDisplayName(drive.entry.fileSystemType, stats.totalBlocks);
  return facts;
}

std::optional<FileSystemStats> StatsOf(LinuxSystemCalls& system, const DriveMount& drive) {
  FileSystemStats stats;
  if (!system.StatFileSystem(drive.entry.mountPoint, stats)) return std::nullopt;
  return stats;
}

}  // namespace

LinuxVolumes::LinuxVolumes(std::shared_ptr<LinuxSystemCalls> system, std::chrono::milliseconds callLimit,
                           std::chrono::milliseconds coolDown, CallGuard::SteadyClock clock)
    : system_(std::move(system)), guard_(callLimit, coolDown, std::move(clock)) {}

void LinuxVolumes::ReadMountTable() {
  tableRead_ = true;
  std::optional<std::vector<DriveMount>> mounts = ReadDriveMounts(*system_);
  if (!mounts) return;  // keep the drives last seen rather than lose them all to one failed read

  std::vector<std::string> keys;
  std::map<std::string, DriveMount> byKey;
  std::optional<DriveMount> root;
  for (DriveMount& drive : *mounts) {
    if (drive.IsRoot()) {
      root = std::move(drive);
      continue;
    }
    keys.push_back(drive.key);
    byKey[drive.key] = std::move(drive);
  }
  letters_ = AssignDriveLetters(letters_, keys);

  drives_.clear();
  std::set<std::string> inUse;
  if (root) {
    inUse.insert(root->key);
    drives_[kRootLetter] = std::move(*root);
  }
  for (const auto& [letter, key] : letters_) {
    inUse.insert(key);
    drives_[letter] = std::move(byKey[key]);
  }
  guard_.RetireAllBut(inUse);
  identities_.clear();  // looked up again at next use, so a relabelled volume shows its new label
}

const DriveMount* LinuxVolumes::DriveFor(char letter) {
  if (!tableRead_) ReadMountTable();
  const auto it = drives_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  return it == drives_.end() ? nullptr : &it->second;
}

// Root paths are a letter and a colon, usually followed by a backslash: "C:\".
const DriveMount* LinuxVolumes::DriveForRootPath(const std::string& rootPath) {
  if (rootPath.size() < 2 || rootPath[1] != ':') return nullptr;
  return DriveFor(rootPath[0]);
}

// Mounts that cannot hang are asked on the calling thread. The others, and lookups that may read
// the medium, run on the guard's worker of the mount, on copies of everything they touch. A call
// the guard cut off or refused is no answer; a query that ran and found nothing is a failure.
template <typename Query>
std::invoke_result_t<Query&, LinuxSystemCalls&, const DriveMount&> LinuxVolumes::RunQuery(
    const DriveMount& drive, bool readsMedium, Query query, VolumeAnswer& answer) {
  using Result = std::invoke_result_t<Query&, LinuxSystemCalls&, const DriveMount&>;
  Result result;
  answer = VolumeAnswer::NoAnswer;
  if (!drive.mayHang && !readsMedium) {
    if (!guard_.RunHere(drive.key, [&] { result = query(*system_, drive); })) return std::nullopt;
  } else {
    auto shared = std::make_shared<Result>();
    auto call = [system = system_, mount = drive, query = std::move(query), shared] {
      *shared = query(*system, mount);
    };
    if (!guard_.Run(drive.key, std::move(call))) return std::nullopt;
    result = std::move(*shared);
  }
  answer = result ? VolumeAnswer::Answered : VolumeAnswer::Failed;
  return result;
}

VolumeAnswer LinuxVolumes::GetVolumeInformation(const std::string& rootPath, std::string& volumeNameBuffer,
                                                std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                                                std::int32_t& fileSystemFlags,
                                                std::string& fileSystemNameBuffer) {
  const DriveMount* drive = DriveForRootPath(rootPath);
  if (!drive) return VolumeAnswer::Failed;
  std::optional<VolumeIdentity> known;
  if (const auto it = identities_.find(drive->key); it != identities_.end()) known = it->second;
  // Only a lookup on a block device can probe it; the others read nothing that can hang.
  const bool readsMedium = !known && drive->device.has_value();
  VolumeAnswer answer = VolumeAnswer::Failed;
  const std::optional<VolumeFacts> facts = RunQuery(
      *drive, readsMedium,
      [known](LinuxSystemCalls& system, const DriveMount& mount) {
        return GatherVolumeFacts(system, mount, known);
      },
      answer);
  if (!facts) return answer;
  if (!known) identities_[drive->key] = facts->identity;
  CopyIntoBuffer(facts->identity.label, volumeNameBuffer);
  CopyIntoBuffer(facts->fileSystemName, fileSystemNameBuffer);
  serialNumber = static_cast<std::int32_t>(facts->identity.serialNumber);
  maxComponentLength = facts->maxNameLength;
  fileSystemFlags = facts->flags;
  return VolumeAnswer::Answered;
}

VolumeAnswer LinuxVolumes::GetDiskFreeSpace(const std::string& rootPath, std::int32_t& sectorsPerCluster,
                                            std::int32_t& bytesPerSector, std::int32_t& freeClusters,
                                            std::int32_t& totalClusters) {
  const DriveMount* drive = DriveForRootPath(rootPath);
  if (!drive) return VolumeAnswer::Failed;
  VolumeAnswer answer = VolumeAnswer::Failed;
  const std::optional<FileSystemStats> stats = RunQuery(*drive, false, StatsOf, answer);
  if (!stats) return answer;
  const std::optional<ClusterCounts> counts = ToClusterCounts(*stats);
  if (!counts) return VolumeAnswer::Failed;
  sectorsPerCluster = counts->sectorsPerCluster;
  bytesPerSector = counts->bytesPerSector;
  freeClusters = counts->freeClusters;
  totalClusters = counts->totalClusters;
  return VolumeAnswer::Answered;
}

int LinuxVolumes::GetDriveType(const std::string& rootPath) {
  const DriveMount* drive = DriveForRootPath(rootPath);
  return drive ? drive->driveType : kDriveNoRoot;
}

DrivePresence LinuxVolumes::ListDrive(char letter) {
  if (std::toupper(static_cast<unsigned char>(letter)) == kRootLetter) ReadMountTable();
  return DriveFor(letter) ? DrivePresence::Named : DrivePresence::Empty;
}

std::string LinuxVolumes::MountPointOf(char letter) {
  const DriveMount* drive = DriveFor(letter);
  return drive ? drive->entry.mountPoint : std::string();
}

}  // namespace volumetra
