#include "platform/linux/file_system_traits.h"

#include <gtest/gtest.h>

namespace volumetra {
namespace {

TEST(FileSystemDisplayName, UpperCaseTypesAndWindowsNames) {
  EXPECT_EQ(FileSystemDisplayName("ext4", 1000), "EXT4");
  EXPECT_EQ(FileSystemDisplayName("nfs4", 0), "NFS4");
  EXPECT_EQ(FileSystemDisplayName("fuse.sshfs", 0), "SSHFS");
  EXPECT_EQ(FileSystemDisplayName("fuseblk", 0), "FUSEBLK");
  EXPECT_EQ(FileSystemDisplayName("ntfs3", 0), "NTFS");
  EXPECT_EQ(FileSystemDisplayName("exfat", 0), "exFAT");
  EXPECT_EQ(FileSystemDisplayName("iso9660", 0), "CDFS");
}

TEST(FileSystemDisplayName, FatWidthFollowsTheClusterCount) {
  EXPECT_EQ(FileSystemDisplayName("vfat", 65524), "FAT");
  EXPECT_EQ(FileSystemDisplayName("vfat", 65525), "FAT32");
  EXPECT_EQ(FileSystemDisplayName("msdos", 100000), "FAT");
}

}  // namespace
}  // namespace volumetra
