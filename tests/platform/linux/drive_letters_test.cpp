#include "platform/linux/drive_letters.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace volumetra {
namespace {

// A volume mounted at `mountPoint`; `uuid` empty where udev does not name one.
LetterRequest Mount(std::string key, std::string mountPoint, std::string uuid = "", std::string root = "/") {
  return {key, KnownVolume{std::move(uuid), "/dev/" + key, std::move(root), std::move(mountPoint)}};
}

TEST(AssignDriveLetters, GivesLettersFromDInMountOrder) {
  KnownLetters known;
  EXPECT_EQ(AssignDriveLetters(
                {}, {Mount("home", "/home"), Mount("stick", "/media/s"), Mount("share", "/srv")}, known),
            (DriveLetterMap{{'D', "home"}, {'E', "stick"}, {'F', "share"}}));
  EXPECT_EQ(known.at('E').mountPoint, "/media/s");
}

TEST(AssignDriveLetters, RemovedMountFreesItsLetterAndOthersKeepTheirs) {
  KnownLetters known;
  const DriveLetterMap before = AssignDriveLetters(
      {}, {Mount("home", "/home"), Mount("stick", "/media/s"), Mount("share", "/srv")}, known);
  const DriveLetterMap after =
      AssignDriveLetters(before, {Mount("home", "/home"), Mount("share", "/srv")}, known);
  EXPECT_EQ(after, (DriveLetterMap{{'D', "home"}, {'F', "share"}}));

  // New volumes take the lowest letter no known volume holds: E stays the stick's.
  EXPECT_EQ(AssignDriveLetters(after,
                               {Mount("home", "/home"), Mount("share", "/srv"), Mount("camera", "/media/c"),
                                Mount("phone", "/media/p")},
                               known),
            (DriveLetterMap{{'D', "home"}, {'F', "share"}, {'G', "camera"}, {'H', "phone"}}));
  // The stick comes back to its letter.
  EXPECT_EQ(AssignDriveLetters({}, {Mount("stick", "/media/s")}, known), (DriveLetterMap{{'E', "stick"}}));
}

TEST(AssignDriveLetters, KnownVolumesGetTheirLettersWhateverTheMountOrder) {
  const std::vector<LetterRequest> firstRun = {Mount("a", "/mnt/a"), Mount("b", "/mnt/b"),
                                               Mount("c", "/mnt/c")};
  KnownLetters known;
  const DriveLetterMap first = AssignDriveLetters({}, firstRun, known);

  std::vector<LetterRequest> secondRun = firstRun;
  std::reverse(secondRun.begin(), secondRun.end());
  for (LetterRequest& mount : secondRun) mount.key += "-again";  // new mounts, the same volumes
  KnownLetters remembered = known;
  const DriveLetterMap second = AssignDriveLetters({}, secondRun, remembered);
  for (const auto& [letter, key] : first) EXPECT_EQ(second.at(letter), key + "-again") << letter;
  EXPECT_EQ(remembered, known);
}

TEST(AssignDriveLetters, BindMountsOfOneFileSystemKeepTheirOwnLetters) {
  const std::string uuid = "1b4e28ba-2fa1-11d2-883f-0016d3cca427";
  const std::vector<LetterRequest> mounts = {
      Mount("data", "/data", uuid), Mount("bind", "/srv/p", uuid, "/p"), Mount("whole", "/srv/all", uuid)};
  KnownLetters known;
  const DriveLetterMap first = AssignDriveLetters({}, mounts, known);
  ASSERT_EQ(first.size(), 3u);
  const std::vector<LetterRequest> reversed(mounts.rbegin(), mounts.rend());
  EXPECT_EQ(AssignDriveLetters({}, reversed, known), first);
}

TEST(AssignDriveLetters, AVolumeByUuidKeepsItsLetterAtAnotherMountPoint) {
  KnownLetters known;
  AssignDriveLetters({}, {Mount("home", "/home"), Mount("stick", "/media/STICK", "1A2B-3C4D")}, known);
  // The stick is mounted elsewhere now, from another device node; a new disk came first.
  LetterRequest moved = Mount("stick2", "/media/STICK1", "1A2B-3C4D");
  moved.volume.source = "/dev/sdc1";
  const DriveLetterMap letters = AssignDriveLetters({}, {Mount("new", "/mnt/new"), moved}, known);
  EXPECT_EQ(letters.at('E'), "stick2");
  EXPECT_EQ(letters.at('F'), "new");
  EXPECT_EQ(known.at('E').mountPoint, "/media/STICK1");
  // Without a UUID, only the same source at the same place is the same volume.
  KnownLetters plain;
  AssignDriveLetters({}, {Mount("ram", "/mnt/ram")}, plain);
  EXPECT_EQ(AssignDriveLetters({}, {Mount("ram", "/mnt/other")}, plain).begin()->first, 'E');
}

TEST(AssignDriveLetters, WhenEveryLetterIsKnownANewVolumeTakesTheLowestFreeOneAndIsRememberedThere) {
  std::vector<LetterRequest> many;
  for (int i = 0; i < 23; ++i) many.push_back(Mount("m" + std::to_string(i), "/mnt/" + std::to_string(i)));
  KnownLetters known;
  AssignDriveLetters({}, many, known);
  ASSERT_EQ(known.size(), 23u);
  const DriveLetterMap letters =
      AssignDriveLetters({}, {Mount("m5", "/mnt/5"), Mount("new", "/mnt/new")}, known);
  EXPECT_EQ(letters.at('I'), "m5");
  EXPECT_EQ(letters.at('D'), "new");
  EXPECT_EQ(known.at('D').mountPoint, "/mnt/new");
  EXPECT_EQ(known.size(), 23u);  // one letter per volume, bounded by the letters
}

TEST(AssignDriveLetters, MountsBeyondZGetNoLetter) {
  std::vector<LetterRequest> mounts;
  for (int i = 0; i < 30; ++i) mounts.push_back(Mount("m" + std::to_string(i), "/mnt/" + std::to_string(i)));
  KnownLetters known;
  const DriveLetterMap letters = AssignDriveLetters({}, mounts, known);
  ASSERT_EQ(letters.size(), 23u);
  EXPECT_EQ(letters.at('Z'), "m22");
  EXPECT_EQ(known.size(), 23u);

  // A letter freed later goes to the first mount still without one.
  mounts.erase(mounts.begin());
  EXPECT_EQ(AssignDriveLetters(letters, mounts, known).at('D'), "m23");
}

}  // namespace
}  // namespace volumetra
