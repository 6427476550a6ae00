#include "platform/win32/win32_volumes.h"

#include <cctype>
#include <utility>

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

std::string KeyOf(char letter) {
  return std::string(1, letter);
}

// The drive map's channel is named by a key that is no letter.
const std::string kDriveMapKey = "drive map";

DriveCall MapCall() {
  return {DriveCall::Kind::DriveMap, '\0', std::nullopt};
}

DriveCall DiscoveryCall(char letter) {
  return {DriveCall::Kind::Discovery, letter, std::nullopt};
}

std::function<DriveCallResult(const DriveCall&)> RunOn(std::shared_ptr<VolumeCalls> calls) {
  return [calls = std::move(calls)](const DriveCall& call) { return RunDriveCall(*calls, call); };
}

// A declined question asked nothing: to the program the volume gave nothing, and it is not
// counted as timed out again, so that it is asked as soon as its time-out mark is cleared.
VolumeAnswer ToAnswer(DriveCallGuard::Outcome outcome) {
  return outcome == DriveCallGuard::Outcome::NoAnswer ? VolumeAnswer::NoAnswer : VolumeAnswer::Failed;
}

}  // namespace

Win32Volumes::Win32Volumes(std::shared_ptr<VolumeCalls> calls, Win32VolumesOptions options)
    : calls_(std::move(calls)),
      local_(RunOn(calls_)),
      guard_(options.openChannel
                 ? DriveCallGuard::KeyChannelOpener(
                       [open = std::move(options.openChannel)](const std::string&) { return open(); })
                 : DriveCallGuard::KeyChannelOpener(
                       [this](const std::string& key) { return OpenThreadChannel(key); }),
             options.callLimit, options.clock),
      discoveryPatience_(options.discoveryPatience),
      clock_(std::move(options.clock)) {}

std::unique_ptr<DriveCallChannel> Win32Volumes::OpenThreadChannel(const std::string& key) {
  if (key == kDriveMapKey || (key.size() == 1 && calls_->IsLocalDisk(key[0]))) return local_.Open();
  auto channel = ThreadChannel<DriveCall, DriveCallResult>::Open(RunOn(calls_));
  if (channel) ++ownThreads_;
  return channel;
}

std::uint32_t Win32Volumes::TypeOf(char letter) {
  if (SettlePending(letter) != Outcome::Done) return kDriveUnknown;
  if (const auto known = types_.find(letter); known != types_.end()) return known->second;
  if (Absent(letter)) return kDriveNoRootDirectory;
  DriveCallResult result;
  if (guard_.Ask(KeyOf(letter), {DriveCall::Kind::DriveType, letter, std::nullopt}, Reasks(letter), result) !=
          Outcome::Done ||
      !result.ok)
    return kDriveUnknown;
  return types_[letter] = result.type;
}

bool Win32Volumes::Absent(char letter) const {
  return present_ != 0 && letter >= 'A' && letter <= 'Z' && (present_ >> (letter - 'A') & 1) == 0;
}

bool Win32Volumes::IsLocal(char letter) const {
  const auto known = types_.find(letter);
  return known != types_.end() && known->second != kDriveRemote;
}

std::optional<DiskGeometry> Win32Volumes::KnownGeometry(char letter) const {
  const auto known = geometry_.find(letter);
  return known == geometry_.end() ? std::nullopt : std::optional<DiskGeometry>(known->second);
}

// Only a local drive's free space, which every survey asks, is asked here, unless a stuck call of
// the drive holds it back.
Win32Volumes::Outcome Win32Volumes::Ask(const DriveCall& call, bool reask, DriveCallResult& result) {
  if (call.kind != DriveCall::Kind::FreeSpace || !IsLocal(call.letter))
    return guard_.Ask(KeyOf(call.letter), call, reask, result);
  if (const Outcome admitted = guard_.Admit(KeyOf(call.letter), reask); admitted != Outcome::Done)
    return admitted;
  result = RunDriveCall(*calls_, call);
  return Outcome::Done;
}

void Win32Volumes::TakeDiscovery(char letter, DriveCallResult result) {
  types_[letter] = result.type;
  information_[letter] = result.information;
  roundAnswers_[letter] = std::move(result);
}

Win32Volumes::Outcome Win32Volumes::SettlePending(char letter) {
  if (!pendingDiscovery_.contains(letter)) return Outcome::Done;
  if (discovering_) return Outcome::Declined;
  pendingDiscovery_.erase(letter);
  DriveCallResult result;
  const Outcome outcome = guard_.Ask(KeyOf(letter), DiscoveryCall(letter), true, result);
  if (outcome == Outcome::Done && result.ok) TakeDiscovery(letter, std::move(result));
  return outcome;
}

void Win32Volumes::StartDiscoveryCalls() {
  for (char letter = kFirstLetter; letter <= kLastLetter; ++letter) {
    if (!Absent(letter)) guard_.StartAhead(KeyOf(letter), DiscoveryCall(letter), false);
  }
}

