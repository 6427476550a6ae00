#include "platform/linux/linux_volumes.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <set>
#include <thread>

#include "platform/linux/fake_system_calls.h"
#include "platform/linux/mountinfo_samples.h"
#include "platform/linux/volume_questions.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;

constexpr std::uint64_t kTiB = std::uint64_t{1} << 40;
constexpr std::chrono::milliseconds kLimit{5000};

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

  /// Virtual time spent since the last call of Elapsed: how long the caller waited.
  std::chrono::nanoseconds Elapsed() {
    const auto now = system->now();
    const auto elapsed = now - mark_;
    mark_ = now;
    return elapsed;
  }

  std::shared_ptr<FakeSystemCalls> system = std::make_shared<FakeSystemCalls>();
  LinuxVolumes volumes{system, {.callLimit = kLimit, .letterFile = "", .clock = system->Clock()}};

 private:
  FakeSystemCalls::TimePoint mark_ = system->now();
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
  // The new mount takes a letter no volume seen before holds: D stays the letter of /home.
  EXPECT_EQ(volumes.MountPointOf('D'), "");
  EXPECT_EQ(volumes.MountPointOf('G'), "/mnt/usb");
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
  EXPECT_TRUE(Ask(volumes, "E:\\").volumeOk);  // a RAM disk has no medium to read
  EXPECT_EQ(volumes.ChannelsOpened(), 0);
  for (const char* mountPoint : {"/", "/home", "/mnt/ram", "/media/anna/STICK ONE"})
    EXPECT_EQ(system->StatThreadsOf(mountPoint), here) << mountPoint;

  // Without udev, the label of a disk comes from libblkid, which reads the medium: that runs in
  // a helper. What it found serves later questions.
  EXPECT_TRUE(Ask(volumes, "D:\\").volumeOk);
  EXPECT_EQ(volumes.ChannelsOpened(), 1);
  EXPECT_EQ(system->probeCalls, 1);
  EXPECT_TRUE(Ask(volumes, "D:\\").volumeOk);
  EXPECT_EQ(system->probeCalls, 1);
  EXPECT_EQ(system->StatThreadsOf("/home"), here);

  // Where udev knows the device, nothing reads the medium.
  system->directories["/dev/disk/by-uuid"] = {"1A2B-3C4D"};
  system->blockDevices["/dev/disk/by-uuid/1A2B-3C4D"] = {8, 17};
  const Answer stick = Ask(volumes, "F:\\");
  EXPECT_EQ(static_cast<std::uint32_t>(stick.serial), 0x1A2B3C4Du);
  EXPECT_EQ(system->probeCalls, 1);
  EXPECT_EQ(volumes.ChannelsOpened(), 1);
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

TEST_F(LinuxVolumesTest, MediumThatHangsHoldsBackItsDriveAndNoOther) {
  system->Hang("/dev/nvme0n1p4");  // the first label lookup of D: reads the medium, and gets stuck
  EXPECT_FALSE(Ask(volumes, "D:\\").volumeOk);
  EXPECT_EQ(Elapsed(), kLimit);
  std::int32_t spc = 0, bps = 0, freeClusters = 0, total = 0;
  EXPECT_EQ(volumes.GetDiskFreeSpace("D:\\", spc, bps, freeClusters, total), VolumeAnswer::NoAnswer);
  EXPECT_EQ(system->StatCallsOf("/home"), 1);
  EXPECT_TRUE(Ask(volumes, "C:\\").volumeOk);
  EXPECT_EQ(Elapsed(), 0ms);

  system->Release();
  // Outside a probe pass the drive that timed out is not asked again ...
  EXPECT_EQ(volumes.GetDiskFreeSpace("D:\\", spc, bps, freeClusters, total), VolumeAnswer::Failed);
  EXPECT_EQ(system->StatCallsOf("/home"), 1);
  // ... a pass asks it again.
  volumes.BeginProbePass("CD");
  EXPECT_TRUE(Ask(volumes, "D:\\").volumeOk);
  EXPECT_EQ(system->StatThreadsOf("/home"), std::set<std::thread::id>{std::this_thread::get_id()});
}

