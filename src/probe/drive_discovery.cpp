#include "probe/drive_discovery.h"

#include <cmath>
#include <string>

#include "probe/probe_pass.h"
#include "probe/volume_queries.h"

namespace volumetra {
namespace {

bool SameVolume(const DriveRec& a, const DriveRec& b) {
  return a.RootPath != b.RootPath && a.VolumeName == b.VolumeName && a.TypeText == b.TypeText &&
         a.NameLength == b.NameLength && a.SerialNumber == b.SerialNumber && b.TotalGB != 0 &&
         a.TotalGB == b.TotalGB && !a.RootPath.empty() && !b.RootPath.empty() &&
         static_cast<unsigned char>(a.RootPath[0]) > static_cast<unsigned char>(b.RootPath[0]);
}

bool IsCdRecordOf(const DriveRec& r, char letter) {
  return !r.RootPath.empty() && r.RootPath[0] == letter && r.TypeText.starts_with("CD");
}

void RemoveCdRomDrives(Module1& m) {
  const std::size_t count = m.DriveLetters.size();
  for (std::size_t p = 1; p <= count; ++p) {
    if (p > m.DriveLetters.size()) continue;
    const char letter = m.DriveLetters[p - 1];
    for (int k = 1; k < kDriveRecCount; ++k) {
      if (IsCdRecordOf(m.DriveRecs[k], letter)) {
        m.DriveLetters.erase(p - 1, 1);
        break;
      }
    }
  }
}

}  // namespace

void RemoveDoubleMappings(const ProbeContext& probe) {
  Module1& m = probe.m;
  // Positions 1..26 against 1..27, as records; only positions within the list can be dropped.
  for (int i = 1; i <= 26; ++i) {
    for (int j = 1; j <= 27; ++j) {
      if (!SameVolume(m.DriveRecs[i], m.DriveRecs[j])) continue;
      if (static_cast<std::size_t>(i) > m.DriveLetters.size()) continue;
      m.DriveLetters.erase(static_cast<std::size_t>(i) - 1, 1);
      ProbeDrives(probe);
      j = 0;  // position i now holds the next letter: compare it with every j again
    }
  }
}

void DiscoverDrives(const ProbeContext& probe) {
  Module1& m = probe.m;
  probe.volumes.BeginDriveDiscovery();
  m.DriveLetters.clear();
  m.MaxFreeMB = 0;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    if (probe.volumes.ListDrive(letter) != DrivePresence::Empty) m.DriveLetters += letter;
    const double freeMB = std::nearbyint(GetFreeSpaceMB(m, probe.volumes, std::string(1, letter) + ":\\"));
    if (freeMB > m.MaxFreeMB) {
      m.MaxFreeMB = freeMB >= 2147483647.0 ? 2147483647 : static_cast<std::int32_t>(freeMB);
    }
  }
  // The exclusions judge the letters by their records. Those must follow the whole list just
  // found: records of the last pass lack a letter dropped then, which would come back every other
  // time. A pass over the full list makes every discovery drop the same letters.
  if (m.ExcludeDoubles || m.ExcludeCDs) ProbeDrives(probe);
  if (m.ExcludeDoubles) {
    RemoveDoubleMappings(probe);
    RemoveDoubleMappings(probe);
  }
  if (m.ExcludeCDs) RemoveCdRomDrives(m);
  probe.volumes.EndDriveDiscovery();
}

}  // namespace volumetra
