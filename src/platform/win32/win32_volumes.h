#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/cluster_counts.h"
#include "platform/shared_thread_channels.h"
#include "platform/volume_service.h"
#include "platform/win32/drive_call.h"
#include "platform/win32/volume_calls.h"

namespace volumetra {

/// How Win32Volumes is set up; the defaults are the program's.
struct Win32VolumesOptions {
  /// How long a call on a drive's channel is waited for.
  std::chrono::milliseconds callLimit{5000};
  /// How long drive discovery waits for its calls in all, from the start of its round; a drive
  /// whose call is not back by then is answered by the probe pass that next asks it.
  std::chrono::milliseconds discoveryPatience{250};
  /// The steady clock the call limit is measured on (the one the call channels wait on).
  DriveCallGuard::Clock clock = std::chrono::steady_clock::now;
  /// Opens the call channel of a drive (or of the drive map); empty: threads of this process that
  /// make the calls on the volume calls, one for the drive map and the local disks together and one
  /// for each other drive.
  DriveCallGuard::ChannelOpener openChannel;
};

/// The volume services on Windows: the Win32 calls the program was designed on.
///
/// A network server that does not answer holds every call that reaches it, the drive type call
/// too; under Wine, while one drive's server is dead, even the volume information of the other
/// drives waits for it. So the calls run on a thread per drive (and one for the drive map) under
/// a CallGuard, the same guard as the Linux volumes', and never on the calling thread, except the
/// free space of a drive known to be local, which each survey asks. The volumes of local disks
/// (VolumeCalls::IsLocalDisk) and the drive map, which ask no server, share one thread: under Wine
/// each thread keeps about 1 MB resident. Their calls are still asked, and time out, drive by drive. Drive
/// discovery (at ListDrive('C'), which it calls first in every pass) starts all its calls at once, the drive
/// map's with those of the drives the last map named; each probe pass (BeginProbePass) starts the
/// calls of all its drives that may hang; so any number of dead servers cost one wait of
/// `callLimit` together. A drive whose call ran out of time gives no answer while that call is
/// stuck, and is asked again, and waited for, only by a probe pass (which asks it again only after
/// the program's time-out reset); drive discovery declines it meanwhile. A thread stuck in a call
/// does not keep the process from ending.
///
/// Drive discovery (BeginDriveDiscovery to EndDriveDiscovery) waits `discoveryPatience` at most in
/// all, so that the start-up, whose discovery runs before the window shows, never waits for a dead
/// server. A drive whose discovery call is not back by then is taken (its presence test fails), and
/// its other questions in discovery are answered from what it told last, or declined as failed.
/// The call stays out: the first probe pass that asks the drive collects it, waiting until the
/// call's own deadline, one `callLimit` after the round started. So drives dead at start-up cost the
/// first survey one wait together, and a slow drive is answered by that survey.
///
/// Drive discovery reads the system's drive map (GetLogicalDrives) once per pass: a letter that
/// names no drive has no root directory (type 1), its presence test finds nothing and its queries
/// fail, without a call, until the next pass. A map that gives no answer leaves the drives last
/// seen. One call per drive and pass tells all that discovery and the probe pass after it ask of
/// the drive: its type, presence listing, free space and volume information.
///
/// Free space comes from GetDiskFreeSpaceW with counts made right from GetDiskFreeSpaceExW (see
/// FitClusterCounts), so volumes of many terabytes show their true sizes; the byte counts are asked
/// at every call. A drive's label, serial number, file system, type, cluster geometry and share
/// change only when another volume takes its letter, which drive discovery notices: they are asked
/// once per discovery pass (by ListDrive of the letter) and kept until the next one, as on Linux.
/// Under Wine the label and type calls cost about a millisecond each, more than all the rest of a
/// survey.
class Win32Volumes : public VolumeService {
 public:
  explicit Win32Volumes(std::shared_ptr<VolumeCalls> calls = MakeSystemVolumeCalls(),
                        Win32VolumesOptions options = {});

