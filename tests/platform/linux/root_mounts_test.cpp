// The Linux backend against volumes the tests mount themselves (needs root).

#include <gtest/gtest.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/linux/linux_volumes.h"
#include "platform/linux/scratch_mounts.h"
#include "support/linux/test_fuse.h"
#include "support/machine/temp_dir.h"

namespace volumetra {
namespace {

constexpr const char* kExt4Uuid = "1b4e28ba-2fa1-11d2-883f-0016d3cca427";

struct Volume {
  char letter = 0;
  std::string label;
  std::string fileSystem;
  std::uint32_t serial = 0;
  std::int32_t nameLength = 0;
  std::int64_t totalBytes = 0;
  std::int64_t clusterBytes = 0;
  int driveType = 0;
};

std::string UpToNul(const std::string& buffer) {
  return buffer.substr(0, buffer.find('\0'));
}

// The drive at `mountPoint` as the backend shows it, after a fresh read of the mount table.
std::optional<Volume> DriveAt(LinuxVolumes& volumes, const std::string& mountPoint) {
  volumes.ListDrive('C');
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    if (volumes.MountPointOf(letter) != mountPoint) continue;
    const std::string rootPath = std::string(1, letter) + ":\\";
    Volume v;
    v.letter = letter;
    std::string label(255, ' '), fileSystem(255, ' ');
    std::int32_t serial = 0, flags = 0;
    if (volumes.GetVolumeInformation(rootPath, label, serial, v.nameLength, flags, fileSystem) !=
        VolumeAnswer::Answered)
      return std::nullopt;
    v.label = UpToNul(label);
    v.fileSystem = UpToNul(fileSystem);
    v.serial = static_cast<std::uint32_t>(serial);
    std::int32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (volumes.GetDiskFreeSpace(rootPath, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters) !=
        VolumeAnswer::Answered)
      return std::nullopt;
    v.clusterBytes = std::int64_t{sectorsPerCluster} * bytesPerSector;
    v.totalBytes = v.clusterBytes * totalClusters;
    v.driveType = volumes.GetDriveType(rootPath);
    return v;
  }
  return std::nullopt;
}

std::int64_t StatvfsTotalBytes(const std::string& path) {
  struct statvfs stats {};
  if (statvfs(path.c_str(), &stats) != 0) return -1;
  return static_cast<std::int64_t>(stats.f_blocks * stats.f_frsize);
}

class RootMounts : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "needs root: mounts loop images, tmpfs and bind mounts";
    ASSERT_TRUE(EnterPrivateMountNamespace()) << "no mount namespace of the test's own";
    ASSERT_FALSE(scratch.str().empty());
  }

  // An image file of `sizeMB` formatted by `mkfs` (the image path is appended).
  std::string MakeImage(const std::string& name, int sizeMB, const std::string& mkfs) {
    const std::string image = scratch.str() + "/" + name;
    std::ofstream(image).close();
    std::filesystem::resize_file(image, static_cast<std::uintmax_t>(sizeMB) << 20);
    return RunQuietly(mkfs + " '" + image + "'") ? image : std::string();
  }

  TempDir scratch;
  ScratchMounts mounts;
  LinuxVolumes volumes{MakeLinuxSystemCalls(VOLUMETRA_HELPER), {.letterFile = ""}};
};

TEST_F(RootMounts, Ext4ImageShowsLabelUuidSerialAndSize) {
  const std::string image =
      MakeImage("ext4.img", 8, std::string("mkfs.ext4 -q -F -L vt-ext4 -U ") + kExt4Uuid);
  ASSERT_FALSE(image.empty()) << "mkfs.ext4 failed (package e2fsprogs)";
  const std::string directory = scratch.MakeDirectory("ext4");
  if (!mounts.MountImage(image, directory)) GTEST_SKIP() << "cannot mount a loop device here";

  const std::optional<Volume> drive = DriveAt(volumes, directory);
  ASSERT_TRUE(drive);
  EXPECT_GE(drive->letter, 'D');
  EXPECT_EQ(drive->label, "vt-ext4");
  EXPECT_EQ(drive->serial, 0x1b4e28bau);
  EXPECT_EQ(drive->fileSystem, "EXT4");
  EXPECT_EQ(drive->nameLength, 255);
  EXPECT_EQ(drive->driveType, kDriveFixed);
  const std::int64_t total = StatvfsTotalBytes(directory);
  EXPECT_GE(total, drive->totalBytes);
  EXPECT_LT(total - drive->totalBytes, drive->clusterBytes);
}

