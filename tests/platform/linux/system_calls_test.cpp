// The real system calls, on image files the tests make.

#include "platform/linux/system_calls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/linux/scratch_mounts.h"
#include "support/machine/temp_dir.h"

namespace volumetra {
namespace {

class RealSystemCallsTest : public ::testing::Test {
 protected:
  std::string MakeImage(const std::string& name, const std::string& mkfs) {
    const std::string image = scratch.str() + "/" + name;
    std::ofstream(image).close();
    std::filesystem::resize_file(image, 16u << 20);
    return RunQuietly(mkfs + " '" + image + "'") ? image : std::string();
  }

  TempDir scratch;
  std::shared_ptr<LinuxSystemCalls> system = MakeLinuxSystemCalls();
};

TEST_F(RealSystemCallsTest, LibblkidReadsLabelAndUuidOfFatAndExt4) {
  const std::string fat = MakeImage("fat.img", "mkfs.vfat -n 'MY STICK' -i 00C0FFEE");
  ASSERT_FALSE(fat.empty()) << "mkfs.vfat failed (package dosfstools)";
  const auto fatIdentity = system->ProbeBlockDevice(fat);
  ASSERT_TRUE(fatIdentity);
  EXPECT_EQ(fatIdentity->label, "MY STICK");
  EXPECT_EQ(fatIdentity->uuid, "00C0-FFEE");

  const std::string ext4 =
      MakeImage("ext4.img", "mkfs.ext4 -q -F -L data -U 0a1b2c3d-0000-4000-8000-000000000001");
  ASSERT_FALSE(ext4.empty()) << "mkfs.ext4 failed (package e2fsprogs)";
  const auto ext4Identity = system->ProbeBlockDevice(ext4);
  ASSERT_TRUE(ext4Identity);
  EXPECT_EQ(ext4Identity->label, "data");
  EXPECT_EQ(ext4Identity->uuid, "0a1b2c3d-0000-4000-8000-000000000001");
}

TEST_F(RealSystemCallsTest, BlankImageHasNoIdentityAndMissingFileCannotBeProbed) {
  const std::string blank = scratch.str() + "/blank.img";
  std::ofstream(blank).close();
  std::filesystem::resize_file(blank, 1u << 20);
  const auto identity = system->ProbeBlockDevice(blank);
  ASSERT_TRUE(identity);
  EXPECT_EQ(identity->label, "");
  EXPECT_EQ(identity->uuid, "");
  EXPECT_FALSE(system->ProbeBlockDevice(scratch.str() + "/missing.img"));
  EXPECT_FALSE(system->BlockDeviceAt(blank));  // an image file is no block device
}

}  // namespace
}  // namespace volumetra