  VolumeAnswer GetVolumeInformation(const std::string& rootPath, std::string& volumeNameBuffer,
                                    std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                                    std::int32_t& fileSystemFlags,
                                    std::string& fileSystemNameBuffer) override;
  VolumeAnswer GetDiskFreeSpace(const std::string& rootPath, std::int32_t& sectorsPerCluster,
                                std::int32_t& bytesPerSector, std::int32_t& freeClusters,
                                std::int32_t& totalClusters) override;
  int GetDriveType(const std::string& rootPath) override;
  /// A listing of the drive's current directory ("L:*"): a first entry, or none in an empty
  /// directory, is a usable drive (named); no drive behind the letter is empty; any other error,
  /// such as a drive without a medium or a network drive that does not answer in time, fails (so
  /// the letter is taken).
  DrivePresence ListDrive(char letter) override;
  /// The share of a network drive ("\\server\share"); empty for other drives.
  std::string DriveDescription(char letter) override;
  /// Starts the drive map's call now, for the first drive discovery to collect: at start-up it
  /// runs while the windows are made.
  void AskDriveMapAhead();
  void BeginProbePass(const std::string& letters) override;
  void BeginDriveDiscovery() override { discovering_ = true; }
  void EndDriveDiscovery() override { discovering_ = false; }

  /// Drives (and the drive map) with a call that ran out of time and has not returned yet.
  int StuckDrives() { return guard_.StuckKeys(); }
  /// Call channels opened so far.
  int ChannelsOpened() const { return guard_.ChannelsOpened(); }
  /// Threads started so far for the calls (without `openChannel`).
  int ThreadsStarted() const { return ownThreads_ + (local_.started() ? 1 : 0); }

 private:
  using Outcome = DriveCallGuard::Outcome;

  /// The type of drive `letter`: the one its discovery found, or else asked now.
  std::uint32_t TypeOf(char letter);
  /// Letter `letter` named no drive in the last drive map.
  bool Absent(char letter) const;
  /// The drive's type is known and is not a network drive's.
  bool IsLocal(char letter) const;
  void StartDiscoveryRound();
  /// Starts the discovery calls of the letters the drive map names (all when none is known).
  void StartDiscoveryCalls();
  /// The probe pass under way asks drive `letter` (again, even after a time-out).
  bool Reasks(char letter) const { return passLetters_.contains(letter); }
  std::optional<DiskGeometry> KnownGeometry(char letter) const;
  /// Makes `call`: on the drive's channel, or on the calling thread for a local drive's free space.
  Outcome Ask(const DriveCall& call, bool reask, DriveCallResult& result);
  /// Keeps what a discovery call told of drive `letter`.
  void TakeDiscovery(char letter, DriveCallResult result);
  /// Settles a discovery call of drive `letter` that was not back in discovery's patience: declined
  /// (Declined) while discovery goes on, otherwise collected (Done or NoAnswer); Done for a drive
  /// without one.
  Outcome SettlePending(char letter);

  /// Opens the call channel of `key`: on the shared thread for the drive map and the local disks,
  /// else on a thread of its own.
  std::unique_ptr<DriveCallChannel> OpenThreadChannel(const std::string& key);

  std::shared_ptr<VolumeCalls> calls_;
  /// The thread of the drive map and the local disks.
  SharedThreadChannels<DriveCall, DriveCallResult> local_;
  int ownThreads_ = 0;
  DriveCallGuard guard_;
  /// The letters the last drive map that answered named, one bit each from 'A'; 0 before one did.
  std::uint32_t present_ = 0;
  /// The drive type each letter had at its last discovery; none while that gave no answer.
  std::map<char, std::uint32_t> types_;
  /// The answers of this discovery round's calls, kept for the free-space question that follows.
  std::map<char, DriveCallResult> roundAnswers_;
  /// What GetVolumeInformationW told of each letter since its last discovery (nullopt: it failed).
  std::map<char, std::optional<VolumeInformation>> information_;
  /// The cluster geometry GetDiskFreeSpaceW gave for each letter since its last discovery.
  std::map<char, DiskGeometry> geometry_;
  /// The share of each network drive since its last discovery.
  std::map<char, std::string> remoteNames_;
  /// The letters of the probe pass under way; empty outside one.
  std::set<char> passLetters_;
  std::chrono::milliseconds discoveryPatience_;
  DriveCallGuard::Clock clock_;
  /// Drive discovery is under way (BeginDriveDiscovery to EndDriveDiscovery).
  bool discovering_ = false;
  /// The drive map's call was started by AskDriveMapAhead and no discovery round has collected it.
  bool mapAskedAhead_ = false;
  /// When this discovery round stops waiting for its calls.
  DriveCallGuard::TimePoint discoveryUntil_{};
  /// Drives whose discovery call was not back in discovery's patience and is not collected yet.
  std::set<char> pendingDiscovery_;
  /// The last free-space answer of each drive, for the questions discovery declines.
  std::map<char, ClusterCounts> lastSpace_;
};

}  // namespace volumetra
