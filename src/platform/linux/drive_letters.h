#pragma once

#include <map>
#include <string>
#include <vector>

namespace volumetra {

/// Drive letter -> the key of the mount it stands for.
using DriveLetterMap = std::map<char, std::string>;

/// The letters D to Z for the mounts `keysInMountOrder`, given the letters of the previous read of
/// the mount table: a mount keeps its letter while it stays mounted, a new mount takes the lowest
/// free letter. Mounts beyond Z get no letter.
DriveLetterMap AssignDriveLetters(const DriveLetterMap& previous,
                                  const std::vector<std::string>& keysInMountOrder);

}  // namespace volumetra
