// Drive letters on mounts the tests make themselves (needs root): kept across runs whatever the
// mount order, and a bind mount left out by the double-mapping exclusion for good.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "app/form1.h"
#include "platform/linux/linux_program.h"
#include "platform/linux/linux_volumes.h"
#include "platform/linux/scratch_mounts.h"
#include "support/linux/test_fuse.h"
#include "support/machine/temp_dir.h"

namespace volumetra {
namespace {

class RootDriveLetters : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "needs root: mounts loop images, tmpfs and bind mounts";
    ASSERT_TRUE(EnterPrivateMountNamespace()) << "no mount namespace of the test's own";
    ASSERT_FALSE(scratch.str().empty());
    image = scratch.str() + "/disk.img";
    std::ofstream(image).close();
    std::filesystem::resize_file(image, 8 << 20);
    ASSERT_TRUE(RunQuietly("mkfs.ext4 -q -F -L vt-letters '" + image + "'"))
        << "mkfs.ext4 failed (e2fsprogs)";
  }

  /// The letter of each of `mountPoints` in a fresh run of the volume services.
  std::map<std::string, char> LettersOfARun(const std::vector<std::string>& mountPoints) const {
    LinuxVolumes run{MakeLinuxSystemCalls(VOLUMETRA_HELPER), {.letterFile = scratch.str() + "/letters"}};
    run.ListDrive('C');
    std::map<std::string, char> letters;
    for (char letter = 'D'; letter <= 'Z'; ++letter) {
      const std::string mountPoint = run.MountPointOf(letter);
      if (std::find(mountPoints.begin(), mountPoints.end(), mountPoint) != mountPoints.end())
        letters[mountPoint] = letter;
    }
    return letters;
  }

  TempDir scratch;
  std::string image;
};

TEST_F(RootDriveLetters, EveryVolumeGetsTheSameLetterWhenTheMountsComeInTheOppositeOrder) {
  const std::string ram = scratch.MakeDirectory("ram");
  const std::string disk = scratch.MakeDirectory("disk");
  const std::string part = scratch.MakeDirectory("part");
  const std::string whole = scratch.MakeDirectory("whole");
  const std::string other = scratch.MakeDirectory("other");
  const std::vector<std::string> places = {ram, disk, part, whole, other};

  std::map<std::string, char> first;
  {
    ScratchMounts mounts;
    ASSERT_TRUE(mounts.MountTmpfs(ram, "size=1m"));
    if (!mounts.MountImage(image, disk)) GTEST_SKIP() << "cannot mount a loop device here";
    std::filesystem::create_directory(disk + "/sub");
    ASSERT_TRUE(mounts.Bind(disk + "/sub", part));  // two bind mounts of one file system
    ASSERT_TRUE(mounts.Bind(disk, whole));
    ASSERT_TRUE(mounts.MountTmpfs(other, "size=2m"));
    first = LettersOfARun(places);
    ASSERT_EQ(first.size(), places.size());
  }
  {
    // The next run: the same volumes mounted the other way round, the image on another loop
    // device, as another image takes the first free one.
    const std::string spareImage = scratch.str() + "/spare.img";
    std::ofstream(spareImage).close();
    std::filesystem::resize_file(spareImage, 8 << 20);
    ASSERT_TRUE(RunQuietly("mkfs.ext4 -q -F '" + spareImage + "'"));
    ScratchMounts mounts;
    ASSERT_TRUE(mounts.MountImage(spareImage, scratch.MakeDirectory("spare")));
    ASSERT_TRUE(mounts.MountTmpfs(other, "size=2m"));
    ASSERT_TRUE(mounts.MountImage(image, disk));
    ASSERT_TRUE(mounts.Bind(disk, whole));
    ASSERT_TRUE(mounts.Bind(disk + "/sub", part));
    ASSERT_TRUE(mounts.MountTmpfs(ram, "size=1m"));
    EXPECT_EQ(LettersOfARun(places), first);

    // A volume not seen before takes a letter none of them holds, even while they are away.
    const std::string fresh = scratch.MakeDirectory("fresh");
    ScratchMounts more;
    ASSERT_TRUE(more.MountTmpfs(fresh, "size=1m"));
    const char letter = LettersOfARun({fresh}).at(fresh);
    for (const auto& [place, known] : first) EXPECT_NE(letter, known) << place;
  }
}

TEST_F(RootDriveLetters, ABindMountLeftOutStaysOutAndTheWindowKeepsItsHeight) {
  const std::string disk = scratch.MakeDirectory("disk");
  const std::string bound = scratch.MakeDirectory("bound");
  ScratchMounts mounts;
  if (!mounts.MountImage(image, disk)) GTEST_SKIP() << "cannot mount a loop device here";
  ASSERT_TRUE(mounts.Bind(disk, bound));

  LinuxProgram machine(MakeLinuxSystemCalls(VOLUMETRA_HELPER), {.letterFile = ""});
  machine.writeSettings("[System]\nExcludeDoubleMappings=True\n");
  Program& program = machine.start();
  char diskLetter = 0, boundLetter = 0;
  for (char letter = 'D'; letter <= 'Z'; ++letter) {
    if (machine.volumes.MountPointOf(letter) == disk) diskLetter = letter;
    if (machine.volumes.MountPointOf(letter) == bound) boundLetter = letter;
  }
  ASSERT_NE(diskLetter, 0);
  ASSERT_GT(boundLetter, diskLetter);
  const float height = program.form1().height();
  for (int refresh = 0; refresh <= 30; ++refresh) {
    machine.advance(10'000);
    EXPECT_NE(program.m.DriveLetters.find(diskLetter), std::string::npos) << refresh;
    EXPECT_EQ(program.m.DriveLetters.find(boundLetter), std::string::npos) << refresh;
    EXPECT_EQ(program.form1().height(), height) << refresh;
  }
  EXPECT_EQ(height, static_cast<float>(240 * program.m.DriveLetters.size() + 1168));
}

}  // namespace
}  // namespace volumetra