// Drive discovery asks the presence and then the free space of every letter next. The drive map is
// asked first, but the calls of the drives the last map named start with it, so that a map that
// does not answer costs no wait of its own; the calls of drives new in the map start when it
// answers. Before any map answered, every letter is asked.
void Win32Volumes::StartDiscoveryRound() {
  // A discovery call still out from the last round is this round's call too.
  std::set<std::string> pending;
  for (char letter : pendingDiscovery_) pending.insert(KeyOf(letter));
  if (std::exchange(mapAskedAhead_, false)) pending.insert(kDriveMapKey);
  guard_.DropAhead(pending);
  passLetters_.clear();
  roundAnswers_.clear();
  discoveryUntil_ = clock_() + discoveryPatience_;
  guard_.StartAhead(kDriveMapKey, MapCall(), true);
  if (present_ != 0) StartDiscoveryCalls();
  DriveCallResult map;
  if (guard_.Ask(kDriveMapKey, MapCall(), true, map,
                 discovering_ ? std::optional(discoveryUntil_) : std::nullopt) == Outcome::Done &&
      map.ok && map.drives != 0)
    present_ = map.drives;
  StartDiscoveryCalls();
  std::set<std::string> keep{kDriveMapKey};
  for (char letter = kFirstLetter; letter <= kLastLetter; ++letter) {
    if (Absent(letter)) {
      types_[letter] = kDriveNoRootDirectory;
      lastSpace_.erase(letter);
      pendingDiscovery_.erase(letter);
      calls_->ReleaseRoot(letter);
    } else {
      keep.insert(KeyOf(letter));
    }
  }
  guard_.RetireAllBut(keep);
}

void Win32Volumes::AskDriveMapAhead() {
  guard_.StartAhead(kDriveMapKey, MapCall(), true);
  mapAskedAhead_ = true;
}

void Win32Volumes::BeginProbePass(const std::string& letters) {
  std::set<std::string> pending;
  for (char letter : pendingDiscovery_) pending.insert(KeyOf(letter));
  guard_.DropAhead(pending);
  passLetters_.clear();
  roundAnswers_.clear();
  for (char letter : letters) {
    letter = Upper(letter);
    passLetters_.insert(letter);
    // A drive's pending discovery call tells the pass all it asks.
    if (Absent(letter) || pendingDiscovery_.contains(letter)) continue;
    // In the order the pass asks them.
    const std::string key = KeyOf(letter);
    if (!information_.contains(letter))
      guard_.StartAhead(key, {DriveCall::Kind::VolumeInformation, letter, std::nullopt}, true);
    if (!types_.contains(letter))
      guard_.StartAhead(key, {DriveCall::Kind::DriveType, letter, std::nullopt}, true);
    if (!IsLocal(letter))
      guard_.StartAhead(key, {DriveCall::Kind::FreeSpace, letter, KnownGeometry(letter)}, true);
  }
}

VolumeAnswer Win32Volumes::GetVolumeInformation(const std::string& rootPath, std::string& volumeNameBuffer,
                                                std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                                                std::int32_t& fileSystemFlags,
                                                std::string& fileSystemNameBuffer) {
  const char letter = LetterOf(rootPath);
  if (Absent(letter)) return VolumeAnswer::Failed;
  if (const Outcome settled = SettlePending(letter); settled != Outcome::Done) return ToAnswer(settled);
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
  DriveCallResult result;
  ClusterCounts counts;
  const Outcome settled = SettlePending(letter);
  if (const auto last = lastSpace_.find(letter); settled == Outcome::Declined && last != lastSpace_.end()) {
    counts = last->second;
  } else if (settled != Outcome::Done) {
    return ToAnswer(settled);
  } else if (auto answered = roundAnswers_.extract(letter)) {
    result = std::move(answered.mapped());
  } else if (const Outcome outcome =
                 Ask({DriveCall::Kind::FreeSpace, letter, KnownGeometry(letter)}, Reasks(letter), result);
             outcome != Outcome::Done) {
    return ToAnswer(outcome);
  }
  if (settled == Outcome::Done) {
    if (!result.ok || !result.geometry) return VolumeAnswer::Failed;
    geometry_.try_emplace(letter, *result.geometry);
    counts = lastSpace_[letter] = FitClusterCounts(*result.geometry, result.bytes);
  }
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
  // Discovery waits for the calls it started, not again for one an earlier round waited for.
  const bool carried = pendingDiscovery_.erase(letter) > 0;
  std::optional<DriveCallGuard::TimePoint> until;
  if (discovering_) until = carried ? clock_() : discoveryUntil_;
  DriveCallResult result;
  const Outcome outcome = guard_.Ask(KeyOf(letter), DiscoveryCall(letter), false, result, until);
  if (outcome == Outcome::Pending) pendingDiscovery_.insert(letter);
  if (outcome != Outcome::Done || !result.ok) {
    // Nothing is known of the drive now: its calls go to its channel until its type is known again.
    types_.erase(letter);
    return DrivePresence::Failed;
  }
  const DriveListing listing = result.listing;
  TakeDiscovery(letter, std::move(result));
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
  if (SettlePending(letter) != Outcome::Done) return {};
  const auto type = types_.find(letter);
  if (type == types_.end() || type->second != kDriveRemote) return {};
  if (const auto known = remoteNames_.find(letter); known != remoteNames_.end()) return known->second;
  DriveCallResult result;
  if (guard_.Ask(KeyOf(letter), {DriveCall::Kind::RemoteName, letter, std::nullopt}, false, result) !=
          Outcome::Done ||
      !result.ok)
    return {};
  return remoteNames_[letter] = result.remoteName;
}

}  // namespace volumetra
