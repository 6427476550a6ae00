#include "support/todays_drives.h"

namespace volumetra {

void AddTodaysDrives(FakeVolumes& volumes) {
  volumes.add('C', 250000, 70874.9609375, "SYSTEM", 3, "EXT4");
  volumes.add('D', 16, 16, "", 6, "TMPFS");
  volumes.add('E', 1000, 400, "iso", 3, "FUSEISO");
  FakeVolume& big = volumes.add('F', 0, 0, "archive", 3, "XFS");
  // 20 TiB in clusters of 1 MB, so the counts stay inside 32 bits.
  big.sectorsPerCluster = 2048;
  big.bytesPerSector = 512;
  big.totalClusters = 20 * 1024 * 1024;
  big.freeClusters = 20 * 1024 * 1024 - 4096;
  big.serialNumber = 0x80000000u;
}

}  // namespace volumetra
