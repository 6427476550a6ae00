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
  drive.device = BlockDevice{number, std::move(path), false, false, ""};
  return drive;
}

TEST(UdevIdentity, UsesUdevLinksWhenUdevKnowsTheDevice) {
  FakeSystemCalls system;
  system.directories["/dev/disk/by-uuid"] = {"0000-1111", "1b4e28ba-2fa1-11d2-883f-0016d3cca427"};
  system.directories["/dev/disk/by-label"] = {"Other", "My\\x20Disk"};
  system.blockDevices["/dev/disk/by-uuid/0000-1111"] = {8, 2};
  system.blockDevices["/dev/disk/by-uuid/1b4e28ba-2fa1-11d2-883f-0016d3cca427"] = {8, 1};
  system.blockDevices["/dev/disk/by-label/Other"] = {8, 2};
  system.blockDevices["/dev/disk/by-label/My\\x20Disk"] = {8, 1};

  const std::optional<BlockIdentity> labelled = UdevIdentity(system, Disk({8, 1}, "/dev/sda1"));
  ASSERT_TRUE(labelled);
  EXPECT_EQ(labelled->label, "My Disk");
  EXPECT_EQ(IdentityOf(Disk({8, 1}, "/dev/sda1"), *labelled, {}).serialNumber, 0x1b4e28bau);

  system.directories["/dev/disk/by-label"] = {"Other"};
  const std::optional<BlockIdentity> unlabelled = UdevIdentity(system, Disk({8, 1}, "/dev/sda1"));
  ASSERT_TRUE(unlabelled);
  EXPECT_EQ(unlabelled->label, "");
  EXPECT_EQ(unlabelled->uuid, "1b4e28ba-2fa1-11d2-883f-0016d3cca427");
  EXPECT_EQ(system.probeCalls, 0);
  EXPECT_EQ(KnownVolumeOf(system, Disk({8, 1}, "/dev/sda1")).uuid, "1b4e28ba-2fa1-11d2-883f-0016d3cca427");
}

TEST(UdevIdentity, LeavesADeviceUdevDoesNotKnowToLibblkid) {
  FakeSystemCalls system;
  EXPECT_EQ(UdevIdentity(system, Disk({7, 3}, "/dev/loop3")), std::nullopt);
  EXPECT_EQ(UdevIdentity(system, Disk({7, 3}, "")), BlockIdentity{});  // no node to probe
  DriveMount share;
  share.entry.source = "server:/export";
  EXPECT_EQ(UdevIdentity(system, share), BlockIdentity{});  // nothing to probe
  EXPECT_EQ(system.probeCalls, 0);
  const VolumeIdentity probed = IdentityOf(Disk({7, 3}, "/dev/loop3"), {"STICK", "ABCD-0123"}, {});
  EXPECT_EQ(probed.label, "STICK");
  EXPECT_EQ(probed.serialNumber, 0xABCD0123u);
}

TEST(IdentityOf, FallsBackToFileSystemIdThenDeviceNumber) {
  DriveMount share;
  share.entry.device = {0, 40};
  FileSystemStats stats;
  stats.fileSystemId = 0x1111222233334444u;
  EXPECT_EQ(IdentityOf(share, {}, stats).serialNumber, 0x22226666u);
  EXPECT_EQ(IdentityOf(share, {}, {}).serialNumber, 40u);
  EXPECT_EQ(IdentityOf(share, {"", "not-a-uuid"}, stats).serialNumber, 0x22226666u);
}

TEST(KnownVolumeOf, NamesALoopDeviceByItsImageAndABindMountByItsDirectory) {
  FakeSystemCalls system;
  DriveMount loop = Disk({7, 3}, "/dev/loop3");
  loop.entry.source = "/dev/loop3";
  loop.entry.root = "/photos";
  loop.entry.mountPoint = "/srv/photos";
  loop.device->backingFile = "/data/images/archive.img";
  EXPECT_EQ(KnownVolumeOf(system, loop),
            (KnownVolume{"", "/data/images/archive.img", "/photos", "/srv/photos"}));
  DriveMount share;
  share.entry = {1, 1, {0, 40}, "/", "/mnt/share", "nfs4", "server:/export", false};
  EXPECT_EQ(KnownVolumeOf(system, share), (KnownVolume{"", "server:/export", "/", "/mnt/share"}));
}

}  // namespace
}  // namespace volumetra
