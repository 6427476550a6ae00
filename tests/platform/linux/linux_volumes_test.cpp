#include "platform/linux/linux_volumes.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <set>
#include <thread>

#include "platform/linux/fake_system_calls.h"
#include "platform/linux/mountinfo_samples.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;

constexpr std::uint64_t kTiB = std::uint64_t{1} << 40;
constexpr std::chrono::milliseconds kCoolDown = CallGuard::kDefaultCoolDown;

FileSystemStats Stats(std::uint64_t blockSize, std::uint64_t totalBlocks, std::uint64_t availableBlocks,
                      std::uint64_t maxNameLength = 255) {
  FileSystemStats stats;
  stats.fragmentSize = blockSize;
  stats.blockSize = blockSize;
  stats.totalBlocks = totalBlocks;
  stats.availableBlocks = availableBlocks;
  stats.fileSystemId = 0x0000000100000002u + totalBlocks;
  stats.maxNameLength = maxNameLength;
  return stats;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

/// What GetVolumeInformation and GetDiskFreeSpace tell about one letter.
struct Answer {
  bool volumeOk = false;
  std::string volumeName = std::string(255, ' ');
  std::string fileSystemName = std::string(255, ' ');
  std::int32_t serial = 0, nameLength = 0, flags = 0;
  bool spaceOk = false;
  std::int32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;

  std::int64_t TotalBytes() const { return std::int64_t{totalClusters} * sectorsPerCluster * bytesPerSector; }
};

Answer Ask(LinuxVolumes& volumes, const std::string& rootPath) {
  Answer a;
  a.volumeOk = volumes.GetVolumeInformation(rootPath, a.volumeName, a.serial, a.nameLength, a.flags,
                                            a.fileSystemName) == VolumeAnswer::Answered;
  a.spaceOk = volumes.GetDiskFreeSpace(rootPath, a.sectorsPerCluster, a.bytesPerSector, a.freeClusters,
                                       a.totalClusters) == VolumeAnswer::Answered;
  return a;
}

bool FreeSpaceOk(LinuxVolumes& volumes, const std::string& rootPath) {
  std::int32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  return volumes.GetDiskFreeSpace(rootPath, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters) ==
         VolumeAnswer::Answered;
}

// Asks `query` again until it holds: a stuck call returns on a thread of its own.
bool Eventually(const std::function<bool()>& query) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (std::chrono::steady_clock::now() < deadline) {
    if (query()) return true;
    std::this_thread::yield();
  }
  return false;
}

class LinuxVolumesTest : public ::testing::Test {
 protected:
  LinuxVolumesTest() {
    system->SetMountInfo(samples::kDesktop);
    system->fileSystems["/"] = Stats(4096, 10'000'000, 4'000'000);
    system->fileSystems["/home"] = Stats(4096, 50'000'000, 20'000'000);
    system->fileSystems["/mnt/ram"] = Stats(4096, 262'144, 262'000);
    system->fileSystems["/media/anna/STICK ONE"] = Stats(16384, 1'900'000, 1'000'000, 1530);
    AddPartition("259:2", "nvme0n1p2", "0");
    AddPartition("259:4", "nvme0n1p4", "0");
    AddPartition("8:17", "sdb1", "1");
    system->identities["/dev/sdb1"] = {"STICK ONE", "1A2B-3C4D"};
    system->identities["/dev/nvme0n1p4"] = {"home", "1b4e28ba-2fa1-11d2-883f-0016d3cca427"};
  }
  ~LinuxVolumesTest() override { system->Release(); }

  void AddPartition(const std::string& number, const std::string& name, const std::string& removable) {
    const std::string sysfs = "/sys/dev/block/" + number;
    system->files[sysfs + "/uevent"] = "MAJOR=x\nDEVNAME=" + name + "\nDEVTYPE=partition\n";
    system->files[sysfs + "/partition"] = "1\n";
    system->files[sysfs + "/../removable"] = removable + "\n";
  }

