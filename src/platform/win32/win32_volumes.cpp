#include "platform/win32/win32_volumes.h"

#include <cctype>

#include "platform/thread_channel.h"
#include "platform/volume_buffer.h"
#include "platform/win32/cluster_counts.h"

namespace volumetra {
namespace {

// GetLastError codes of a listing (winerror.h).
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kInvalidDrive = 15;
constexpr std::uint32_t kNoMoreFiles = 18;

constexpr char kFirstLetter = 'C';
constexpr char kLastLetter = 'Z';

char Upper(char letter) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

char LetterOf(const std::string& rootPath) {
  return rootPath.empty() ? '\0' : Upper(rootPath[0]);
}

std::string RootOf(char letter) {
  return {letter, ':', '\\'};
}

std::string KeyOf(char letter) {
  return std::string(1, letter);
}

DriveCallGuard::ChannelOpener ThreadsOn(std::shared_ptr<VolumeCalls> calls) {
  return [calls = std::move(calls)]() -> std::unique_ptr<DriveCallChannel> {
    return ThreadChannel<DriveCall, DriveCallResult>::Open(
        [calls](const DriveCall& call) { return RunDriveCall(*calls, call); });
  };
}

// A declined question asked nothing: to the program the volume gave nothing, and it is not
// counted as timed out again, so that it is asked as soon as its time-out mark is cleared.
VolumeAnswer ToAnswer(DriveCallGuard::Outcome outcome) {
  return outcome == DriveCallGuard::Outcome::NoAnswer ? VolumeAnswer::NoAnswer : VolumeAnswer::Failed;
}

}  // namespace

Win32Volumes::Win32Volumes(std::shared_ptr<VolumeCalls> calls, Win32VolumesOptions options)
    : calls_(std::move(calls)),
      guard_(options.openChannel ? std::move(options.openChannel) : ThreadsOn(calls_), options.callLimit,
             std::move(options.clock)) {}

std::uint32_t Win32Volumes::TypeOf(char letter) {
  auto known = types_.find(letter);
  if (known == types_.end()) known = types_.emplace(letter, calls_->DriveType(RootOf(letter))).first;
  return known->second;
}

bool Win32Volumes::Absent(char letter) const {
  return letter >= 'A' && letter <= 'Z' && (absent_ >> (letter - 'A') & 1) != 0;
}

std::optional<DiskGeometry> Win32Volumes::KnownGeometry(char letter) const {
  const auto known = geometry_.find(letter);
  return known == geometry_.end() ? std::nullopt : std::optional<DiskGeometry>(known->second);
}

Win32Volumes::Outcome Win32Volumes::Ask(const DriveCall& call, bool reask, DriveCallResult& result) {
  if (!IsRemote(call.letter)) {
    result = RunDriveCall(*calls_, call);
    return Outcome::Done;
  }
  return guard_.Ask(KeyOf(call.letter), call, reask, result);
}

// Drive discovery asks the presence and then the free space of every letter next: the calls of
// the network drives start now, all together. The drive map and the types are read now for the
// whole round; a failed drive map leaves every letter to be asked.
void Win32Volumes::StartDiscoveryRound() {
  guard_.DropAhead();
  passLetters_.clear();
  absent_ = 0;
  if (const std::uint32_t present = calls_->LogicalDrives(); present != 0) absent_ = ~present;
  typesOfRound_.clear();
  std::set<std::string> remote;
  for (char letter = kFirstLetter; letter <= kLastLetter; ++letter) {
    if (Absent(letter)) {
      types_[letter] = kNoRootDirectory;
      continue;
    }
    types_[letter] = calls_->DriveType(RootOf(letter));
    typesOfRound_.insert(letter);
    if (types_[letter] == kRemoteDrive) remote.insert(KeyOf(letter));
  }
  guard_.RetireAllBut(remote);
  for (const std::string& key : remote) {
    guard_.StartAhead(key, {DriveCall::Kind::FirstEntry, key[0], std::nullopt}, false);
    guard_.StartAhead(key, {DriveCall::Kind::FreeSpace, key[0], std::nullopt}, false);
  }
}

void Win32Volumes::BeginProbePass(const std::string& letters) {
  guard_.DropAhead();
  passLetters_.clear();
  for (char letter : letters) {
    letter = Upper(letter);
    passLetters_.insert(letter);
    if (!IsRemote(letter)) continue;
    if (!information_.contains(letter))
      guard_.StartAhead(KeyOf(letter), {DriveCall::Kind::VolumeInformation, letter, std::nullopt}, true);
    guard_.StartAhead(KeyOf(letter), {DriveCall::Kind::FreeSpace, letter, KnownGeometry(letter)}, true);
  }
}

VolumeAnswer Win32Volumes::GetVolumeInformation(const std::string& rootPath, std::string& volumeNameBuffer,
                                                std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                                                std::int32_t& fileSystemFlags,
                                                std::string& fileSystemNameBuffer) {
  const char letter = LetterOf(rootPath);
  if (Absent(letter)) return VolumeAnswer::Failed;
  auto known = information_.find(letter);
  if (known == information_.end()) {
    DriveCallResult result;
    const Outcome outcome =
        Ask({DriveCall::Kind::VolumeInformation, letter, std::nullopt}, Reasks(letter), result);
    if (outcome != Outcome::Done) return ToAnswer(outcome);
    if (!result.ok) return VolumeAnswer::Failed;
    known = information_.emplace(letter, result.information).first;
  }
  if (!known->second) return VolumeAnswer::Failed;
  const VolumeInformation& info = *known->second;
  CopyIntoBuffer(info.volumeName, volumeNameBuffer);
  CopyIntoBuffer(info.fileSystemName, fileSystemNameBuffer);
  serialNumber = static_cast<std::int32_t>(info.serialNumber);
  maxComponentLength = static_cast<std::int32_t>(info.maxComponentLength);
  fileSystemFlags = static_cast<std::int32_t>(info.fileSystemFlags);
  return VolumeAnswer::Answered;
}

VolumeAnswer Win32Volumes::GetDiskFreeSpace(const std::string& rootPath, std::int32_t& sectorsPerCluster,
                                            std::int32_t& bytesPerSector, std::int32_t& freeClusters,
                                            std::int32_t& totalClusters) {
  const char letter = LetterOf(rootPath);
  if (Absent(letter)) return VolumeAnswer::Failed;
  const std::optional<DiskGeometry> known = KnownGeometry(letter);
  DriveCallResult result;
  const Outcome outcome = Ask({DriveCall::Kind::FreeSpace, letter, known}, Reasks(letter), result);
  if (outcome != Outcome::Done) return ToAnswer(outcome);
  if (!result.ok || !result.geometry) return VolumeAnswer::Failed;
  if (!known) geometry_.emplace(letter, *result.geometry);
  const ClusterCounts counts = FitClusterCounts(*result.geometry, result.bytes);
  sectorsPerCluster = counts.sectorsPerCluster;
  bytesPerSector = counts.bytesPerSector;
  freeClusters = counts.freeClusters;
  totalClusters = counts.totalClusters;
  return VolumeAnswer::Answered;
}

int Win32Volumes::GetDriveType(const std::string& rootPath) {
  return static_cast<int>(TypeOf(LetterOf(rootPath)));
}

DrivePresence Win32Volumes::ListDrive(char letter) {
  letter = Upper(letter);
  if (letter == kFirstLetter) StartDiscoveryRound();
  // A new discovery pass: the drive is looked at anew.
  information_.erase(letter);
  geometry_.erase(letter);
  remoteNames_.erase(letter);
  if (Absent(letter)) return DrivePresence::Empty;
  if (!typesOfRound_.erase(letter)) types_[letter] = calls_->DriveType(RootOf(letter));
  DriveCallResult result;
  if (Ask({DriveCall::Kind::FirstEntry, letter, std::nullopt}, Reasks(letter), result) != Outcome::Done ||
      !result.ok)
    return DrivePresence::Failed;
  const DriveListing& listing = result.listing;
  if (listing.found) return listing.firstName.empty() ? DrivePresence::Empty : DrivePresence::Named;
  switch (listing.error) {
    case kFileNotFound:
    case kNoMoreFiles:
      // The directory is there and holds nothing: a usable drive all the same (a new, empty disk).
      return DrivePresence::Named;
    case kPathNotFound:
    case kInvalidDrive:
      return DrivePresence::Empty;  // no drive behind the letter
    default:
      return DrivePresence::Failed;
  }
}

std::string Win32Volumes::DriveDescription(char letter) {
  letter = Upper(letter);
  if (!IsRemote(letter)) return {};
  if (const auto known = remoteNames_.find(letter); known != remoteNames_.end()) return known->second;
  DriveCallResult result;
  if (guard_.Ask(KeyOf(letter), {DriveCall::Kind::RemoteName, letter, std::nullopt}, false, result) !=
          Outcome::Done ||
      !result.ok)
    return {};
  return remoteNames_[letter] = result.remoteName;
}

}  // namespace volumetra
