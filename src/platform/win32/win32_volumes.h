#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/volume_service.h"
#include "platform/win32/drive_call.h"
#include "platform/win32/volume_calls.h"

namespace volumetra {

/// How Win32Volumes is set up; the defaults are the program's.
struct Win32VolumesOptions {
  /// How long a network drive's call is waited for.
  std::chrono::milliseconds callLimit{5000};
  /// The steady clock the call limit is measured on (the one the call channels wait on).
  DriveCallGuard::Clock clock = std::chrono::steady_clock::now;
  /// Opens the call channel of a network drive; empty: a thread of this process that makes the
  /// calls on the volume calls.
  DriveCallGuard::ChannelOpener openChannel;
};

/// The volume services on Windows: the Win32 calls the program was designed on.
///
/// Queries of network drives (type 4), which a dead server can hold for a long time, run on a
/// thread per drive under a CallGuard, the same guard as the Linux volumes': drive discovery (at
/// ListDrive('C'), which it calls first in every pass) and each probe pass (BeginProbePass) start
/// the calls of all their network drives at once, so that any number of dead servers cost one wait
/// of `callLimit` together. A drive whose call ran out of time gives no answer while that call is
/// stuck, and is asked again, and waited for, only by a probe pass (which asks it again only after
/// the program's time-out reset); drive discovery declines it meanwhile. A thread stuck in a call
/// does not keep the process from ending. Other drives are asked on the calling thread.
///
/// Drive discovery reads the system's drive map (GetLogicalDrives) once per pass: a letter that
/// names no drive has no root directory (type 1), its presence test finds nothing and its queries
/// fail, without a call, until the next pass. Under Wine each such call is a round trip to the
/// mount manager, another process.
///
/// Free space comes from GetDiskFreeSpaceA with counts made right from GetDiskFreeSpaceExA (see
/// FitClusterCounts), so volumes of many terabytes show their true sizes; the byte counts are asked
/// at every call. A drive's label, serial number, file system, type, cluster geometry and share
/// change only when another volume takes its letter, which drive discovery notices: they are asked
/// once per discovery pass (the first call after ListDrive of the letter) and kept until the next
/// one, as on Linux. Under Wine the label and type calls cost about a millisecond each, more than
/// all the rest of a survey.
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
  void BeginProbePass(const std::string& letters) override;

  /// Network drives with a call that ran out of time and has not returned yet.
  int StuckDrives() { return guard_.StuckKeys(); }
  /// Call channels (threads) opened so far.
  int ChannelsOpened() const { return guard_.ChannelsOpened(); }

 private:
  using Outcome = DriveCallGuard::Outcome;

  std::uint32_t TypeOf(char letter);
  /// Letter `letter` named no drive at the last discovery pass.
  bool Absent(char letter) const;
  bool IsRemote(char letter) { return TypeOf(letter) == kRemoteDrive; }
  void StartDiscoveryRound();
  /// The probe pass under way asks drive `letter` (again, even after a time-out).
  bool Reasks(char letter) const { return passLetters_.contains(letter); }
  std::optional<DiskGeometry> KnownGeometry(char letter) const;
  /// Makes `call`: on the calling thread, or on the drive's channel for a network drive.
  Outcome Ask(const DriveCall& call, bool reask, DriveCallResult& result);

  static constexpr std::uint32_t kNoRootDirectory = 1;
  static constexpr std::uint32_t kRemoteDrive = 4;

  std::shared_ptr<VolumeCalls> calls_;
  DriveCallGuard guard_;
  /// The letters that named no drive at the last discovery pass, one bit each from 'A'.
  std::uint32_t absent_ = 0;
  /// The drive type each letter had at its last discovery.
  std::map<char, std::uint32_t> types_;
  /// Letters whose type the discovery round under way has asked already, for their ListDrive.
  std::set<char> typesOfRound_;
  /// What GetVolumeInformationA told of each letter since its last discovery (nullopt: it failed).
  std::map<char, std::optional<VolumeInformation>> information_;
  /// The cluster geometry GetDiskFreeSpaceA gave for each letter since its last discovery.
  std::map<char, DiskGeometry> geometry_;
  /// The share of each network drive since its last discovery.
  std::map<char, std::string> remoteNames_;
  /// The letters of the probe pass under way; empty outside one.
  std::set<char> passLetters_;
};

}  // namespace volumetra
