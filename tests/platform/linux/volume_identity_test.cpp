#include "platform/linux/volume_identity.h"

#include <gtest/gtest.h>

#include "platform/linux/fake_system_calls.h"

namespace volumetra {
namespace {

TEST(DecodeUdevEscapes, DecodesHexEscapesOnly) {
  EXPECT_EQ(DecodeUdevEscapes("My\\x20Disk\\x2fA\\x5c"), "My Disk/A\\");
  EXPECT_EQ(DecodeUdevEscapes("plain\\x2"), "plain\\x2");
  EXPECT_EQ(DecodeUdevEscapes("a\\xZZ"), "a\\xZZ");
}

TEST(SerialFromUuid, TakesTheDigitsWindowsShows) {
  EXPECT_EQ(SerialFromUuid("1A2B-3C4D"), 0x1A2B3C4Du);                             // FAT, exFAT
  EXPECT_EQ(SerialFromUuid("0123456789ABCDEF"), 0x89ABCDEFu);                      // NTFS
  EXPECT_EQ(SerialFromUuid("1b4e28ba-2fa1-11d2-883f-0016d3cca427"), 0x1b4e28bau);  // ext4 and others
  EXPECT_EQ(SerialFromUuid("1A2B-3C4"), std::nullopt);
  EXPECT_EQ(SerialFromUuid(""), std::nullopt);
}

DriveMount Disk(DeviceNumber number, std::string path) {
  DriveMount drive;
  drive.entry.device = number;
  drive.entry.mountPoint = "/mnt/disk";
  drive.device = BlockDevice{number, std::move(path), false, false};
  return drive;
}

TEST(LookUpIdentity, UsesUdevLinksWhenUdevKnowsTheDevice) {
  FakeSystemCalls system;
  system.directories["/dev/disk/by-uuid"] = {"0000-1111", "1b4e28ba-2fa1-11d2-883f-0016d3cca427"};
  system.directories["/dev/disk/by-label"] = {"Other", "My\\x20Disk"};
  system.blockDevices["/dev/disk/by-uuid/0000-1111"] = {8, 2};
  system.blockDevices["/dev/disk/by-uuid/1b4e28ba-2fa1-11d2-883f-0016d3cca427"] = {8, 1};
  system.blockDevices["/dev/disk/by-label/Other"] = {8, 2};
  system.blockDevices["/dev/disk/by-label/My\\x20Disk"] = {8, 1};

  const VolumeIdentity labelled = LookUpIdentity(system, Disk({8, 1}, "/dev/sda1"), {});
  EXPECT_EQ(labelled.label, "My Disk");
  EXPECT_EQ(labelled.serialNumber, 0x1b4e28bau);

  system.directories["/dev/disk/by-label"] = {"Other"};
  const VolumeIdentity unlabelled = LookUpIdentity(system, Disk({8, 1}, "/dev/sda1"), {});
  EXPECT_EQ(unlabelled.label, "");
  EXPECT_EQ(unlabelled.serialNumber, 0x1b4e28bau);
  EXPECT_EQ(system.probeCalls, 0);
}

TEST(LookUpIdentity, ProbesTheDeviceWhenThereIsNoUdev) {
  FakeSystemCalls system;
  system.identities["/dev/loop3"] = {"STICK", "ABCD-0123"};
  const VolumeIdentity identity = LookUpIdentity(system, Disk({7, 3}, "/dev/loop3"), {});
  EXPECT_EQ(identity.label, "STICK");
  EXPECT_EQ(identity.serialNumber, 0xABCD0123u);
}

TEST(LookUpIdentity, FallsBackToFileSystemIdThenDeviceNumber) {
  FakeSystemCalls system;
  DriveMount share;
  share.entry.device = {0, 40};
  FileSystemStats stats;
  stats.fileSystemId = 0x1111222233334444u;
  EXPECT_EQ(LookUpIdentity(system, share, stats).serialNumber, 0x22226666u);
  EXPECT_EQ(LookUpIdentity(system, share, {}).serialNumber, 40u);

  // A device that cannot be probed (no permission) also falls back.
  const VolumeIdentity unreadable = LookUpIdentity(system, Disk({254, 0}, "/dev/vda"), stats);
  EXPECT_EQ(unreadable.label, "");
  EXPECT_EQ(unreadable.serialNumber, 0x22226666u);
}

}  // namespace
}  // namespace volumetra
