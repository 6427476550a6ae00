#include "platform/win32/win32_volumes.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/fake_volume_calls.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/wine_drives.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;

constexpr std::uint64_t kTiB = std::uint64_t{1} << 40;

/// What GetVolumeInformation and GetDiskFreeSpace tell about one drive.
struct Answer {
  VolumeAnswer volume = VolumeAnswer::Failed;
  std::string volumeName = std::string(255, ' ');
  std::string fileSystemName = std::string(255, ' ');
  std::int32_t serial = 0, nameLength = 0, flags = 0;
  VolumeAnswer space = VolumeAnswer::Failed;
  std::int32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;

  std::string label() const { return volumeName.substr(0, volumeName.find('\0')); }
  std::string fileSystem() const { return fileSystemName.substr(0, fileSystemName.find('\0')); }
  double totalBytes() const {
    return static_cast<double>(totalClusters) * sectorsPerCluster * bytesPerSector;
  }
  double freeBytes() const { return static_cast<double>(freeClusters) * sectorsPerCluster * bytesPerSector; }
};

Answer Ask(VolumeService& volumes, const std::string& rootPath) {
  Answer a;
  a.volume =
      volumes.GetVolumeInformation(rootPath, a.volumeName, a.serial, a.nameLength, a.flags, a.fileSystemName);
  a.space = volumes.GetDiskFreeSpace(rootPath, a.sectorsPerCluster, a.bytesPerSector, a.freeClusters,
                                     a.totalClusters);
  return a;
}

FakeVolumeCalls::Drive LocalDisk(std::uint64_t total, std::uint64_t available) {
  FakeVolumeCalls::Drive d;
  d.information = VolumeInformation{"SYSTEM", 0xDEADBEEF, 255, 0x2F, "NTFS"};
  // The call as Wine makes it: only the low 32 bits of the cluster counts.
  d.geometry = DiskGeometry{8, 512, static_cast<std::uint32_t>(available / 4096),
                            static_cast<std::uint32_t>(total / 4096)};
  d.bytes = DiskBytes{available, total};
  return d;
}

struct Win32VolumesTest : ::testing::Test {
  std::shared_ptr<FakeVolumeCalls> calls = std::make_shared<FakeVolumeCalls>();
  std::chrono::steady_clock::time_point now{};
  Win32Volumes volumes{calls, 200ms, 65535ms, [this] { return now; }};

  ~Win32VolumesTest() override { calls->release(); }
};

TEST_F(Win32VolumesTest, FillsTheBuffersAndFitsTheClusterCountsOfAVeryLargeDisk) {
  calls->set('C', LocalDisk(20 * kTiB, 9 * kTiB));
  const Answer c = Ask(volumes, "C:\\");
  ASSERT_EQ(c.volume, VolumeAnswer::Answered);
  EXPECT_EQ(c.label(), "SYSTEM");
  EXPECT_EQ(c.fileSystem(), "NTFS");
  EXPECT_EQ(c.volumeName.size(), 255u);  // the rest of the buffer is left alone
  EXPECT_EQ(c.volumeName.back(), ' ');
  EXPECT_EQ(static_cast<std::uint32_t>(c.serial), 0xDEADBEEF);
  EXPECT_EQ(c.nameLength, 255);
  ASSERT_EQ(c.space, VolumeAnswer::Answered);
  EXPECT_GT(c.totalClusters, 0);
  EXPECT_DOUBLE_EQ(c.totalBytes(), static_cast<double>(20 * kTiB));
  EXPECT_DOUBLE_EQ(c.freeBytes(), static_cast<double>(9 * kTiB));
  EXPECT_EQ(volumes.GetDriveType("C:\\"), 3);
}

