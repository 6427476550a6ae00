#pragma once

#include <map>
#include <string>
#include <vector>

namespace volumetra {

/// A volume as the program remembers it between runs, to give it the letter it had.
struct KnownVolume {
  std::string uuid;        ///< the file system's UUID where udev names it; empty otherwise
  std::string source;      ///< the device, a loop device's image file, or the mount's source
  std::string root;        ///< the directory of the file system mounted there ("/" but for bind mounts)
  std::string mountPoint;  ///< where it is mounted

  bool operator==(const KnownVolume&) const = default;
};

/// Drive letter -> the volume last seen under it. At most one letter per volume.
using KnownLetters = std::map<char, KnownVolume>;

/// Drive letter -> the key of the mount it stands for.
using DriveLetterMap = std::map<char, std::string>;

/// A mount that is to have a letter.
struct LetterRequest {
  std::string key;  ///< identifies the mount while it stays mounted
  KnownVolume volume;
};

/// The letters D to Z for `mounts` (in mount order), given the letters of the previous read of
/// the mount table and the letters known from earlier runs, which it brings up to date. As Windows
/// keeps drive letters:
/// - a mount keeps its letter while it stays mounted;
/// - a volume known from before gets the letter it had whenever that letter is free: first the
///   volumes seen at the same place (mount point and mounted directory, so each bind mount of one
///   file system keeps its own letter), then volumes of the same UUID seen at another mount point;
/// - a new volume takes the lowest letter no known volume holds, then the lowest free one.
/// Mounts beyond Z get no letter.
DriveLetterMap AssignDriveLetters(const DriveLetterMap& previous, const std::vector<LetterRequest>& mounts,
                                  KnownLetters& known);

}  // namespace volumetra
