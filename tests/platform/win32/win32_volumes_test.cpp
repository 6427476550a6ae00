#include "platform/win32/win32_volumes.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

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

constexpr std::chrono::milliseconds kLimit = 5000ms;

/// The volumes over scripted calls whose network drives run on the fake's virtual-time channels.
Win32VolumesOptions VirtualTime(const std::shared_ptr<FakeVolumeCalls>& calls) {
  return {
      .callLimit = kLimit, .clock = calls->Clock(), .openChannel = [calls] { return calls->OpenChannel(); }};
}

struct Win32VolumesTest : ::testing::Test {
  std::shared_ptr<FakeVolumeCalls> calls = std::make_shared<FakeVolumeCalls>();
  Win32Volumes volumes{calls, VirtualTime(calls)};

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

TEST_F(Win32VolumesTest, DiscoveryAsksOnlyTheLettersOfTheDriveMap) {
  calls->set('C', LocalDisk(kTiB, kTiB / 2));
  FakeVolumeCalls::Drive cdrom;
  cdrom.type = 5;
  cdrom.listing = {false, {}, 21};  // ERROR_NOT_READY: no disc
  calls->set('E', cdrom);
  calls->set('F', FakeVolumeCalls::Drive{});
  const int typesBefore = calls->typeCalls();
  const int callsBefore = calls->calls();
  std::map<char, DrivePresence> presence;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    presence[letter] = volumes.ListDrive(letter);
    std::int32_t sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
    const VolumeAnswer space =
        volumes.GetDiskFreeSpace({letter, ':', '\\'}, sectors, bytes, freeClusters, totalClusters);
    EXPECT_EQ(space, letter == 'C' ? VolumeAnswer::Answered : VolumeAnswer::Failed) << letter;
  }
  EXPECT_EQ(presence['C'], DrivePresence::Named);
  EXPECT_EQ(presence['D'], DrivePresence::Empty);
  EXPECT_EQ(presence['E'], DrivePresence::Failed);  // a drive without its medium keeps its letter
  EXPECT_EQ(presence['F'], DrivePresence::Named);
  for (char letter = 'G'; letter <= 'Z'; ++letter) {
    EXPECT_EQ(presence[letter], DrivePresence::Empty) << letter;
    EXPECT_EQ(volumes.GetDriveType({letter, ':', '\\'}), 1) << letter;
    EXPECT_EQ(Ask(volumes, {letter, ':', '\\'}).volume, VolumeAnswer::Failed) << letter;
  }
  // Only the three drives were asked: their types, listings, free space and volume information.
  EXPECT_EQ(calls->typeCalls() - typesBefore, 3);
  EXPECT_EQ(calls->calls() - callsBefore, 3 + 2 + 2 + 3);

  // A drive that comes later is found by the next discovery pass.
  calls->set('G', LocalDisk(kTiB, kTiB / 4));
  EXPECT_EQ(volumes.ListDrive('C'), DrivePresence::Named);
  EXPECT_EQ(volumes.ListDrive('G'), DrivePresence::Named);
  EXPECT_EQ(Ask(volumes, "G:\\").label(), "SYSTEM");
}

// --- Network drives under the call guard, on virtual time.

FakeVolumeCalls::Drive Share(bool hangs) {
  FakeVolumeCalls::Drive d = LocalDisk(kTiB, kTiB / 4);
  d.type = 4;
  d.information->volumeName = "SHARE";
  d.remoteName = "\\\\server\\share";
  d.hangs = hangs;
  return d;
}

/// What drive discovery tells of one letter.
struct Found {
  DrivePresence presence = DrivePresence::Empty;
  VolumeAnswer space = VolumeAnswer::Failed;
};

/// The questions of the program's drive discovery: the presence and then the free space of every
/// letter from C to Z.
std::map<char, Found> Discover(VolumeService& volumes) {
  std::map<char, Found> found;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    std::int32_t sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
    found[letter].presence = volumes.ListDrive(letter);
    found[letter].space =
        volumes.GetDiskFreeSpace({letter, ':', '\\'}, sectors, bytes, freeClusters, totalClusters);
  }
  return found;
}

