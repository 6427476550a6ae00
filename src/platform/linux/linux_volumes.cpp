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

char Upper(char letter) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

/// The place of a drive letter, in either case, among A to Z; nullopt for any other character.
std::optional<std::size_t> LetterIndex(char letter) {
  const char upper = Upper(letter);
  if (upper < 'A' || upper > 'Z') return std::nullopt;
  return static_cast<std::size_t>(upper - 'A');
}

HangingCall StatCall(const DriveMount& drive) {
  return {HangingCall::Kind::StatFileSystem, drive.entry.mountPoint};
}

HangingCall ProbeCall(const DriveMount& drive) {
  return {HangingCall::Kind::ProbeBlockDevice, drive.device ? drive.device->path : std::string()};
}

// A declined question asked nothing: to the program the volume gave nothing, and it is not
// counted as timed out again, so that it is asked as soon as its time-out mark is cleared.
VolumeAnswer ToAnswer(HangingCallGuard::Outcome outcome) {
  return outcome == HangingCallGuard::Outcome::NoAnswer ? VolumeAnswer::NoAnswer : VolumeAnswer::Failed;
}

}  // namespace

LinuxVolumes::LinuxVolumes(std::shared_ptr<LinuxSystemCalls> system, LinuxVolumesOptions options)
    : system_(std::move(system)),
      letterFile_(std::move(options.letterFile)),
      guard_([system = system_](const std::string& key) { return system->OpenCallChannel(key); },
             options.callLimit, std::move(options.clock)) {}

void LinuxVolumes::ReadMountTable() {
  if (!tableRead_ && !letterFile_.empty()) known_ = ReadLetterFile(letterFile_).value_or(KnownLetters{});
  tableRead_ = true;
  std::optional<std::vector<DriveMount>> mounts = ReadDriveMounts(*system_);
  if (!mounts) return;  // keep the drives last seen rather than lose them all to one failed read

  std::map<std::string, KnownVolume> volumes;
  std::vector<LetterRequest> requests;
  std::map<std::string, DriveMount> byKey;
  std::optional<DriveMount> root;
  for (DriveMount& drive : *mounts) {
    if (drive.IsRoot()) {
      root = std::move(drive);
      continue;
    }
    const auto seen = volumes_.find(drive.key);
    KnownVolume& volume = volumes[drive.key] =
        seen != volumes_.end() ? seen->second : KnownVolumeOf(*system_, drive);
    requests.push_back({drive.key, volume});
    byKey[drive.key] = std::move(drive);
  }
  const KnownLetters before = known_;
  letters_ = AssignDriveLetters(letters_, requests, known_);
  if (known_ != before && !letterFile_.empty()) WriteLetterFile(letterFile_, known_);

  drives_.clear();
  volumes_.clear();
  std::set<std::string> inUse;
  if (root) {
    inUse.insert(root->key);
    drives_[kRootLetter] = std::move(*root);
  }
  for (const auto& [letter, key] : letters_) {
    inUse.insert(key);
    volumes_[key] = std::move(volumes[key]);
    drives_[letter] = std::move(byKey[key]);
  }
  guard_.RetireAllBut(inUse);
  std::erase_if(lastAnswers_, [&](const auto& last) { return !inUse.contains(last.first); });
  identities_.clear();  // looked up again at next use, so a relabelled volume shows its new label
}

// Drive discovery asks the free space of every letter next, outside any probe pass.
void LinuxVolumes::StartDiscoveryRound() {
  guard_.DropAhead();
  passLetters_.reset();
  passAnswers_.fill(std::nullopt);
}

void LinuxVolumes::BeginProbePass(const std::string& letters) {
  guard_.DropAhead();
  passLetters_.reset();
  passAnswers_.fill(std::nullopt);
  for (char letter : letters) {
    const DriveMount* drive = DriveFor(letter);
    if (!drive) continue;
    passLetters_.set(*LetterIndex(letter));
    if (!MayCall(*drive, true)) continue;
    if (drive->mayHang) guard_.StartAhead(drive->key, StatCall(*drive), true);
    if (identities_.contains(drive->key)) continue;
    if (std::optional<BlockIdentity> known = UdevIdentity(*system_, *drive)) {
      identities_[drive->key] = std::move(*known);
    } else {
      guard_.StartAhead(drive->key, ProbeCall(*drive), true);
    }
  }
}

const DriveMount* LinuxVolumes::DriveFor(char letter) {
  if (!tableRead_) ReadMountTable();
  const auto it = drives_.find(Upper(letter));
  return it == drives_.end() ? nullptr : &it->second;
}

// Root paths are a letter and a colon, usually followed by a backslash: "C:\".
const DriveMount* LinuxVolumes::DriveForRootPath(const std::string& rootPath) {
  if (rootPath.size() < 2 || rootPath[1] != ':') return nullptr;
  return DriveFor(rootPath[0]);
}

bool LinuxVolumes::Reasks(const std::string& rootPath) const {
  if (rootPath.empty()) return false;
  const std::optional<std::size_t> index = LetterIndex(rootPath[0]);
  return index && passLetters_.test(*index);
}