TEST_F(LinuxVolumesTest, DescribesWhereEachDriveLives) {
  system->SetMountInfo(std::string(samples::kDesktop) +
                       "60 29 259:4 /anna/projects /srv/projects rw - ext4 /dev/nvme0n1p4 rw\n");
  EXPECT_EQ(volumes.DriveDescription('C'), "/  (/dev/nvme0n1p2, ext4)");
  EXPECT_EQ(volumes.DriveDescription('f'), "/media/anna/STICK ONE  (/dev/sdb1, vfat)");
  EXPECT_EQ(volumes.DriveDescription('G'), "/srv/projects  (/dev/nvme0n1p4[/anna/projects], ext4)");
  EXPECT_EQ(volumes.DriveDescription('H'), "");
}

/// A machine with `count` network shares behind the root, each at /srv/shareN, lettered D, E, ...
std::string Shares(int count) {
  std::string table = "27 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n";
  for (int i = 0; i < count; ++i) {
    table += std::to_string(100 + i) + " 27 0:" + std::to_string(60 + i) + " / /srv/share" +
             std::to_string(i) + " rw - nfs4 server" + std::to_string(i) + ":/export rw\n";
  }
  return table;
}

std::string ShareMount(int i) {
  return "/srv/share" + std::to_string(i);
}

class DeadServersTest : public LinuxVolumesTest, public ::testing::WithParamInterface<int> {
 protected:
  DeadServersTest() {
    system->SetMountInfo(Shares(kShares));
    system->fileSystems["/"] = Stats(4096, 10'000'000, 4'000'000);
    for (int i = 0; i < kShares; ++i) {
      system->fileSystems[ShareMount(i)] = Stats(1048576, 100'000, 50'000);
      system->latency[ShareMount(i)] = 2ms;
    }
    EXPECT_EQ(Discovery(volumes), "");
    for (int i = 0; i < kShares; ++i) letters += static_cast<char>('D' + i);
    EXPECT_EQ(ProbePass(volumes, "C" + letters), "");  // every share answers once
    for (int i = 0; i < GetParam(); ++i) {
      system->Hang(ShareMount(kShares - 1 - i));  // the last ones die
      dead += static_cast<char>('D' + kShares - 1 - i);
    }
    std::sort(dead.begin(), dead.end());
    Elapsed();
  }
  ~DeadServersTest() override { system->Release(); }

  static constexpr int kShares = 22;
  std::string letters;  ///< the shares' letters
  std::string dead;     ///< the letters of the dead ones
};

TEST_P(DeadServersTest, OneWaitPerSurveyHoweverManyServersAreDead) {
  EXPECT_EQ(ProbePass(volumes, "C" + letters), dead);
  const auto waited = Elapsed();
  EXPECT_GE(waited, kLimit);
  EXPECT_LT(waited, kLimit + 100ms) << "no second wait";

  // Later passes, even one that asks the dead drives again, wait for nothing: their calls are
  // still stuck. Discovery asks no share.
  EXPECT_EQ(Discovery(volumes), "");
  EXPECT_EQ(ProbePass(volumes, "C" + letters), dead);
  EXPECT_LT(Elapsed(), 100ms);
  // One call per pass and share: the one before the servers died, then these two.
  for (int i = 0; i < kShares; ++i)
    EXPECT_EQ(system->StatCallsOf(ShareMount(i)), i < kShares - GetParam() ? 3 : 2);
}

