#include "probe/volume_queries.h"

#include <cctype>

namespace volumetra {
namespace {

constexpr std::size_t kBufferSize = 255;

struct DriveTypeEntry {
  std::int32_t code;
  const char* name;
};

constexpr DriveTypeEntry kDriveTypeNames[] = {{2, "Rem"}, {3, "HD"}, {4, "Net"}, {5, "CD"}, {6, "Ram"}};

bool ContainsIgnoringCase(const std::string& text, char c) {
  const int wanted = std::toupper(static_cast<unsigned char>(c));
  for (char x : text) {
    if (std::toupper(static_cast<unsigned char>(x)) == wanted) return true;
  }
  return false;
}

// Gives the records of `letter` the time-out mark, or clears it, and lists a timed-out letter once.
void JudgeCall(Module1& m, char letter, bool timedOut) {
  for (std::size_t k = 1; k <= m.DriveLetters.size() && k < kDriveRecCount; ++k) {
    if (m.DriveLetters[k - 1] != letter) continue;
    DriveRec& r = m.DriveRecs[k];
    if (timedOut) {
      r.TimeoutMark = kTimeoutMark;
    } else if (r.TimeoutMark == kTimeoutMark) {
      r.TimeoutMark.clear();
    }
  }
  if (timedOut && !ContainsIgnoringCase(m.TimedOutLetters, letter)) m.TimedOutLetters += letter;
}

}  // namespace

std::string TrimAtNul(const std::string& text) {
  const std::size_t nul = text.find('\0');
  return nul == std::string::npos ? text : text.substr(0, nul);
}

bool IsTimedOut(int t0, int t1) {
  const int d = t1 - t0;
  return d > 3 || (d >= -57 && d <= -1);
}

bool GetVolumeInfo(Module1& m, VolumeService& volumes, ClockService& clock, const std::string& rootPath,
                   std::string& volumeName, std::int32_t& serialNumber, std::int32_t& maxComponentLength,
                   std::int32_t& fileSystemFlags, std::string& fileSystemName) {
  serialNumber = maxComponentLength = fileSystemFlags = 0;
  volumeName.assign(kBufferSize, ' ');
  fileSystemName.assign(kBufferSize, ' ');
  const int t0 = clock.Now().second;
  const VolumeAnswer answer = volumes.GetVolumeInformation(
      rootPath, volumeName, serialNumber, maxComponentLength, fileSystemFlags, fileSystemName);
  const int t1 = clock.Now().second;
  if (!rootPath.empty()) JudgeCall(m, rootPath[0], answer == VolumeAnswer::NoAnswer || IsTimedOut(t0, t1));
  volumeName = TrimAtNul(volumeName);
  fileSystemName = TrimAtNul(fileSystemName);
  return answer != VolumeAnswer::NoAnswer;
}

double GetFreeSpaceMB(Module1& m, VolumeService& volumes, const std::string& rootPath, bool* answered) {
  std::int32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  const VolumeAnswer answer =
      volumes.GetDiskFreeSpace(rootPath, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
  if (answered) *answered = answer != VolumeAnswer::NoAnswer;
  if (answer == VolumeAnswer::NoAnswer && !rootPath.empty()) JudgeCall(m, rootPath[0], true);
  if (answer != VolumeAnswer::Answered) {
    m.LastTotalGB = 0;
    return -1.0;
  }
  // A 32-bit product, as the counts and sizes are; computed wide so an overflow cannot wrap.
  const double bytesPerCluster =
      static_cast<double>(static_cast<std::int64_t>(bytesPerSector) * sectorsPerCluster);
  m.LastTotalGB = (totalClusters / 1024.0 / 1024.0) * bytesPerCluster / 1000.0;
  return (freeClusters / 1024.0 / 1024.0) * bytesPerCluster;
}

std::string DriveTypeName(std::int32_t typeCode) {
  for (const DriveTypeEntry& e : kDriveTypeNames) {
    if (e.code == typeCode) return e.name;
  }
  return "???";
}

}  // namespace volumetra
