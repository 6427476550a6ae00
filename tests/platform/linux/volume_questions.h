#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/linux/linux_volumes.h"

namespace volumetra {

/// What the probe pass asks of each drive of `letters`, in its order, as the program does: the
/// volume information, and for a drive that answered, the drive type and the free space. The
/// letters that gave no answer; `totals` gets the size in bytes of the others.
inline std::string ProbePass(LinuxVolumes& volumes, const std::string& letters,
                             std::vector<std::int64_t>* totals = nullptr) {
  volumes.BeginProbePass(letters);
  std::string silent;
  for (char letter : letters) {
    const std::string rootPath = std::string(1, letter) + ":\\";
    std::string label(255, ' '), fileSystem(255, ' ');
    std::int32_t serial = 0, nameLength = 0, flags = 0, spc = 0, bps = 0, freeClusters = 0, total = 0;
    if (volumes.GetVolumeInformation(rootPath, label, serial, nameLength, flags, fileSystem) ==
        VolumeAnswer::NoAnswer) {
      silent += letter;
      continue;
    }
    volumes.GetDriveType(rootPath);
    if (volumes.GetDiskFreeSpace(rootPath, spc, bps, freeClusters, total) == VolumeAnswer::NoAnswer) {
      silent += letter;
    } else if (totals) {
      totals->push_back(std::int64_t{spc} * bps * total);
    }
  }
  return silent;
}

/// What drive discovery asks, as the program does: the presence and the free space of every letter
/// C to Z. The letters whose free space gave no answer; `totals` gets, by letter, the size in bytes
/// of those that answered.
inline std::string Discovery(LinuxVolumes& volumes, std::map<char, std::int64_t>* totals = nullptr) {
  volumes.BeginDriveDiscovery();
  std::string silent;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    volumes.ListDrive(letter);
    std::int32_t spc = 0, bps = 0, freeClusters = 0, total = 0;
    const VolumeAnswer answer =
        volumes.GetDiskFreeSpace(std::string(1, letter) + ":\\", spc, bps, freeClusters, total);
    if (answer == VolumeAnswer::NoAnswer) silent += letter;
    if (answer == VolumeAnswer::Answered && totals) (*totals)[letter] = std::int64_t{spc} * bps * total;
  }
  volumes.EndDriveDiscovery();
  return silent;
}

}  // namespace volumetra