// Mounts that cannot hang are asked on the calling thread, unless a hanging call of theirs (a
// probe of the medium) holds them back; the others through the guard, or, for drive discovery,
// from their last answer.
VolumeAnswer LinuxVolumes::StatDrive(const DriveMount& drive, bool reask, FileSystemStats& stats) {
  if (!drive.mayHang) {
    const HangingCallGuard::Outcome admitted = guard_.Admit(drive.key, reask);
    if (admitted != HangingCallGuard::Outcome::Done) return ToAnswer(admitted);
    return system_->StatFileSystem(drive.entry.mountPoint, stats) ? VolumeAnswer::Answered
                                                                  : VolumeAnswer::Failed;
  }
  if (!MayCall(drive, reask)) {
    const auto last = lastAnswers_.find(drive.key);
    if (last == lastAnswers_.end()) return VolumeAnswer::Failed;
    stats = last->second;
    return VolumeAnswer::Answered;
  }
  HangingCallResult result;
  const HangingCallGuard::Outcome outcome = guard_.Ask(drive.key, StatCall(drive), reask, result);
  if (outcome != HangingCallGuard::Outcome::Done) return ToAnswer(outcome);
  if (!result.ok) {
    lastAnswers_.erase(drive.key);
    return VolumeAnswer::Failed;
  }
  stats = lastAnswers_[drive.key] = result.stats;
  return VolumeAnswer::Answered;
}

// Label and UUID: from udev where it knows the device, else from libblkid in a helper, since that
// reads the medium. A device that cannot be probed has neither.
VolumeAnswer LinuxVolumes::FindBlockIdentity(const DriveMount& drive, bool reask, BlockIdentity& identity) {
  if (const auto it = identities_.find(drive.key); it != identities_.end()) {
    identity = it->second;
    return VolumeAnswer::Answered;
  }
  std::optional<BlockIdentity> found = UdevIdentity(*system_, drive);
  if (!found) {
    if (!MayCall(drive, reask)) return VolumeAnswer::Failed;
    HangingCallResult result;
    const HangingCallGuard::Outcome outcome = guard_.Ask(drive.key, ProbeCall(drive), reask, result);
    if (outcome != HangingCallGuard::Outcome::Done) return ToAnswer(outcome);
    found = result.ok ? result.identity : BlockIdentity{};
  }
  identity = identities_[drive.key] = std::move(*found);
  return VolumeAnswer::Answered;
}

VolumeAnswer LinuxVolumes::GetVolumeInformation(const std::string& rootPath, std::string& volumeNameBuffer,
                                                std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                                                std::int32_t& fileSystemFlags,
                                                std::string& fileSystemNameBuffer) {
  const DriveMount* drive = DriveForRootPath(rootPath);
  if (!drive) return VolumeAnswer::Failed;
  const bool reask = Reasks(rootPath);
  FileSystemStats stats;
  if (const VolumeAnswer answer = StatDrive(*drive, reask, stats); answer != VolumeAnswer::Answered)
    return answer;
  // The same pass asks the free space next: it takes these stats rather than ask again.
  if (reask) passAnswers_[*LetterIndex(rootPath[0])] = stats;
  BlockIdentity found;
  if (const VolumeAnswer answer = FindBlockIdentity(*drive, reask, found); answer != VolumeAnswer::Answered)
    return answer;
  const VolumeIdentity identity = IdentityOf(*drive, found, stats);
  CopyIntoBuffer(identity.label, volumeNameBuffer);
  CopyIntoBuffer(FileSystemDisplayName(drive->entry.fileSystemType, stats.totalBlocks), fileSystemNameBuffer);
  serialNumber = static_cast<std::int32_t>(identity.serialNumber);
  maxComponentLength = static_cast<std::int32_t>(
      std::min<std::uint64_t>(stats.maxNameLength, std::numeric_limits<std::int32_t>::max()));
  fileSystemFlags = FileSystemFlags(drive->entry.fileSystemType, stats.readOnly);
  return VolumeAnswer::Answered;
}

VolumeAnswer LinuxVolumes::GetDiskFreeSpace(const std::string& rootPath, std::int32_t& sectorsPerCluster,
                                            std::int32_t& bytesPerSector, std::int32_t& freeClusters,
                                            std::int32_t& totalClusters) {
  const DriveMount* drive = DriveForRootPath(rootPath);
  if (!drive) return VolumeAnswer::Failed;
  FileSystemStats stats;
  if (std::optional<FileSystemStats>& answered = passAnswers_[*LetterIndex(rootPath[0])]) {
    stats = *answered;
    answered.reset();
  } else if (const VolumeAnswer answer = StatDrive(*drive, Reasks(rootPath), stats);
             answer != VolumeAnswer::Answered) {
    return answer;
  }
  const std::optional<ClusterCounts> counts = ToClusterCounts(stats);
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
  if (Upper(letter) == kRootLetter) {
    ReadMountTable();
    StartDiscoveryRound();
  }
  return DriveFor(letter) ? DrivePresence::Named : DrivePresence::Empty;
}

std::string LinuxVolumes::DriveDescription(char letter) {
  const DriveMount* drive = DriveFor(letter);
  return drive ? drive->description : std::string();
}

std::string LinuxVolumes::MountPointOf(char letter) {
  const DriveMount* drive = DriveFor(letter);
  return drive ? drive->entry.mountPoint : std::string();
}

LinuxVolumes::Footprint LinuxVolumes::footprint() const {
  const HangingCallGuard::Footprint guard = guard_.footprint();
  return {.drives = drives_.size(),
          .letters = letters_.size(),
          .mountVolumes = volumes_.size(),
          .knownLetters = known_.size(),
          .identities = identities_.size(),
          .passAnswers = static_cast<std::size_t>(std::count_if(passAnswers_.begin(), passAnswers_.end(),
                                                                [](const auto& a) { return a.has_value(); })),
          .lastAnswers = lastAnswers_.size(),
          .guardKeys = guard.keys,
          .guardCalls = guard.calls};
}

}  // namespace volumetra
