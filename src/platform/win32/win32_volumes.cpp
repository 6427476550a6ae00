#include "platform/win32/win32_volumes.h"

#include <cctype>

#include "platform/volume_buffer.h"
#include "platform/win32/cluster_counts.h"

namespace volumetra {
namespace {

constexpr std::uint32_t kRemoteDrive = 4;
// GetLastError codes of a listing (winerror.h).
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kPathNotFound = 3;
constexpr std::uint32_t kInvalidDrive = 15;
constexpr std::uint32_t kNoMoreFiles = 18;

char LetterOf(const std::string& rootPath) {
  return rootPath.empty() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(rootPath[0])));
}

std::string RootOf(char letter) {
  return {letter, ':', '\\'};
}

}  // namespace

Win32Volumes::Win32Volumes(std::shared_ptr<VolumeCalls> calls, std::chrono::milliseconds callLimit,
                           std::chrono::milliseconds coolDown, NetworkCallGuard::SteadyClock clock)
    : calls_(std::move(calls)), guard_(callLimit, coolDown, std::move(clock)) {}

bool Win32Volumes::IsRemote(const std::string& rootPath) {
  const char letter = LetterOf(rootPath);
  auto known = types_.find(letter);
  if (known == types_.end()) known = types_.emplace(letter, calls_->DriveType(RootOf(letter))).first;
  return known->second == kRemoteDrive;
}

// A network drive's query runs on the guard's worker of its letter, on copies of what it needs; a
// query the guard cut off or refused gives no answer.
template <typename Query>
auto Win32Volumes::Ask(const std::string& rootPath, Query query)
    -> std::optional<decltype(query(std::declval<VolumeCalls&>()))> {
  using Result = decltype(query(std::declval<VolumeCalls&>()));
  if (!IsRemote(rootPath)) return query(*calls_);
  auto shared = std::make_shared<Result>();
  const std::string key(1, LetterOf(rootPath));
  if (!guard_.Run(key, [calls = calls_, query, shared] { *shared = query(*calls); })) return std::nullopt;
  return std::move(*shared);
}

VolumeAnswer Win32Volumes::GetVolumeInformation(const std::string& rootPath, std::string& volumeNameBuffer,
                                                std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                                                std::int32_t& fileSystemFlags,
                                                std::string& fileSystemNameBuffer) {
  const char letter = LetterOf(rootPath);
  auto known = information_.find(letter);
  if (known == information_.end()) {
    const auto answer =
        Ask(rootPath, [rootPath](VolumeCalls& calls) { return calls.VolumeInformationOf(rootPath); });
    if (!answer) return VolumeAnswer::NoAnswer;
    known = information_.emplace(letter, *answer).first;
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
  struct Sizes {
    std::optional<DiskGeometry> geometry;
    std::optional<DiskBytes> bytes;
  };
  const char letter = LetterOf(rootPath);
  const auto known = geometry_.find(letter);
  const std::optional<DiskGeometry> cached =
      known == geometry_.end() ? std::nullopt : std::optional<DiskGeometry>(known->second);
  const auto answer = Ask(rootPath, [rootPath, cached](VolumeCalls& calls) {
    Sizes sizes{cached ? cached : calls.DiskFreeSpace(rootPath), std::nullopt};
    if (sizes.geometry) sizes.bytes = calls.DiskFreeSpaceEx(rootPath);
    // Without byte counts the call's own counts stand, and those must be fresh.
    if (cached && !sizes.bytes) sizes.geometry = calls.DiskFreeSpace(rootPath);
    return sizes;
  });
  if (!answer) return VolumeAnswer::NoAnswer;
  if (!answer->geometry) return VolumeAnswer::Failed;
  if (!cached) geometry_.emplace(letter, *answer->geometry);
  const SignedClusterCounts counts = FitClusterCounts(*answer->geometry, answer->bytes);
  sectorsPerCluster = counts.sectorsPerCluster;
  bytesPerSector = counts.bytesPerSector;
  freeClusters = counts.freeClusters;
  totalClusters = counts.totalClusters;
  return VolumeAnswer::Answered;
}

int Win32Volumes::GetDriveType(const std::string& rootPath) {
  const char letter = LetterOf(rootPath);
  auto known = types_.find(letter);
  if (known == types_.end()) known = types_.emplace(letter, calls_->DriveType(rootPath)).first;
  return static_cast<int>(known->second);
}

DrivePresence Win32Volumes::ListDrive(char letter) {
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  const std::string root = RootOf(letter);
  // A new discovery pass: the drive is looked at anew.
  types_[letter] = calls_->DriveType(root);
  information_.erase(letter);
  geometry_.erase(letter);
  const std::string pattern{letter, ':', '*'};
  const auto listing = Ask(root, [pattern](VolumeCalls& calls) { return calls.FirstEntry(pattern); });
  if (!listing) return DrivePresence::Failed;
  if (listing->found) return listing->firstName.empty() ? DrivePresence::Empty : DrivePresence::Named;
  switch (listing->error) {
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
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (!IsRemote(RootOf(letter))) return {};
  const auto remote = Ask(RootOf(letter), [letter](VolumeCalls& calls) { return calls.RemoteName(letter); });
  return remote.value_or(std::string());
}

}  // namespace volumetra
