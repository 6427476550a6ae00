// The Linux backend against the machine the tests run on.

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include "platform/linux/linux_volumes.h"

namespace volumetra {
namespace {

TEST(ThisMachine, RootFileSystemIsDriveCWithItsRealSize) {
  LinuxVolumes volumes{MakeLinuxSystemCalls(VOLUMETRA_HELPER), {.letterFile = ""}};
  ASSERT_EQ(volumes.ListDrive('C'), DrivePresence::Named);
  EXPECT_NE(volumes.GetDriveType("C:\\"), kDriveNoRoot);

  std::string label(255, ' '), fileSystem(255, ' ');
  std::int32_t serial = 0, nameLength = 0, flags = 0;
  ASSERT_EQ(volumes.GetVolumeInformation("C:\\", label, serial, nameLength, flags, fileSystem),
            VolumeAnswer::Answered);
  const std::string name = fileSystem.substr(0, fileSystem.find('\0'));
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(name.find_first_of("abcdefghijklmnopqrstuvwxyz."), std::string::npos) << name;

  struct statvfs root {};
  ASSERT_EQ(statvfs("/", &root), 0);
  EXPECT_EQ(nameLength, static_cast<std::int32_t>(root.f_namemax));

  std::int32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  ASSERT_EQ(volumes.GetDiskFreeSpace("C:\\", sectorsPerCluster, bytesPerSector, freeClusters, totalClusters),
            VolumeAnswer::Answered);
  const std::int64_t cluster = std::int64_t{sectorsPerCluster} * bytesPerSector;
  const std::int64_t total = static_cast<std::int64_t>(root.f_blocks * root.f_frsize);
  EXPECT_GT(totalClusters, 0);
  EXPECT_LE(freeClusters, totalClusters);
  EXPECT_GE(total, std::int64_t{totalClusters} * cluster);
  EXPECT_LT(total - std::int64_t{totalClusters} * cluster, cluster);
}

TEST(ThisMachine, EveryLetterInUseHasADriveTypeAndNoOtherDoes) {
  LinuxVolumes volumes{MakeLinuxSystemCalls(VOLUMETRA_HELPER), {.letterFile = ""}};
  volumes.ListDrive('C');
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const bool present = volumes.ListDrive(letter) == DrivePresence::Named;
    const std::string rootPath = std::string(1, letter) + ":\\";
    EXPECT_EQ(present, volumes.GetDriveType(rootPath) != kDriveNoRoot) << letter;
    EXPECT_EQ(present, !volumes.MountPointOf(letter).empty()) << letter;
    if (letter < 'C') {
      EXPECT_FALSE(present) << letter;
    }
  }
}

}  // namespace
}  // namespace volumetra