  std::shared_ptr<FakeSystemCalls> system = std::make_shared<FakeSystemCalls>();
  /// The steady clock the cool-down is measured on; tests move it.
  std::chrono::steady_clock::time_point now{};
  LinuxVolumes volumes{system, 100ms, kCoolDown, [this] { return now; }};
};

TEST_F(LinuxVolumesTest, MapsTheDrivesToLettersWithTheirTypes) {
  EXPECT_EQ(volumes.ListDrive('C'), DrivePresence::Named);
  EXPECT_EQ(volumes.MountPointOf('C'), "/");
  EXPECT_EQ(volumes.MountPointOf('D'), "/home");
  EXPECT_EQ(volumes.MountPointOf('E'), "/mnt/ram");
  EXPECT_EQ(volumes.MountPointOf('f'), "/media/anna/STICK ONE");
  EXPECT_EQ(volumes.ListDrive('F'), DrivePresence::Named);
  EXPECT_EQ(volumes.ListDrive('G'), DrivePresence::Empty);
  EXPECT_EQ(volumes.ListDrive('A'), DrivePresence::Empty);

  EXPECT_EQ(volumes.GetDriveType("C:\\"), kDriveFixed);
  EXPECT_EQ(volumes.GetDriveType("E:\\"), kDriveRamDisk);
  EXPECT_EQ(volumes.GetDriveType("F:\\"), kDriveRemovable);
  EXPECT_EQ(volumes.GetDriveType("G:\\"), kDriveNoRoot);
  EXPECT_EQ(volumes.GetDriveType("\\"), kDriveNoRoot);
}

TEST_F(LinuxVolumesTest, ReadsTheMountTableOnFirstUseAndAgainOnlyWhenAskedForC) {
  EXPECT_EQ(volumes.GetDriveType("E:\\"), kDriveRamDisk);  // first use reads the table

  std::string changed =
      Replace(samples::kDesktop, "46 29 259:4 / /home rw,relatime shared:25 - ext4 /dev/nvme0n1p4 rw\n", "");
  changed += "60 29 0:50 / /mnt/usb rw - tmpfs tmpfs rw\n";
  system->SetMountInfo(changed);
  EXPECT_EQ(volumes.MountPointOf('D'), "/home");
  EXPECT_EQ(volumes.ListDrive('D'), DrivePresence::Named);

  EXPECT_EQ(volumes.ListDrive('C'), DrivePresence::Named);
  EXPECT_EQ(volumes.MountPointOf('D'), "/mnt/usb");
  EXPECT_EQ(volumes.MountPointOf('E'), "/mnt/ram");
  EXPECT_EQ(volumes.MountPointOf('F'), "/media/anna/STICK ONE");

  // A mount table that cannot be read leaves the drives as they were.
  system->files.erase("/proc/self/mountinfo");
  EXPECT_EQ(volumes.ListDrive('C'), DrivePresence::Named);
  EXPECT_EQ(volumes.ListDrive('F'), DrivePresence::Named);
}

TEST_F(LinuxVolumesTest, FillsTheCallersBuffersLikeWindows) {
  const Answer stick = Ask(volumes, "F:\\");
  ASSERT_TRUE(stick.volumeOk);
  EXPECT_EQ(stick.volumeName, "STICK ONE" + std::string(1, '\0') + std::string(245, ' '));
  EXPECT_EQ(stick.fileSystemName, "FAT32" + std::string(1, '\0') + std::string(249, ' '));
  EXPECT_EQ(static_cast<std::uint32_t>(stick.serial), 0x1A2B3C4Du);
  EXPECT_EQ(stick.nameLength, 1530);
  EXPECT_EQ(stick.flags, 0x2);
  ASSERT_TRUE(stick.spaceOk);
  EXPECT_EQ(stick.TotalBytes(), std::int64_t{1'900'000} * 16384);
  EXPECT_EQ(std::int64_t{stick.freeClusters} * stick.sectorsPerCluster * stick.bytesPerSector,
            std::int64_t{1'000'000} * 16384);
}