/// The questions of a probe pass over `letters`: the volume information, the type and, unless the
/// volume gave no answer, the free space of each.
std::map<char, Answer> Survey(VolumeService& volumes, const std::string& letters) {
  volumes.BeginProbePass(letters);
  std::map<char, Answer> answers;
  for (char letter : letters) {
    const std::string root{letter, ':', '\\'};
    Answer& a = answers[letter];
    a.volume =
        volumes.GetVolumeInformation(root, a.volumeName, a.serial, a.nameLength, a.flags, a.fileSystemName);
    volumes.GetDriveType(root);
    if (a.volume == VolumeAnswer::NoAnswer) continue;
    a.space = volumes.GetDiskFreeSpace(root, a.sectorsPerCluster, a.bytesPerSector, a.freeClusters,
                                       a.totalClusters);
  }
  return answers;
}

/// A machine with the local disk C, `dead` shares from D on whose server is gone, and the live
/// share Z among them.
struct NetworkMachine {
  explicit NetworkMachine(int dead) {
    calls->set('C', LocalDisk(kTiB, kTiB / 2));
    AddShares(dead, true);
    calls->set('Z', Share(false));
  }
  ~NetworkMachine() { calls->release(); }
  std::string letters() const { return "C" + deadLetters + "Z"; }
  /// Adds `count` shares after the dead ones, which KillShares can kill later.
  void AddShares(int count, bool hang) {
    for (int i = 0; i < count; ++i) {
      deadLetters += static_cast<char>('D' + deadLetters.size());
      calls->set(deadLetters.back(), Share(hang));
    }
  }
  void KillShares() {
    for (char letter : deadLetters) calls->set(letter, Share(true));
  }

  std::shared_ptr<FakeVolumeCalls> calls = std::make_shared<FakeVolumeCalls>();
  Win32Volumes volumes{calls, VirtualTime(calls)};
  std::string deadLetters;
};

TEST(Win32VolumesNetworkDrives, AnyNumberOfDeadServersCostDiscoveryOneWaitAndTheNextPassNone) {
  for (const int dead : {1, 4, 20}) {
    SCOPED_TRACE(dead);
    NetworkMachine machine(dead);
    const std::map<char, Found> found = Discover(machine.volumes);
    EXPECT_EQ(machine.calls->TimeWaited(), kLimit);  // one wait in all, not one per dead server
    for (char letter : machine.deadLetters) {
      EXPECT_EQ(found.at(letter).presence, DrivePresence::Failed)
          << letter;  // a silent share keeps its letter
      EXPECT_EQ(found.at(letter).space, VolumeAnswer::NoAnswer) << letter;
    }
    EXPECT_EQ(found.at('Z').presence, DrivePresence::Named);
    EXPECT_EQ(found.at('Z').space, VolumeAnswer::Answered);
    EXPECT_EQ(found.at('C').space, VolumeAnswer::Answered);
    EXPECT_EQ(machine.volumes.StuckDrives(), dead);

    // The probe pass after it: the stuck drives give no answer at once and are not asked again.
    const int started = machine.calls->ChannelCallsOf('D');
    const std::map<char, Answer> answers = Survey(machine.volumes, machine.letters());
    EXPECT_EQ(machine.calls->TimeWaited(), kLimit);
    for (char letter : machine.deadLetters)
      EXPECT_EQ(answers.at(letter).volume, VolumeAnswer::NoAnswer) << letter;
    EXPECT_EQ(machine.calls->ChannelCallsOf('D'), started);
    EXPECT_EQ(answers.at('Z').label(), "SHARE");
    EXPECT_EQ(answers.at('Z').space, VolumeAnswer::Answered);
    EXPECT_EQ(answers.at('C').space, VolumeAnswer::Answered);
  }
}

