// The order of sibling windows: the design's stacking where controls overlap, the tab order among
// the tab stops for the dialog manager.
#include "platform/stacking_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace volumetra {
namespace {

PixelEdges At(int left, int width = 10) {
  return PixelEdges{left, 0, left + width, 10};
}

TEST(StackingOrder, WithoutTabStopsTheLastControlIsOnTop) {
  const std::vector<StackedControl> labels{{false, -1, At(0)}, {false, -1, At(5)}, {false, -1, At(40)}};
  EXPECT_EQ(StackingOrder(labels), (std::vector<std::size_t>{2, 1, 0}));
}

TEST(StackingOrder, TabStopsComeInTheDesignedTabOrderThoseWithoutAnIndexLast) {
  // Buttons apart from each other, made in another order than their tab order.
  const std::vector<StackedControl> buttons{
      {true, -1, At(0)}, {true, 2, At(20)}, {true, 0, At(40)}, {true, 1, At(60)}, {true, -1, At(80)}};
  EXPECT_EQ(StackingOrder(buttons), (std::vector<std::size_t>{2, 3, 1, 0, 4}));
}

TEST(StackingOrder, ALaterControlOverlappingATabStopStaysInFrontOfIt) {
  // A slider whose right edge a later label covers, and a button that covers nothing: the slider
  // goes to the top of the tab order only as far as the label lets it.
  const std::vector<StackedControl> row{
      {true, -1, At(0, 21)}, {false, -1, At(20)}, {false, -1, At(100)}, {true, -1, At(200)}};
  const std::vector<std::size_t> order = StackingOrder(row);
  const auto place = [&order](std::size_t i) {
    return std::find(order.begin(), order.end(), i) - order.begin();
  };
  EXPECT_LT(place(1), place(0));  // the label over the slider
  EXPECT_LT(place(0), place(3));  // the slider before the button in the tab order
  EXPECT_LT(place(2), place(1));  // labels in the design's stacking
}

TEST(StackingOrder, ContradictingWishesStillGiveEveryControlOnce) {
  // The first tab stop under a label that lies under the second: the tab order would put the first
  // over the second, the overlaps the second over the first.
  const std::vector<StackedControl> tangle{{true, 0, At(0)}, {false, -1, At(5)}, {true, 1, At(12)}};
  std::vector<std::size_t> order = StackingOrder(tangle);
  ASSERT_EQ(order.size(), 3u);
  std::sort(order.begin(), order.end());
  EXPECT_EQ(order, (std::vector<std::size_t>{0, 1, 2}));
}

}  // namespace
}  // namespace volumetra