TEST_F(RootMounts, BindMountShowsTheSameVolumeUnderASecondLetter) {
  const std::string image = MakeImage("bind.img", 8, "mkfs.ext4 -q -F -L vt-bind");
  ASSERT_FALSE(image.empty()) << "mkfs.ext4 failed (package e2fsprogs)";
  const std::string directory = scratch.MakeDirectory("original");
  if (!mounts.MountImage(image, directory)) GTEST_SKIP() << "cannot mount a loop device here";
  std::filesystem::create_directory(directory + "/sub");
  const std::string bound = scratch.MakeDirectory("bound");
  ASSERT_TRUE(mounts.Bind(directory + "/sub", bound));

  const std::optional<Volume> original = DriveAt(volumes, directory);
  const std::optional<Volume> second = DriveAt(volumes, bound);
  ASSERT_TRUE(original && second);
  EXPECT_NE(original->letter, second->letter);
  EXPECT_EQ(second->label, "vt-bind");
  EXPECT_EQ(second->label, original->label);
  EXPECT_EQ(second->serial, original->serial);
  EXPECT_EQ(second->fileSystem, original->fileSystem);
  EXPECT_EQ(second->nameLength, original->nameLength);
  EXPECT_EQ(second->totalBytes, original->totalBytes);
}

TEST_F(RootMounts, FatImageShowsItsLabelAndSerial) {
  if (!KernelSupports("vfat")) GTEST_SKIP() << "this kernel cannot mount vfat";
  const std::string image = MakeImage("fat.img", 16, "mkfs.vfat -n VTFAT -i 1A2B3C4D");
  ASSERT_FALSE(image.empty()) << "mkfs.vfat failed (package dosfstools)";
  const std::string directory = scratch.MakeDirectory("fat");
  if (!mounts.MountImage(image, directory)) GTEST_SKIP() << "cannot mount a loop device here";

  const std::optional<Volume> drive = DriveAt(volumes, directory);
  ASSERT_TRUE(drive);
  EXPECT_EQ(drive->label, "VTFAT");
  EXPECT_EQ(drive->serial, 0x1A2B3C4Du);
  EXPECT_EQ(drive->fileSystem, "FAT");
}

TEST_F(RootMounts, TmpfsIsARamDisk) {
  const std::string directory = scratch.MakeDirectory("ram");
  ASSERT_TRUE(mounts.MountTmpfs(directory, "size=1m"));
  const std::optional<Volume> drive = DriveAt(volumes, directory);
  ASSERT_TRUE(drive);
  EXPECT_EQ(drive->driveType, kDriveRamDisk);
  EXPECT_EQ(drive->fileSystem, "TMPFS");
  EXPECT_EQ(drive->label, "");
  EXPECT_EQ(drive->totalBytes, 1 << 20);
}

TEST_F(RootMounts, UnmountedVolumeLosesItsLetter) {
  const std::string directory = scratch.MakeDirectory("gone");
  std::optional<Volume> drive;
  {
    ScratchMounts shortLived;
    ASSERT_TRUE(shortLived.MountTmpfs(directory, "size=64k"));
    drive = DriveAt(volumes, directory);
    ASSERT_TRUE(drive);
  }
  volumes.ListDrive('C');
  EXPECT_NE(volumes.MountPointOf(drive->letter), directory);
}

}  // namespace
}  // namespace volumetra
