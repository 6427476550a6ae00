#include "platform/linux/drive_letters.h"

#include <gtest/gtest.h>

namespace volumetra {
namespace {

TEST(AssignDriveLetters, GivesLettersFromDInMountOrder) {
  EXPECT_EQ(AssignDriveLetters({}, {"home", "stick", "share"}),
            (DriveLetterMap{{'D', "home"}, {'E', "stick"}, {'F', "share"}}));
}

TEST(AssignDriveLetters, RemovedMountFreesItsLetterAndOthersKeepTheirs) {
  const DriveLetterMap before{{'D', "home"}, {'E', "stick"}, {'F', "share"}};
  const DriveLetterMap after = AssignDriveLetters(before, {"home", "share"});
  EXPECT_EQ(after, (DriveLetterMap{{'D', "home"}, {'F', "share"}}));

  // A new mount takes the lowest free letter, even though it comes last in mount order.
  EXPECT_EQ(AssignDriveLetters(after, {"home", "share", "camera", "phone"}),
            (DriveLetterMap{{'D', "home"}, {'E', "camera"}, {'F', "share"}, {'G', "phone"}}));
}

TEST(AssignDriveLetters, MountsBeyondZGetNoLetter) {
  std::vector<std::string> keys;
  for (int i = 0; i < 30; ++i) keys.push_back("m" + std::to_string(i));
  const DriveLetterMap letters = AssignDriveLetters({}, keys);
  ASSERT_EQ(letters.size(), 23u);
  EXPECT_EQ(letters.at('Z'), "m22");

  // A letter freed later goes to the first mount still without one.
  keys.erase(keys.begin());
  EXPECT_EQ(AssignDriveLetters(letters, keys).at('D'), "m23");
}

}  // namespace
}  // namespace volumetra
