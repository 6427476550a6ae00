// The size groups and baselines that the backends' fitted labels share.
#include "platform/caption_fitting.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/text_fit.h"

namespace volumetra {
namespace {

// A label whose caption fits at `own` by itself and at every size up to `widest`.
struct FakeCaption : FittedCaption {
  FakeCaption(std::optional<float> fitsAlone, float widestFitting, double ascentPixels = 10,
              double devicePixels = 1)
      : own(fitsAlone), widest(widestFitting), ascent(ascentPixels), ratio(devicePixels) {}
  std::optional<float> ownPoints() const override { return own; }
  bool fitsAt(float points) override { return points <= widest; }
  void showAt(std::optional<float> points) override {
    shown = points;
    ++draws;
  }
  double designedAscent() const override { return ascent; }
  double pixelRatio() const override { return ratio; }

  std::optional<float> own;
  float widest;
  double ascent;
  double ratio;
  std::optional<float> shown;
  int draws = 0;
};

TEST(CaptionSizing, FitsAtTheLargestSizeAndMeasuresAFamiliarWidthOnce) {
  CaptionSizing sizing;
  int measured = 0;
  // Ten characters, 0.6 of the size wide each.
  const auto tenCharacters = [&](float points) {
    ++measured;
    return 6.0 * points;
  };
  sizing.fit(9.75f, 60, true, tenCharacters);
  EXPECT_EQ(sizing.own(), 9.75f);
  sizing.fit(9.75f, 45, true, tenCharacters);
  EXPECT_EQ(sizing.own(), 7.5f);
  EXPECT_TRUE(sizing.fitsAt(7.5f));
  EXPECT_FALSE(sizing.fitsAt(8.0f));
  // Asked again, the last answer holds without measuring.
  measured = 0;
  EXPECT_FALSE(sizing.fitsAt(8.0f));
  EXPECT_EQ(measured, 0);
  // Another caption as wide in the same room: the designed width and the last size, no search.
  sizing.fit(9.75f, 45, true, tenCharacters);
  EXPECT_EQ(sizing.own(), 7.5f);
  EXPECT_EQ(measured, 2);
  // Shown as it is, it fits at every size.
  sizing.fitAsIs(9.75f);
  EXPECT_EQ(sizing.own(), 9.75f);
  EXPECT_TRUE(sizing.fitsAt(6.0f));
  // A wrapped caption's share of its room that stays above 1 fits nowhere.
  sizing.fit(9.75f, 1.0, false, [](float) { return 1.5; });
  EXPECT_EQ(sizing.own(), std::nullopt);
}

TEST(CaptionSizeGroup, DrawsEveryMemberAtTheLargestSizeAllFitAtAndOnlyTheChangedOneWhileThatHolds) {
  FakeCaption wide(8.0f, 8.0f), narrow(9.75f, 9.75f), other(9.75f, 9.75f);
  CaptionSizeGroup group;
  for (FakeCaption* member : {&wide, &narrow, &other}) group.add(*member);
  group.refit();
  for (const FakeCaption* member : {&wide, &narrow, &other}) EXPECT_EQ(member->shown, 8.0f);

  // A new caption of the same size: the group's size holds, only that member is drawn again.
  narrow.own = 9.0f;
  narrow.widest = 9.0f;
  group.refit(&narrow);
  EXPECT_EQ(narrow.draws, 2);
  EXPECT_EQ(other.draws, 1);
  // A wider one takes the whole group down; a member that fits nowhere draws it at the smallest.
  narrow.own = 7.5f;
  narrow.widest = 7.5f;
  group.refit(&narrow);
  EXPECT_EQ(other.shown, 7.5f);
  narrow.own.reset();
  group.refit(&narrow);
  EXPECT_EQ(other.shown, std::nullopt);
  // Without it, the others grow back.
  group.remove(narrow);
  group.refit();
  EXPECT_EQ(other.shown, 8.0f);
}

TEST(CaptionBaseline, IsTheLowestOfTheMembersBaselinesOnAWholeDevicePixel) {
  FakeCaption small(8.0f, 8.0f, 10.2, 2), large(9.75f, 9.75f, 12.1, 2);
  EXPECT_EQ(OwnBaseline(small), 10.5);
  CaptionBaseline row;
  row.add(small);
  EXPECT_EQ(row.baseline(), 10.5);
  row.add(large);
  EXPECT_EQ(row.baseline(), 12.5);
  row.remove(large);
  EXPECT_EQ(row.baseline(), 10.5);
}

TEST(ShortenedCaption, KeepsAsManyWholeCharactersAsFitBesideTheEllipsis) {
  // Three bytes of UTF-8 take as much room as one.
  const auto fitsIn = [](std::size_t width) {
    return [width](const std::string& text) {
      std::size_t characters = 0;
      for (unsigned char byte : text) characters += (byte & 0xC0) != 0x80;
      return characters <= width;
    };
  };
  EXPECT_EQ(ShortenedCaption("Fotos für Oma", false, fitsIn(9)), "Fotos f\u00fc\u2026");
  EXPECT_EQ(ShortenedCaption("Fotos für Oma", false, fitsIn(8)), "Fotos f\u2026");
  EXPECT_EQ(ShortenedCaption("Fotos für Oma 写真", true, fitsIn(4)), "\u2026 写真");
  EXPECT_EQ(ShortenedCaption("123 456", true, fitsIn(1)), "\u2026");
  EXPECT_EQ(ShortenedCaption("123 456", true, fitsIn(0)), "\u2026");
}

}  // namespace
}  // namespace volumetra