TEST_F(LinuxVolumesTest, FailedQueriesWriteNothing) {
  system->fileSystems.erase("/home");
  for (const char* rootPath : {"D:\\", "G:\\", ""}) {
    const Answer failed = Ask(volumes, rootPath);
    const Answer untouched;
    EXPECT_FALSE(failed.volumeOk) << rootPath;
    EXPECT_FALSE(failed.spaceOk) << rootPath;
    EXPECT_EQ(failed.volumeName, untouched.volumeName);
    EXPECT_EQ(failed.fileSystemName, untouched.fileSystemName);
    EXPECT_EQ(failed.serial, 0);
    EXPECT_EQ(failed.totalClusters, 0);
    EXPECT_EQ(failed.sectorsPerCluster, 0);
  }
}

TEST_F(LinuxVolumesTest, BindMountShowsTheSameVolumeAsItsOriginal) {
  system->SetMountInfo(std::string(samples::kDesktop) +
                       "60 29 259:4 /anna/projects /srv/projects rw - ext4 /dev/nvme0n1p4 rw\n");
  system->fileSystems["/srv/projects"] = system->fileSystems["/home"];
  ASSERT_EQ(volumes.ListDrive('C'), DrivePresence::Named);
  ASSERT_EQ(volumes.MountPointOf('G'), "/srv/projects");

  const Answer original = Ask(volumes, "D:\\");
  const Answer bound = Ask(volumes, "G:\\");
  ASSERT_TRUE(original.volumeOk && bound.volumeOk && original.spaceOk && bound.spaceOk);
  EXPECT_EQ(original.volumeName.substr(0, 5), std::string("home") + '\0');
  EXPECT_EQ(bound.volumeName, original.volumeName);
  EXPECT_EQ(bound.fileSystemName, original.fileSystemName);
  EXPECT_EQ(bound.serial, original.serial);
  EXPECT_EQ(bound.nameLength, original.nameLength);
  EXPECT_EQ(bound.TotalBytes(), original.TotalBytes());
  EXPECT_EQ(volumes.GetDriveType("G:\\"), volumes.GetDriveType("D:\\"));
}