TEST(Win32VolumesNetworkDrives, ServersThatDieAfterDiscoveryCostTheProbePassOneWaitTogether) {
  for (const int dead : {1, 4, 20}) {
    SCOPED_TRACE(dead);
    NetworkMachine machine(0);
    machine.AddShares(dead, false);
    Discover(machine.volumes);
    EXPECT_EQ(Survey(machine.volumes, machine.letters()).at('D').label(), "SHARE");
    ASSERT_EQ(machine.calls->TimeWaited(), 0ms);

    machine.KillShares();
    std::map<char, Answer> answers = Survey(machine.volumes, machine.letters());
    EXPECT_EQ(machine.calls->TimeWaited(), kLimit);
    for (char letter : machine.deadLetters) {
      // The label is the discovery's; the free space is asked at every pass, and gets no answer.
      EXPECT_EQ(answers.at(letter).volume, VolumeAnswer::Answered) << letter;
      EXPECT_EQ(answers.at(letter).space, VolumeAnswer::NoAnswer) << letter;
    }
    EXPECT_EQ(answers.at('Z').space, VolumeAnswer::Answered);
    answers = Survey(machine.volumes, machine.letters());
    EXPECT_EQ(machine.calls->TimeWaited(), kLimit);
    EXPECT_EQ(answers.at('D').space, VolumeAnswer::NoAnswer);
  }
}

TEST(Win32VolumesNetworkDrives, ADeadServerFoundByDiscoveryIsAskedNothingOnTheCallingThread) {
  // Under Wine the type call of a dead server's drive hangs like its other calls: the type, the
  // listing, the free space and the volume information of discovery are one call on the drive's
  // channel.
  NetworkMachine machine(3);
  const int types = machine.calls->typeCalls();
  const std::map<char, Found> found = Discover(machine.volumes);
  EXPECT_EQ(machine.calls->TimeWaited(), kLimit);
  EXPECT_EQ(machine.calls->typeCalls() - types, 2);  // C's and Z's: the dead drives' never came back
  for (char letter : machine.deadLetters) {
    EXPECT_EQ(found.at(letter).presence, DrivePresence::Failed) << letter;
    EXPECT_EQ(found.at(letter).space, VolumeAnswer::NoAnswer) << letter;
    // Its type is not known: the probe pass shows it as such, without asking again.
    EXPECT_EQ(machine.volumes.GetDriveType({letter, ':', '\\'}), 0) << letter;
    EXPECT_EQ(machine.volumes.DriveDescription(letter), "") << letter;
  }
  EXPECT_EQ(machine.volumes.GetDriveType("Z:\\"), 4);
  EXPECT_EQ(machine.volumes.StuckDrives(), 3);
  EXPECT_EQ(machine.calls->TimeWaited(), kLimit);
}

TEST(Win32VolumesNetworkDrives, AHangingDriveMapCostsNoWaitOfItsOwnAndLeavesTheDrivesLastSeen) {
  for (const int dead : {0, 1, 4}) {
    SCOPED_TRACE(dead);
    NetworkMachine machine(0);
    machine.AddShares(dead, false);
    Discover(machine.volumes);
    ASSERT_EQ(machine.calls->TimeWaited(), 0ms);

    machine.calls->hangDriveMap();
    machine.KillShares();
    std::map<char, Found> found = Discover(machine.volumes);
    EXPECT_EQ(machine.calls->TimeWaited(), kLimit);  // the map's wait and the drives' together
    EXPECT_EQ(found.at('C').presence, DrivePresence::Named);
    EXPECT_EQ(found.at('C').space, VolumeAnswer::Answered);
    EXPECT_EQ(found.at('Z').presence, DrivePresence::Named);
    EXPECT_EQ(found.at('Y').presence, DrivePresence::Empty);
    for (char letter : machine.deadLetters) EXPECT_EQ(found.at(letter).presence, DrivePresence::Failed);

    // While the map's call is stuck, discovery does not wait for it again.
    const int maps = machine.calls->MapChannelCalls();
    found = Discover(machine.volumes);
    EXPECT_EQ(machine.calls->TimeWaited(), kLimit);
    EXPECT_EQ(machine.calls->MapChannelCalls(), maps);
    EXPECT_EQ(found.at('Z').space, VolumeAnswer::Answered);
    EXPECT_EQ(machine.volumes.StuckDrives(), dead + 1);
  }
}

