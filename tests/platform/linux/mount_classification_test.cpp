#include "platform/linux/mount_classification.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/linux/fake_system_calls.h"
#include "platform/linux/mount_table.h"
#include "platform/linux/mountinfo_samples.h"

namespace volumetra {
namespace {

using Drives = std::vector<std::pair<std::string, MountKind>>;

Drives DrivesOf(FakeSystemCalls& system, const char* mountInfo) {
  Drives drives;
  for (const DriveMount& drive : SelectDriveMounts(system, ParseMountInfo(mountInfo)))
    drives.emplace_back(drive.entry.mountPoint, drive.kind);
  return drives;
}

TEST(DriveMounts, DesktopKeepsRootHomeStickAndUserRamDisk) {
  FakeSystemCalls system;
  EXPECT_EQ(DrivesOf(system, samples::kDesktop), (Drives{{"/", MountKind::Local},
                                                         {"/home", MountKind::Local},
                                                         {"/mnt/ram", MountKind::RamDisk},
                                                         {"/media/anna/STICK ONE", MountKind::Local}}));
}

TEST(DriveMounts, ContainerKeepsOverlayRootAndVolumeButNotBoundFiles) {
  FakeSystemCalls system;
  for (const char* file : samples::kContainerFileMounts) system.nonDirectories.insert(file);
  EXPECT_EQ(DrivesOf(system, samples::kContainer),
            (Drives{{"/", MountKind::Local}, {"/data", MountKind::Local}}));
}

TEST(DriveMounts, ServerKeepsDisksAndSharesButNotDockerSnapsOrNamespaces) {
  FakeSystemCalls system;
  EXPECT_EQ(DrivesOf(system, samples::kServer), (Drives{{"/", MountKind::Local},
                                                        {"/var", MountKind::Local},
                                                        {"/srv/share", MountKind::Network},
                                                        {"/mnt/backup", MountKind::Network},
                                                        {"/home/ops/remote", MountKind::Network},
                                                        {"/mnt/data", MountKind::Local}}));
}

TEST(DriveMounts, NeverTouchesMountPointsOfFileSystemsThatCanHang) {
  FakeSystemCalls system;
  DrivesOf(system, samples::kServer);
  EXPECT_EQ(system.directoryChecks, (std::vector<std::string>{"/var", "/mnt/data"}));
}

TEST(DriveMounts, OnlyTheTopMountOfAStackCounts) {
  FakeSystemCalls system;
  const Drives drives = DrivesOf(system,
                                 "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                 "2 1 8:2 / /mnt rw - ext4 /dev/sda2 rw\n"
                                 "3 2 0:40 / /mnt rw - tmpfs tmpfs rw\n");
  EXPECT_EQ(drives, (Drives{{"/", MountKind::Local}, {"/mnt", MountKind::RamDisk}}));
}

MountEntry Entry(std::string type, std::string source, std::string mountPoint) {
  MountEntry entry;
  entry.fileSystemType = std::move(type);
  entry.source = std::move(source);
  entry.mountPoint = std::move(mountPoint);
  return entry;
}

TEST(ClassifyMount, DecidesBorderCases) {
  struct Case {
    MountEntry entry;
    MountKind kind;
  };
  const Case cases[] = {
      {Entry("nfs4", "server:/", "/"), MountKind::Network},
      {Entry("tmpfs", "tmpfs", "/"), MountKind::RamDisk},
      {Entry("tmpfs", "tmpfs", "/tmp"), MountKind::RamDisk},
      {Entry("tmpfs", "tmpfs", "/run"), MountKind::NotADrive},
      {Entry("tmpfs", "tmpfs", "/runner"), MountKind::RamDisk},
      {Entry("ramfs", "ramfs", "/srv/scratch"), MountKind::RamDisk},
      {Entry("ext4", "/dev/sdc1", "/run/media/anna/DISK"), MountKind::Local},
      {Entry("ext4", "/dev/sda1", "/boot"), MountKind::NotADrive},
      {Entry("ext4", "/dev/sda1", "/bootstrap"), MountKind::Local},
      {Entry("squashfs", "/dev/loop3", "/mnt/image"), MountKind::NotADrive},
      {Entry("overlay", "overlay", "/mnt/merged"), MountKind::NotADrive},
      {Entry("autofs", "systemd-1", "/mnt/auto"), MountKind::NotADrive},
      {Entry("fuse.rclone", "gdrive:", "/mnt/gdrive"), MountKind::Network},
      {Entry("fuse", "https://dav.example/", "/mnt/dav"), MountKind::Network},
      {Entry("fuse.gocryptfs", "/home/anna/.cipher", "/home/anna/plain"), MountKind::Local},
      {Entry("fuseblk", "/dev/sdb1", "/mnt/win"), MountKind::Local},
      {Entry("fuse.lxcfs", "lxcfs", "/var/lib/lxcfs"), MountKind::NotADrive},
      {Entry("9p", "drvfs", "/mnt/c"), MountKind::Network},
      {Entry("coda", "coda", "/coda"), MountKind::Network},
      {Entry("ocfs2", "/dev/sdc1", "/cluster"), MountKind::Local},
      {Entry("zfs", "rpool/home", "/home"), MountKind::Local},
      {Entry("ufs", "none", "/mnt/unknown"), MountKind::NotADrive},
      {Entry("smb3", "//nas/media", "/mnt/media"), MountKind::Network},
      {Entry("fuse.curlftpfs", "curlftpfs#ftp://host/", "/mnt/ftp"), MountKind::Network},
      {Entry("nfsd", "nfsd", "/mnt/nfsd"), MountKind::NotADrive},
      {Entry("apparmorfs", "/dev/null", "/mnt/apparmor"), MountKind::NotADrive},
      {Entry("virtiofs", "shared", "/mnt/host"), MountKind::Network},
      {Entry("fuse.encfs", "encfs", "/home/anna/Private"), MountKind::Local},
      {Entry("fuse", "mergerfs", "/srv/pool"), MountKind::Local},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClassifyMount(c.entry), c.kind) << c.entry.fileSystemType << " at " << c.entry.mountPoint;
}

TEST(MayHang, NetworkFuseAndClusterFileSystemsButNotLocalOnes) {
  struct Case {
    MountEntry entry;
    bool mayHang;
  };
  const Case cases[] = {
      {Entry("nfs4", "server:/", "/"), true},
      {Entry("cifs", "//nas/backup", "/mnt/backup"), true},
      {Entry("coda", "coda", "/coda"), true},
      {Entry("fuse.sshfs", "ops@build:/home/ops", "/home/ops/remote"), true},
      {Entry("fuse", "https://dav.example/", "/mnt/dav"), true},
      {Entry("fuseblk", "/dev/sdb1", "/mnt/win"), true},
      {Entry("fuse.gocryptfs", "/home/anna/.cipher", "/home/anna/plain"), true},
      {Entry("ocfs2", "/dev/sdc1", "/cluster"), true},
      {Entry("smb3", "//nas/media", "/mnt/media"), true},
      {Entry("nfsd", "nfsd", "/mnt/nfsd"), false},
      {Entry("ext4", "/dev/sda1", "/"), false},
      {Entry("overlay", "overlay", "/"), false},
      {Entry("vfat", "/dev/sdb1", "/media/STICK"), false},
      {Entry("btrfs", "/dev/sdb", "/mnt/data"), false},
      {Entry("zfs", "rpool/home", "/home"), false},
      {Entry("tmpfs", "tmpfs", "/mnt/ram"), false},
      {Entry("iso9660", "/dev/sr0", "/media/cdrom"), false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MayHang(c.entry), c.mayHang) << c.entry.fileSystemType << " at " << c.entry.mountPoint;
}

TEST(DriveTypeOf, FollowsKindMediumAndRemovability) {
  const BlockDevice fixed{{8, 1}, "/dev/sda1", false, false, ""};
  const BlockDevice stick{{8, 17}, "/dev/sdb1", true, false, ""};
  const BlockDevice optical{{11, 0}, "/dev/sr0", true, true, ""};
  EXPECT_EQ(DriveTypeOf(MountKind::Local, "ext4", fixed), kDriveFixed);
  EXPECT_EQ(DriveTypeOf(MountKind::Local, "vfat", stick), kDriveRemovable);
  EXPECT_EQ(DriveTypeOf(MountKind::Local, "udf", optical), kDriveCdRom);
  EXPECT_EQ(DriveTypeOf(MountKind::Local, "iso9660", BlockDevice{{7, 0}, "/dev/loop0", false, false, ""}),
            kDriveCdRom);
  EXPECT_EQ(DriveTypeOf(MountKind::Local, "overlay", std::nullopt), kDriveFixed);
  EXPECT_EQ(DriveTypeOf(MountKind::Network, "nfs4", std::nullopt), kDriveRemote);
  EXPECT_EQ(DriveTypeOf(MountKind::RamDisk, "tmpfs", std::nullopt), kDriveRamDisk);
}

}  // namespace
}  // namespace volumetra