TEST_F(Win32VolumesTest, LabelTypeAndGeometryAreAskedOncePerDiscoveryFreeSpaceAtEveryCall) {
  calls->set('D', LocalDisk(kTiB, kTiB / 2));
  EXPECT_EQ(volumes.ListDrive('D'), DrivePresence::Named);
  EXPECT_EQ(Ask(volumes, "D:\\").label(), "SYSTEM");
  FakeVolumeCalls::Drive relabelled = LocalDisk(kTiB, kTiB / 4);
  relabelled.information->volumeName = "BACKUP";
  relabelled.type = 2;
  relabelled.geometry->sectorsPerCluster = 64;
  calls->set('D', relabelled);
  const Answer again = Ask(volumes, "D:\\");
  EXPECT_EQ(again.label(), "SYSTEM");
  EXPECT_EQ(volumes.GetDriveType("D:\\"), 3);
  EXPECT_EQ(again.sectorsPerCluster, 8);
  EXPECT_DOUBLE_EQ(again.freeBytes(), static_cast<double>(kTiB / 4));  // free space is always fresh
  // Without byte counts the counts of the call itself are asked for afresh.
  FakeVolumeCalls::Drive noBytes = relabelled;
  noBytes.bytes.reset();
  noBytes.geometry->freeClusters = 1000;
  calls->set('D', noBytes);
  EXPECT_EQ(Ask(volumes, "D:\\").freeClusters, 1000);
  calls->set('D', relabelled);
  // The next discovery pass looks at the drive anew.
  EXPECT_EQ(volumes.ListDrive('D'), DrivePresence::Named);
  const Answer anew = Ask(volumes, "D:\\");
  EXPECT_EQ(anew.label(), "BACKUP");
  EXPECT_EQ(anew.sectorsPerCluster, 64);
  EXPECT_EQ(volumes.GetDriveType("D:\\"), 2);
}

TEST_F(Win32VolumesTest, ALetterWithoutAVolumeFailsAndWritesNothing) {
  const Answer q = Ask(volumes, "Q:\\");
  EXPECT_EQ(q.volume, VolumeAnswer::Failed);
  EXPECT_EQ(q.volumeName, std::string(255, ' '));
  EXPECT_EQ(q.space, VolumeAnswer::Failed);
  EXPECT_EQ(q.totalClusters, 0);
  EXPECT_EQ(volumes.GetDriveType("Q:\\"), 1);
}

TEST_F(Win32VolumesTest, ThePresenceTestHasThreeOutcomes) {
  FakeVolumeCalls::Drive named;
  calls->set('C', named);
  FakeVolumeCalls::Drive empty;
  empty.listing = {false, {}, 2};  // ERROR_FILE_NOT_FOUND: a drive whose current directory holds nothing
  calls->set('D', empty);
  FakeVolumeCalls::Drive noMedium;
  noMedium.type = 5;
  noMedium.listing = {false, {}, 21};  // ERROR_NOT_READY: a CD-ROM drive without a disc
  calls->set('E', noMedium);
  EXPECT_EQ(volumes.ListDrive('C'), DrivePresence::Named);
  EXPECT_EQ(volumes.ListDrive('d'), DrivePresence::Named);  // empty, but a drive all the same
  EXPECT_EQ(volumes.ListDrive('E'), DrivePresence::Failed);
  EXPECT_EQ(volumes.ListDrive('F'), DrivePresence::Empty);  // no drive: path not found
}

TEST_F(Win32VolumesTest, AHangingNetworkDriveHoldsTheCallerOnceThenGivesNoAnswerAtOnce) {
  calls->set('C', LocalDisk(kTiB, kTiB / 2));
  FakeVolumeCalls::Drive share = LocalDisk(kTiB, kTiB / 4);
  share.type = 4;
  share.remoteName = "\\\\server\\share";
  share.hangs = true;
  calls->set('S', share);

  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(Ask(volumes, "S:\\").volume, VolumeAnswer::NoAnswer);
  EXPECT_GE(std::chrono::steady_clock::now() - started, 200ms);
  // Cooling down: no wait, no new call, and local drives answer as ever.
  const int callsBefore = calls->calls();
  const auto again = std::chrono::steady_clock::now();
  Answer s = Ask(volumes, "S:\\");
  EXPECT_EQ(s.volume, VolumeAnswer::NoAnswer);
  EXPECT_EQ(s.space, VolumeAnswer::NoAnswer);
  EXPECT_EQ(volumes.ListDrive('S'), DrivePresence::Failed);  // a silent share keeps its letter
  EXPECT_LT(std::chrono::steady_clock::now() - again, 150ms);
  EXPECT_EQ(calls->calls(), callsBefore);
  EXPECT_EQ(Ask(volumes, "C:\\").volume, VolumeAnswer::Answered);

  // Once the server answers and the cool-down has passed, the share is asked again.
  calls->release();
  now += 65535ms;
  bool answered = false;
  for (int i = 0; i < 100 && !answered; ++i) {
    answered = Ask(volumes, "S:\\").space == VolumeAnswer::Answered;
    if (!answered) std::this_thread::sleep_for(10ms);
  }
  EXPECT_TRUE(answered);
  EXPECT_EQ(volumes.DriveDescription('s'), "\\\\server\\share");
  EXPECT_EQ(volumes.DriveDescription('C'), "");
}

