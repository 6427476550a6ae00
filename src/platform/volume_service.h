#pragma once

#include <cstdint>
#include <string>

namespace volumetra {

/// Result of the presence test of drive discovery: a directory listing of "L:".
enum class DrivePresence {
  Named,   ///< the listing returned a first name: a usable drive
  Empty,   ///< the listing returned an empty name: no drive behind the letter
  Failed,  ///< the listing failed with an error (the letter is taken)
};

/// How a volume query ended. A volume that does not answer in time (a dead network server), or
/// whose earlier call is still stuck, gives no answer at all: the program then counts the drive as
/// timed out and keeps what it knew of it, rather than taking the silence for an empty volume.
enum class VolumeAnswer {
  Answered,  ///< the call succeeded and filled its outputs
  Failed,    ///< the call failed (no volume, no medium, an error): nothing written
  NoAnswer,  ///< the volume did not answer in time: nothing written
};

/// The volume services, in the shape of the Windows calls the program was built on.
/// Root paths are a drive letter, a colon and a backslash ("C:\").
class VolumeService {
 public:
  virtual ~VolumeService() = default;

  /// Fills the caller's 255-character buffers the way GetVolumeInformationA does: on success the
  /// label and file-system name are copied to the buffers' start and ended with NUL, the rest of
  /// each buffer is left alone; otherwise nothing is written.
  virtual VolumeAnswer GetVolumeInformation(const std::string& rootPath, std::string& volumeNameBuffer,
                                            std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                                            std::int32_t& fileSystemFlags,
                                            std::string& fileSystemNameBuffer) = 0;

  /// GetDiskFreeSpaceA: cluster geometry and counts. Counts fit the signed 32-bit range; large
  /// volumes report larger clusters instead. Writes nothing unless the call succeeded.
  virtual VolumeAnswer GetDiskFreeSpace(const std::string& rootPath, std::int32_t& sectorsPerCluster,
                                        std::int32_t& bytesPerSector, std::int32_t& freeClusters,
                                        std::int32_t& totalClusters) = 0;

  /// GetDriveTypeA: 0 unknown, 1 no root, 2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk.
  virtual int GetDriveType(const std::string& rootPath) = 0;

  /// The presence test for drive letter `letter` ('A'..'Z').
  virtual DrivePresence ListDrive(char letter) = 0;

  /// Where the volume of drive `letter` lives, for a user to tell drives apart: on Linux its mount
  /// point and source ("/media/data  (/dev/sdb1, ext4)"). Empty text when there is nothing to say.
  virtual std::string DriveDescription(char /*letter*/) { return {}; }

  /// Drive discovery runs between these two calls: its presence tests and free-space questions, and
  /// the probe passes it runs to judge its exclusions. A backend whose volumes can be slow to answer
  /// may answer those volumes from what they told last rather than wait for them, so that discovery,
  /// which the start-up runs before the window shows, never waits for a dead server. The defaults do
  /// nothing.
  virtual void BeginDriveDiscovery() {}
  virtual void EndDriveDiscovery() {}

  /// A probe pass is about to ask the volume information and free space of the drives `letters`,
  /// one after another, in this order. A backend whose volumes can be slow to answer may start all
  /// their queries now, so that several slow volumes are waited for together rather than one after
  /// another. The default does nothing.
  virtual void BeginProbePass(const std::string& /*letters*/) {}
};

}  // namespace volumetra