TEST(Win32VolumesNetworkDrives, TheDriveMapAskedAheadServesTheFirstDiscoveryOnly) {
  NetworkMachine machine(0);
  machine.volumes.AskDriveMapAhead();
  ASSERT_EQ(machine.calls->MapChannelCalls(), 1);
  std::map<char, Found> found = Discover(machine.volumes);
  EXPECT_EQ(machine.calls->MapChannelCalls(), 1);  // collected, not asked again
  EXPECT_EQ(machine.calls->typeCalls(), 2);        // only the letters of that map: C and Z
  EXPECT_EQ(found.at('C').presence, DrivePresence::Named);
  EXPECT_EQ(found.at('Z').space, VolumeAnswer::Answered);
  EXPECT_EQ(found.at('Q').presence, DrivePresence::Empty);

  // The next pass reads the map anew, and finds a drive that came since.
  machine.calls->set('E', LocalDisk(kTiB, kTiB / 4));
  found = Discover(machine.volumes);
  EXPECT_EQ(machine.calls->MapChannelCalls(), 2);
  EXPECT_EQ(found.at('E').presence, DrivePresence::Named);
  EXPECT_EQ(machine.calls->TimeWaited(), 0ms);
}

TEST(Win32VolumesNetworkDrives, AHangingDriveMapAskedAheadHoldsTheStartUpNoLongerThanDiscoverysPatience) {
  NetworkMachine machine(0);
  machine.calls->hangDriveMap();
  machine.volumes.AskDriveMapAhead();
  machine.volumes.BeginDriveDiscovery();
  const std::map<char, Found> found = Discover(machine.volumes);
  machine.volumes.EndDriveDiscovery();
  EXPECT_EQ(machine.calls->TimeWaited(), Win32VolumesOptions{}.discoveryPatience);
  EXPECT_EQ(machine.calls->MapChannelCalls(), 1);
  EXPECT_EQ(found.at('C').presence, DrivePresence::Named);
  EXPECT_EQ(found.at('Z').presence, DrivePresence::Named);
}

TEST(Win32VolumesThreads, TheDriveMapAndTheLocalDisksShareAThreadWhileADeadShareHoldsOnlyItsOwn) {
  auto calls = std::make_shared<FakeVolumeCalls>();
  calls->set('C', LocalDisk(kTiB, kTiB / 2));
  calls->set('D', LocalDisk(kTiB, kTiB / 8));
  calls->set('Z', Share(true));
  // Real threads and the steady clock, with a short call limit.
  Win32VolumesOptions options;
  options.callLimit = 200ms;
  Win32Volumes volumes(calls, options);
  const std::map<char, Found> found = Discover(volumes);
  EXPECT_EQ(found.at('C').presence, DrivePresence::Named);
  EXPECT_EQ(found.at('D').space, VolumeAnswer::Answered);
  EXPECT_EQ(found.at('Z').presence, DrivePresence::Failed);
  EXPECT_EQ(found.at('Z').space, VolumeAnswer::NoAnswer);
  EXPECT_EQ(Ask(volumes, "D:\\").label(), "SYSTEM");
  EXPECT_EQ(volumes.ChannelsOpened(), 4);  // the map's, C's, D's and Z's
  EXPECT_EQ(volumes.ThreadsStarted(), 2);  // one for the map, C and D; one for Z
  EXPECT_EQ(volumes.StuckDrives(), 1);
  calls->release();
}

TEST(Win32VolumesNetworkDrives, WithoutAnyDriveMapEveryLetterIsAsked) {
  NetworkMachine machine(1);
  machine.calls->hangDriveMap();
  const std::map<char, Found> found = Discover(machine.volumes);
  // The map's wait, then that of the dead drive, whose call could start only when the map gave
  // nothing: no map was known yet to start the drives' calls with.
  EXPECT_EQ(machine.calls->TimeWaited(), 2 * kLimit);
  EXPECT_EQ(found.at('C').presence, DrivePresence::Named);
  EXPECT_EQ(found.at('D').presence, DrivePresence::Failed);
  EXPECT_EQ(found.at('Z').space, VolumeAnswer::Answered);
  EXPECT_EQ(found.at('Q').presence, DrivePresence::Empty);
  EXPECT_EQ(machine.calls->typeCalls(), 23);  // every letter but the dead one came back
}

