#include "platform/linux/mount_info.h"

#include <gtest/gtest.h>

namespace volumetra {
namespace {

TEST(ParseMountInfo, ReadsFieldsPastOptionalFieldsAndDecodesEscapedPaths) {
  const auto entries = ParseMountInfo(
      "52 29 8:17 /sub\\134dir /media/anna/STICK\\040ONE\\011x rw,nosuid shared:31 master:4 - vfat /dev/sdb1 "
      "rw\n");
  ASSERT_EQ(entries.size(), 1u);
  const MountEntry& e = entries[0];
  EXPECT_EQ(e.mountId, 52);
  EXPECT_EQ(e.parentId, 29);
  EXPECT_EQ(e.device, (DeviceNumber{8, 17}));
  EXPECT_EQ(e.root, "/sub\\dir");
  EXPECT_EQ(e.mountPoint, "/media/anna/STICK ONE\tx");
  EXPECT_EQ(e.fileSystemType, "vfat");
  EXPECT_EQ(e.source, "/dev/sdb1");
  EXPECT_FALSE(e.mountsFile);
}

TEST(ParseMountInfo, SkipsMalformedLinesAndKeepsAnEmptySourceInPlace) {
  const auto entries = ParseMountInfo(
      "garbage\n"
      "\n"
      "1 2 8:1 / /no-separator rw ext4 /dev/sda1 rw\n"
      "x 2 8:1 / /bad-id rw - ext4 /dev/sda1 rw\n"
      "3 2 8 / /bad-device rw - ext4 /dev/sda1 rw\n"
      "4 2 0:40 / /mnt/odd rw - ufs  rw\n"
      "5 2 8:1 / / rw - ext4 /dev/sda1 rw");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].mountPoint, "/mnt/odd");
  EXPECT_EQ(entries[0].fileSystemType, "ufs");
  EXPECT_EQ(entries[0].source, "");
  EXPECT_EQ(entries[1].mountPoint, "/");  // the last line needs no line end
}

}  // namespace
}  // namespace volumetra
