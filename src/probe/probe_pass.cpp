#include "probe/probe_pass.h"

#include <cstdint>
#include <limits>
#include <string>

#include "probe/volume_queries.h"
#include "report/graph_scale.h"

namespace volumetra {
namespace {

const std::string kFailedBuffer(255, ' ');

std::string RootPathOf(const Module1& m, std::size_t position) {
  return std::string(1, m.DriveLetters[position - 1]) + ":\\";
}

// What is known of a drive that gives no answer, without asking its volume: its root path, and its
// drive type while its record has none. So its row shows its letter, type and time-out, and keeps
// whatever else it knew.
void NoteSilentDrive(VolumeService& volumes, DriveRec& d, const std::string& root) {
  d.RootPath = root;
  if (d.TypeText.empty()) d.TypeText = DriveTypeName(volumes.GetDriveType(root));
}

void ProbeDrive(const ProbeContext& probe, std::size_t position) {
  Module1& m = probe.m;
  DriveRec& d = m.DriveRecs[position];
  const std::string root = RootPathOf(m, position);
  d.RootPath = root;

  std::string volumeName, fileSystemName;
  std::int32_t serialNumber = 0, maxComponentLength = 0, flags = 0;
  // A drive that gives no answer counts as timed out: it keeps its record and stays out of the sums.
  if (!GetVolumeInfo(m, probe.volumes, probe.clock, root, volumeName, serialNumber, maxComponentLength, flags,
                     fileSystemName)) {
    NoteSilentDrive(probe.volumes, d, root);
    return;
  }
  d.VolumeName = volumeName;
  d.SerialNumber = serialNumber;
  // A name length beyond the 16-bit field is an overflow: the field keeps its value.
  if (maxComponentLength <= std::numeric_limits<std::int16_t>::max()) {
    d.NameLength = static_cast<std::int16_t>(maxComponentLength);
  }

  std::string typeText = DriveTypeName(probe.volumes.GetDriveType(root));
  if (fileSystemName != kFailedBuffer) typeText += "/" + fileSystemName;
  d.TypeText = typeText;

  bool answered = true;
  const double freeMB = GetFreeSpaceMB(m, probe.volumes, root, &answered);
  if (!answered) return;
  m.CurFreeMB = freeMB == -1.0 ? 0 : freeMB;
  d.FreeMB = m.CurFreeMB;
  m.SumTotalMB += m.LastTotalGB * 1000;
  m.SumFreeMB += m.CurFreeMB;
  m.SumUsedMB += m.LastTotalGB * 1000 - m.CurFreeMB;
  d.TotalGB = m.LastTotalGB;
}

}  // namespace

void ProbeDrives(const ProbeContext& probe) {
  Module1& m = probe.m;
  // The slider first: reading it loads the graph window, whose load sets the divisor.
  const int sliderValue = probe.graphSlider();
  m.GraphScale = GraphScaleOf(sliderValue, m.GraphDivisor);
  m.SumTotalMB = m.SumFreeMB = m.SumUsedMB = 0;
  // The drives this pass asks: those not marked as timed out. A drive's query marks only its own
  // records, so the marks of the drives after it stand as they are now.
  std::string asked;
  for (std::size_t i = 1; i <= m.DriveLetters.size() && i < kDriveRecCount; ++i) {
    if (m.DriveRecs[i].TimeoutMark != kTimeoutMark) asked += m.DriveLetters[i - 1];
  }
  probe.volumes.BeginProbePass(asked);
  for (std::size_t i = 1; i <= m.DriveLetters.size(); ++i) {
    if (i >= kDriveRecCount) break;
    DriveRec& d = m.DriveRecs[i];
    if (d.TimeoutMark != kTimeoutMark) {
      ProbeDrive(probe, i);
    } else if (d.RootPath.empty()) {
      // Marked before any pass filled its record (its free space gave no answer to the discovery of
      // the start-up): it is not asked, but shows what is known of it.
      NoteSilentDrive(probe.volumes, d, RootPathOf(m, i));
    }
  }
}

}  // namespace volumetra