TEST(Win32VolumesNetworkDrives, LocalDrivesAreSurveyedOnTheCallingThread) {
  NetworkMachine machine(0);
  machine.calls->set('D', LocalDisk(kTiB, kTiB / 8));
  Discover(machine.volumes);
  const int c = machine.calls->ChannelCallsOf('C'), d = machine.calls->ChannelCallsOf('D');
  const int z = machine.calls->ChannelCallsOf('Z');
  for (int pass = 0; pass < 3; ++pass) {
    const std::map<char, Answer> answers = Survey(machine.volumes, "CDZ");
    EXPECT_EQ(answers.at('C').label(), "SYSTEM");
    EXPECT_DOUBLE_EQ(answers.at('D').freeBytes(), static_cast<double>(kTiB / 8));
    EXPECT_EQ(answers.at('Z').space, VolumeAnswer::Answered);
  }
  EXPECT_EQ(machine.calls->ChannelCallsOf('C'), c);
  EXPECT_EQ(machine.calls->ChannelCallsOf('D'), d);
  EXPECT_EQ(machine.calls->ChannelCallsOf('Z'), z + 3);  // the network drive's free space, per pass
}

TEST_F(Win32VolumesTest, ANetworkDrivesRootIsHeldOpenWhileItIsListed) {
  calls->set('C', LocalDisk(kTiB, kTiB / 2));
  calls->set('S', Share(false));
  Discover(volumes);
  EXPECT_EQ(calls->heldRoots(), std::set<char>{'S'});
  calls->set('S', LocalDisk(kTiB, kTiB / 2));  // another volume takes the letter
  Discover(volumes);
  EXPECT_TRUE(calls->heldRoots().empty());
  calls->set('S', Share(false));
  Discover(volumes);
  FakeVolumeCalls::Drive gone;
  gone.type = 1;
  calls->set('S', gone);  // the drive is disconnected
  Discover(volumes);
  EXPECT_TRUE(calls->heldRoots().empty());
}

TEST_F(Win32VolumesTest, AStuckNetworkDriveGivesNoAnswerAtOnceAndStartsNothing) {
  calls->set('C', LocalDisk(kTiB, kTiB / 2));
  calls->set('S', Share(true));
  EXPECT_EQ(Ask(volumes, "S:\\").volume, VolumeAnswer::NoAnswer);
  EXPECT_EQ(calls->TimeWaited(), kLimit);
  const int started = calls->ChannelCallsOf('S');
  for (int pass = 0; pass < 3; ++pass) {
    const std::map<char, Answer> answers = Survey(volumes, "CS");
    EXPECT_EQ(answers.at('S').volume, VolumeAnswer::NoAnswer);
    EXPECT_EQ(answers.at('C').space, VolumeAnswer::Answered);  // other drives do not wait for it
    EXPECT_EQ(Ask(volumes, "S:\\").space, VolumeAnswer::NoAnswer);
    EXPECT_EQ(volumes.ListDrive('S'), DrivePresence::Failed);
    EXPECT_EQ(volumes.DriveDescription('S'), "");
  }
  EXPECT_EQ(calls->TimeWaited(), kLimit);
  EXPECT_EQ(calls->ChannelCallsOf('S'), started);
  EXPECT_EQ(volumes.StuckDrives(), 1);
  EXPECT_EQ(volumes.ChannelsOpened(), 2);  // one per drive: S's stuck channel is not replaced
}