TEST_F(LinuxVolumesTest, MultiTerabyteVolumeKeepsCountsInRangeAndTotalsRight) {
  system->fileSystems["/home"] = Stats(4096, 40 * kTiB / 4096, 7 * kTiB / 4096);
  const Answer home = Ask(volumes, "D:\\");
  ASSERT_TRUE(home.spaceOk);
  EXPECT_LE(std::int64_t{home.sectorsPerCluster} * home.bytesPerSector,
            std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(home.TotalBytes(), static_cast<std::int64_t>(40 * kTiB));
  EXPECT_EQ(std::int64_t{home.freeClusters} * home.sectorsPerCluster * home.bytesPerSector,
            static_cast<std::int64_t>(7 * kTiB));
}

TEST_F(LinuxVolumesTest, LocalDrivesAreAskedOnTheCallingThread) {
  const std::set<std::thread::id> here = {std::this_thread::get_id()};
  for (const char* rootPath : {"C:\\", "D:\\", "E:\\", "F:\\"})
    for (int survey = 0; survey < 2; ++survey) EXPECT_TRUE(FreeSpaceOk(volumes, rootPath)) << rootPath;
  EXPECT_EQ(volumes.GuardWorkersStarted(), 0);
  for (const char* mountPoint : {"/", "/home", "/mnt/ram", "/media/anna/STICK ONE"})
    EXPECT_EQ(system->StatThreadsOf(mountPoint), here) << mountPoint;

  // A RAM disk has no medium to read: its volume information is asked here as well.
  EXPECT_TRUE(Ask(volumes, "E:\\").volumeOk);
  EXPECT_EQ(volumes.GuardWorkersStarted(), 0);
  // The first label lookup of a disk may read the medium, so it runs on a worker; later ones use
  // what it found and stay here.
  EXPECT_TRUE(Ask(volumes, "D:\\").volumeOk);
  EXPECT_EQ(volumes.GuardWorkersStarted(), 1);
  EXPECT_EQ(system->StatThreadsOf("/home").size(), 2u);
  EXPECT_TRUE(Ask(volumes, "D:\\").volumeOk);
  EXPECT_EQ(volumes.GuardWorkersStarted(), 1);
  EXPECT_EQ(system->StatThreadsOf("/home").size(), 2u);
}

TEST_F(LinuxVolumesTest, LooksUpLabelAndSerialOncePerMountTableRead) {
  const auto survey = [&] {
    EXPECT_EQ(volumes.GetDriveType("F:\\"), kDriveRemovable);
    return Ask(volumes, "F:\\");
  };
  const Answer first = survey();
  const Answer second = survey();
  EXPECT_EQ(system->probeCalls, 1);
  EXPECT_EQ(first.volumeName.substr(0, 10), std::string("STICK ONE") + '\0');
  EXPECT_EQ(second.volumeName, first.volumeName);
  EXPECT_EQ(second.serial, first.serial);
  EXPECT_EQ(system->StatCallsOf("/media/anna/STICK ONE"), 4);  // free space is asked every time

  // Relabelled: the new label shows once discovery has read the mount table again.
  system->identities["/dev/sdb1"] = {"RENAMED", "5E6F-7A8B"};
  EXPECT_EQ(survey().volumeName, first.volumeName);
  EXPECT_EQ(system->probeCalls, 1);
  ASSERT_EQ(volumes.ListDrive('C'), DrivePresence::Named);
  EXPECT_EQ(system->probeCalls, 1);  // looked up at next use, not by discovery
  const Answer relabelled = survey();
  EXPECT_EQ(system->probeCalls, 2);
  EXPECT_EQ(relabelled.volumeName.substr(0, 8), std::string("RENAMED") + '\0');
  EXPECT_EQ(static_cast<std::uint32_t>(relabelled.serial), 0x5E6F7A8Bu);
  survey();
  EXPECT_EQ(system->probeCalls, 2);
}

TEST_F(LinuxVolumesTest, MediumThatHangsCoolsDownItsDriveAndNoOther) {
  system->Hang("/home");  // the first volume query of D: reads on a worker, and gets stuck there
  EXPECT_FALSE(Ask(volumes, "D:\\").volumeOk);
  EXPECT_FALSE(FreeSpaceOk(volumes, "D:\\"));  // asked here, but D: is cooling down
  EXPECT_EQ(system->StatCallsOf("/home"), 1);
  EXPECT_TRUE(Ask(volumes, "C:\\").volumeOk);

  system->Release();
  ASSERT_TRUE(Eventually([&] { return volumes.StuckGuardedCalls() == 0; }));
  EXPECT_FALSE(FreeSpaceOk(volumes, "D:\\"));
  now += kCoolDown;
  EXPECT_TRUE(FreeSpaceOk(volumes, "D:\\"));
  EXPECT_TRUE(system->StatThreadsOf("/home").contains(std::this_thread::get_id()));
}

class DeadServerTest : public LinuxVolumesTest {
 protected:
  DeadServerTest() {
    system->SetMountInfo(samples::kServer);
    system->fileSystems["/"] = Stats(4096, 10'000'000, 4'000'000);
    system->fileSystems["/srv/share"] = Stats(1048576, 100'000, 50'000);
    system->Hang("/srv/share");
    volumes.ListDrive('C');
  }
};

TEST_F(DeadServerTest, WaitsOutTheLimitOnceThenFailsAtOnceUntilCooledDownAndReturned) {
  ASSERT_EQ(volumes.MountPointOf('E'), "/srv/share");
  Answer share = Ask(volumes, "E:\\");  // waits out the limit once, then fails at once
  EXPECT_FALSE(share.volumeOk);
  EXPECT_FALSE(share.spaceOk);
  EXPECT_EQ(system->StatCallsOf("/srv/share"), 1);
  EXPECT_EQ(volumes.GuardWorkersStarted(), 1);

  for (int i = 0; i < 3; ++i) EXPECT_FALSE(Ask(volumes, "E:\\").spaceOk);
  // Discovery reads the mount table again every 10 s; the share's cool-down goes on.
  EXPECT_EQ(volumes.ListDrive('C'), DrivePresence::Named);
  EXPECT_EQ(volumes.ListDrive('E'), DrivePresence::Named);
  EXPECT_FALSE(FreeSpaceOk(volumes, "E:\\"));
  EXPECT_EQ(system->StatCallsOf("/srv/share"), 1);
  EXPECT_EQ(volumes.GuardWorkersStarted(), 1);

  // Other drives and drive types do not wait for the dead server.
  EXPECT_TRUE(Ask(volumes, "C:\\").spaceOk);
  EXPECT_EQ(volumes.GetDriveType("E:\\"), kDriveRemote);

  // The cool-down is over, but the stuck call has not returned: still no new call.
  now += kCoolDown;
  EXPECT_FALSE(Ask(volumes, "E:\\").spaceOk);
  EXPECT_EQ(system->StatCallsOf("/srv/share"), 1);
  EXPECT_EQ(volumes.StuckGuardedCalls(), 1);
  const int workers = volumes.GuardWorkersStarted();

  system->Release();
  ASSERT_TRUE(Eventually([&] { return volumes.StuckGuardedCalls() == 0; }));
  EXPECT_TRUE(FreeSpaceOk(volumes, "E:\\"));
  EXPECT_EQ(system->StatCallsOf("/srv/share"), 2);  // the stuck call and the one that answered
  EXPECT_EQ(volumes.GuardWorkersStarted(), workers);
  EXPECT_FALSE(system->StatThreadsOf("/srv/share").contains(std::this_thread::get_id()));
  share = Ask(volumes, "E:\\");
  EXPECT_TRUE(share.volumeOk);
  EXPECT_EQ(share.TotalBytes(), std::int64_t{100'000} * 1048576);
}

TEST_F(DeadServerTest, SlowServerIsAskedAgainOnlyAfterTheCoolDown) {
  const auto timedOutAt = now;
  EXPECT_FALSE(FreeSpaceOk(volumes, "E:\\"));  // takes longer than the limit ...
  EXPECT_EQ(volumes.StuckGuardedCalls(), 1);
  system->Release();  // ... but answers in the end
  ASSERT_TRUE(Eventually([&] { return volumes.StuckGuardedCalls() == 0; }));
  for (const auto elapsed : {0ms, 10'000ms, kCoolDown - 1ms}) {
    now = timedOutAt + elapsed;
    const Answer share = Ask(volumes, "E:\\");
    EXPECT_FALSE(share.volumeOk) << elapsed.count();
    EXPECT_FALSE(share.spaceOk) << elapsed.count();
  }
  EXPECT_EQ(system->StatCallsOf("/srv/share"), 1);

  now = timedOutAt + kCoolDown;
  EXPECT_TRUE(FreeSpaceOk(volumes, "E:\\"));
  EXPECT_EQ(system->StatCallsOf("/srv/share"), 2);
  EXPECT_TRUE(Ask(volumes, "E:\\").volumeOk);
}

TEST_F(DeadServerTest, DestroyingTheServiceDoesNotWaitForTheStuckCall) {
  auto doomed = std::make_unique<LinuxVolumes>(system, 100ms);
  doomed->ListDrive('C');
  EXPECT_FALSE(Ask(*doomed, "E:\\").spaceOk);
  doomed.reset();  // returns although the worker still hangs in statvfs
  system->Release();
  // The worker finishes its call on state it shares, and lets go of the system calls.
  EXPECT_TRUE(Eventually([&] { return system.use_count() == 2; }));
  EXPECT_EQ(system->StatCallsOf("/srv/share"), 1);
}

}  // namespace
}  // namespace volumetra