// --- The real calls under Wine.

TEST(Win32VolumesOnThisMachine, DriveCIsAFixedDiskWithTrueSizes) {
  Win32Volumes volumes;
  EXPECT_EQ(volumes.ListDrive('C'), DrivePresence::Named);
  EXPECT_EQ(volumes.GetDriveType("C:\\"), DRIVE_FIXED);
  const Answer c = Ask(volumes, "C:\\");
  ASSERT_EQ(c.volume, VolumeAnswer::Answered);
  EXPECT_FALSE(c.fileSystem().empty());
  EXPECT_GT(c.nameLength, 0);
  ASSERT_EQ(c.space, VolumeAnswer::Answered);
  ULARGE_INTEGER available{}, total{}, totalFree{};
  ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &available, &total, &totalFree));
  const double cluster = static_cast<double>(c.sectorsPerCluster) * c.bytesPerSector;
  EXPECT_NEAR(c.totalBytes(), static_cast<double>(total.QuadPart), cluster);
}

TEST(Win32VolumesOnThisMachine, AFreeLetterIsNoDrive) {
  Win32Volumes volumes;
  const DWORD used = GetLogicalDrives();
  char free = 0;
  for (char letter = 'Y'; letter >= 'D' && !free; --letter) {
    if (!(used & (1u << (letter - 'A')))) free = letter;
  }
  ASSERT_NE(free, 0);
  EXPECT_EQ(volumes.ListDrive(free), DrivePresence::Empty);
  const std::string root{free, ':', '\\'};
  EXPECT_EQ(Ask(volumes, root).volume, VolumeAnswer::Failed);
  EXPECT_EQ(volumes.GetDriveType(root), DRIVE_NO_ROOT_DIR);
}

TEST(Win32VolumesOnThisMachine, ADriveOfTheWinePrefixShowsTheLabelAndSerialOfItsFiles) {
  if (!WineDrivesPrepared()) GTEST_SKIP() << "the Wine drives are made by scripts/wine_prefix.sh";
  Win32Volumes volumes;
  const std::string root{kLabelledDrive, ':', '\\'};
  EXPECT_EQ(volumes.ListDrive(kLabelledDrive), DrivePresence::Named);
  const Answer m = Ask(volumes, root);
  ASSERT_EQ(m.volume, VolumeAnswer::Answered);
  EXPECT_EQ(m.label(), kLabelledDriveLabel);
  EXPECT_EQ(static_cast<std::uint32_t>(m.serial), kLabelledDriveSerial);
  EXPECT_EQ(volumes.ListDrive(kCdRomDrive), DrivePresence::Named);
  EXPECT_EQ(volumes.GetDriveType({kCdRomDrive, ':', '\\'}), DRIVE_CDROM);
  const Answer n = Ask(volumes, {kCdRomDrive, ':', '\\'});
  ASSERT_EQ(n.volume, VolumeAnswer::Answered);
  EXPECT_EQ(n.fileSystem(), "CDFS");
}

TEST(Win32VolumesOnThisMachine, AVolumeOfMoreThan2To32ClustersShowsItsTrueTotal) {
  if (!WineDrivesPrepared(true))
    GTEST_SKIP() << "no 20 TiB volume: scripts/wine_prefix.sh mounts one as root";
  const std::string root{kLargeDrive, ':', '\\'};
  // Wine's GetDiskFreeSpaceA passes on only the low 32 bits of these counts; ours are right.
  Win32Volumes volumes;
  const Answer t = Ask(volumes, root);
  ASSERT_EQ(t.space, VolumeAnswer::Answered);
  EXPECT_GT(t.totalClusters, 0);
  EXPECT_NEAR(t.totalBytes(), static_cast<double>(kLargeDriveBytes), 1 << 20);
}

}  // namespace
}  // namespace volumetra