TEST_P(DeadServersTest, DiscoveryNeverWaitsAndTakesWhatEachShareToldLast) {
  std::map<char, std::int64_t> totals;
  EXPECT_EQ(Discovery(volumes, &totals), "");
  EXPECT_EQ(Elapsed(), 0ms);
  for (char share : letters) EXPECT_EQ(totals[share], std::int64_t{100'000} * 1048576) << share;
  for (int i = 0; i < kShares; ++i) EXPECT_EQ(system->StatCallsOf(ShareMount(i)), 1);

  // Where the shares have not answered yet, at the start of a run, discovery leaves them out.
  LinuxVolumes starting{system, {.callLimit = kLimit, .letterFile = "", .clock = system->Clock()}};
  totals.clear();
  EXPECT_EQ(Discovery(starting, &totals), "");
  EXPECT_EQ(Elapsed(), 0ms);
  EXPECT_EQ(totals.size(), 1u);
  EXPECT_TRUE(totals.contains('C'));
  for (int i = 0; i < kShares; ++i) EXPECT_EQ(system->StatCallsOf(ShareMount(i)), 1);
}

INSTANTIATE_TEST_SUITE_P(Dead, DeadServersTest, ::testing::Values(1, 4, 20));

class DeadServerTest : public LinuxVolumesTest {
 protected:
  DeadServerTest() {
    system->SetMountInfo(samples::kServer);
    system->fileSystems["/"] = Stats(4096, 10'000'000, 4'000'000);
    system->fileSystems["/srv/share"] = Stats(1048576, 100'000, 50'000);
    Discovery(volumes);
    EXPECT_EQ(ProbePass(volumes, "CE"), "");
    Elapsed();
  }
};

TEST_F(DeadServerTest, AnswersFromOneCallPerPassOffTheCallingThread) {
  ASSERT_EQ(volumes.MountPointOf('E'), "/srv/share");
  const int before = system->StatCallsOf("/srv/share");
  for (int pass = 0; pass < 3; ++pass) EXPECT_EQ(ProbePass(volumes, "CE"), "");
  EXPECT_EQ(system->StatCallsOf("/srv/share") - before, 3);
  EXPECT_EQ(volumes.ChannelsOpened(), 2);  // the share's, and the root disk's label lookup
  const Answer share = Ask(volumes, "E:\\");
  EXPECT_EQ(share.TotalBytes(), std::int64_t{100'000} * 1048576);
  EXPECT_EQ(volumes.GetDriveType("E:\\"), kDriveRemote);
}

TEST_F(DeadServerTest, StaysSilentWithoutWaitingAgainUntilThePassAfterItAnswersAgain) {
  system->Hang("/srv/share");
  EXPECT_EQ(ProbePass(volumes, "CE"), "E");  // waits out the limit once
  EXPECT_EQ(Elapsed(), kLimit);
  // The program's time-out reset lets passes ask it again; its call is stuck, so they wait for
  // nothing. Discovery never asks it: it takes the share's last answer, so it marks nothing.
  for (int reset = 0; reset < 3; ++reset) {
    std::map<char, std::int64_t> totals;
    EXPECT_EQ(Discovery(volumes, &totals), "");
    EXPECT_EQ(totals['E'], std::int64_t{100'000} * 1048576);
    EXPECT_EQ(ProbePass(volumes, "CE"), "E");
  }
  EXPECT_EQ(Elapsed(), 0ms);
  EXPECT_EQ(system->StatCallsOf("/srv/share"), 2);  // the pass's before it died, and the stuck one
  EXPECT_EQ(volumes.GetDriveType("E:\\"), kDriveRemote);

  system->Release();
  EXPECT_EQ(ProbePass(volumes, "CE"), "");
  EXPECT_EQ(Discovery(volumes), "");
  EXPECT_EQ(system->StatCallsOf("/srv/share"), 3);  // and this pass's
}

TEST_F(DeadServerTest, SlowServerCostsOneWaitPerPassThatAsksIt) {
  system->latency["/srv/share"] = 7000ms;
  EXPECT_EQ(ProbePass(volumes, "CE"), "E");
  system->spend(10s);                 // the late answer has come
  EXPECT_EQ(Discovery(volumes), "");  // declined: not counted as silent, and no wait
  Elapsed();
  EXPECT_EQ(ProbePass(volumes, "CE"), "E");  // asked again after the reset: too slow again
  EXPECT_EQ(Elapsed(), kLimit);
  EXPECT_EQ(ProbePass(volumes, "C"), "");
  EXPECT_EQ(Elapsed(), 0ms);
}

TEST_F(DeadServerTest, DestroyingTheServiceDoesNotWaitForTheStuckCall) {
  system->Hang("/srv/share");
  const int open = system->OpenChannels();
  auto doomed = std::make_unique<LinuxVolumes>(system, LinuxVolumesOptions{kLimit, "", system->Clock()});
  EXPECT_EQ(ProbePass(*doomed, "E"), "E");
  EXPECT_EQ(system->OpenChannels(), open + 1);
  doomed.reset();
  EXPECT_EQ(system->OpenChannels(), open);
}

TEST_F(DeadServerTest, AVanishedMountLetsGoOfItsChannel) {
  system->Hang("/srv/share");
  EXPECT_EQ(ProbePass(volumes, "CE"), "E");
  system->SetMountInfo(
      Replace(samples::kServer,
              "32 27 0:40 / /srv/share rw,relatime shared:22 - nfs4 fileserver:/export/share "
              "rw,vers=4.2,hard,proto=tcp\n",
              ""));
  const int open = system->OpenChannels();
  volumes.ListDrive('C');
  EXPECT_EQ(volumes.StuckMounts(), 0);
  EXPECT_EQ(system->OpenChannels(), open - 1);
}

}  // namespace
}  // namespace volumetra
