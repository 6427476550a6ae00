#include "platform/text_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace volumetra {
namespace {

// A caption of `characters` glyphs, each 0.6 of the size wide, with a little hinting jitter.
auto Caption(int characters) {
  return [characters](float points) { return characters * (0.6 * points + 0.05 * std::sin(points * 7)); };
}

TEST(FittingPoints, KeepsTheDesignedSizeWhenTheTextFits) {
  EXPECT_EQ(FittingPoints(9.75f, 100, Caption(10)), 9.75f);
}

TEST(FittingPoints, TakesTheLargestQuarterPointSizeThatFits) {
  for (int characters : {14, 15, 18, 22}) {
    const auto widthAt = Caption(characters);
    const std::optional<float> points = FittingPoints(9.75f, 80, widthAt);
    ASSERT_TRUE(points) << characters;
    EXPECT_LE(widthAt(*points), 80) << characters;
    EXPECT_GE(*points, kSmallestFittingPoints);
    EXPECT_LT(*points, 9.75f);
    // A quarter point more would not fit, unless that is the designed size already tried.
    EXPECT_GT(widthAt(*points + 0.25f), 80) << characters;
    EXPECT_EQ(std::fmod(*points * 4, 1.0f), 0.0f);
  }
}

TEST(FittingPoints, GivesUpBelowTheSmallestSize) {
  EXPECT_FALSE(FittingPoints(9.75f, 80, Caption(40)));
  EXPECT_FALSE(FittingPoints(6.0f, 10, Caption(5)));
  EXPECT_FALSE(FittingPoints(9.75f, 0, Caption(1)));
}

TEST(SharedFittingPoints, TakesTheSizeOfTheWidestCaptionForTheWholeGroup) {
  const std::vector<std::optional<float>> own = {9.75f, 7.5f, 9.75f, 8.25f};
  int asked = 0;
  const auto fitsAt = [&](std::size_t, float) {
    ++asked;
    return true;
  };
  EXPECT_EQ(SharedFittingPoints(own, fitsAt), 7.5f);
  EXPECT_EQ(asked, 3);  // the member that fits at 7.5 by itself is not asked
}

TEST(SharedFittingPoints, StepsDownWhileAMemberIsWiderThereAndGivesUpWithAMemberThatFitsNowhere) {
  const std::vector<std::optional<float>> own = {9.75f, 8.0f};
  // The first member is a little too wide at 8 and 7.75 (hinting), but fits at 7.5.
  const auto fitsAt = [](std::size_t member, float points) { return member != 0 || points <= 7.5f; };
  EXPECT_EQ(SharedFittingPoints(own, fitsAt), 7.5f);
  const auto never = [](std::size_t member, float) { return member != 0; };
  EXPECT_FALSE(SharedFittingPoints(own, never));
  const std::vector<std::optional<float>> oneTooLong = {9.75f, std::nullopt};
  EXPECT_FALSE(SharedFittingPoints(oneTooLong, [](std::size_t, float) { return true; }));
}

}  // namespace
}  // namespace volumetra