TEST_F(Win32VolumesTest, ARecoveredNetworkDriveIsBackAtTheFirstPassThatAsksItAgain) {
  calls->set('C', LocalDisk(kTiB, kTiB / 2));
  calls->set('S', Share(true));
  Discover(volumes);
  EXPECT_EQ(Survey(volumes, "CS").at('S').volume, VolumeAnswer::NoAnswer);  // the program marks it
  const auto waited = calls->TimeWaited();

  calls->set('S', Share(false));
  calls->release();  // the server answers again, the stuck call too
  EXPECT_EQ(volumes.StuckDrives(), 0);
  // The refreshes until the time-out reset leave it be: declined without a call or a wait, and it
  // keeps its letter.
  const int started = calls->ChannelCallsOf('S');
  for (int refresh = 0; refresh < 6; ++refresh) {
    const std::map<char, Found> found = Discover(volumes);
    EXPECT_EQ(found.at('S').presence, DrivePresence::Failed);
    EXPECT_EQ(found.at('S').space, VolumeAnswer::Failed);
  }
  EXPECT_EQ(calls->ChannelCallsOf('S'), started);
  EXPECT_EQ(calls->TimeWaited(), waited);

  // The first pass after the reset asks it again, and it is back.
  const Answer s = Survey(volumes, "CS").at('S');
  ASSERT_EQ(s.volume, VolumeAnswer::Answered);
  EXPECT_EQ(s.label(), "SHARE");
  ASSERT_EQ(s.space, VolumeAnswer::Answered);
  EXPECT_DOUBLE_EQ(s.freeBytes(), static_cast<double>(kTiB / 4));
  EXPECT_EQ(volumes.DriveDescription('s'), "\\\\server\\share");
  EXPECT_EQ(volumes.DriveDescription('C'), "");
  const std::map<char, Found> found = Discover(volumes);
  EXPECT_EQ(found.at('S').presence, DrivePresence::Named);
  EXPECT_EQ(found.at('S').space, VolumeAnswer::Answered);
  EXPECT_EQ(calls->TimeWaited(), waited);
}

TEST_F(Win32VolumesTest, ANetworkDrivesShareIsAskedOncePerDiscovery) {
  calls->set('S', Share(false));
  EXPECT_EQ(volumes.ListDrive('S'), DrivePresence::Named);
  EXPECT_EQ(volumes.DriveDescription('S'), "\\\\server\\share");
  FakeVolumeCalls::Drive moved = Share(false);
  moved.remoteName = "\\\\other\\place";
  calls->set('S', moved);
  const int before = calls->calls();
  EXPECT_EQ(volumes.DriveDescription('S'), "\\\\server\\share");
  EXPECT_EQ(calls->calls(), before);
  EXPECT_EQ(volumes.ListDrive('S'), DrivePresence::Named);
  EXPECT_EQ(volumes.DriveDescription('S'), "\\\\other\\place");
}

// --- Network drives on the threads the program runs them on.

TEST(Win32VolumesOnThreads, FourHangingSharesHoldAPassForOneLimitNotFourThenNotAtAll) {
  constexpr std::chrono::milliseconds limit = 300ms;
  auto calls = std::make_shared<FakeVolumeCalls>();
  calls->set('C', LocalDisk(kTiB, kTiB / 2));
  for (char letter : std::string("DEFG")) calls->set(letter, Share(true));
  {
    Win32VolumesOptions threads;  // the program's own channels, on the real clock
    threads.callLimit = limit;
    Win32Volumes volumes(calls, threads);
    const auto started = std::chrono::steady_clock::now();
    std::map<char, Answer> answers = Survey(volumes, "CDEFG");
    const auto took = std::chrono::steady_clock::now() - started;
    for (char letter : std::string("DEFG"))
      EXPECT_EQ(answers.at(letter).volume, VolumeAnswer::NoAnswer) << letter;
    EXPECT_EQ(answers.at('C').space, VolumeAnswer::Answered);
    EXPECT_GE(took, limit);
    EXPECT_LT(took, 4 * limit);
    EXPECT_EQ(volumes.ChannelsOpened(), 5);  // one per drive
    EXPECT_EQ(volumes.StuckDrives(), 4);

    const int before = calls->calls();
    const auto again = std::chrono::steady_clock::now();
    answers = Survey(volumes, "CDEFG");
    EXPECT_LT(std::chrono::steady_clock::now() - again, limit);
    EXPECT_EQ(answers.at('D').volume, VolumeAnswer::NoAnswer);
    EXPECT_EQ(calls->calls(), before + 1);  // only C's free space
  }  // the volumes go without waiting for the threads stuck in their calls
  calls->release();
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
