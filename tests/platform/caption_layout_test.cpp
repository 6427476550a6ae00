// Which labels are drawn alike and which siblings their captions keep clear of, from the designed
// windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "app/form1.h"
#include "platform/caption_groups.h"
#include "platform/caption_neighbours.h"
#include "support/fake_machine.h"
#include "windows/form2.h"

namespace volumetra {
namespace {

std::string Name(const Control* c) {
  return c->index() < 0 ? c->name() : c->name() + "(" + std::to_string(c->index()) + ")";
}

std::vector<std::string> Names(const std::vector<Control*>& controls) {
  std::vector<std::string> names;
  for (const Control* c : controls) names.push_back(Name(c));
  return names;
}

struct CaptionLayoutTest : ::testing::Test {
  FakeMachine machine;
  Form1& main = machine.start().form1();
  Form2& graph = machine.program->form2();

  // The neighbours of `label` as "sibling side front|behind".
  std::vector<std::string> neighboursOf(const Form& form, const Control& label) {
    std::vector<std::string> found;
    for (const CaptionNeighbour& n : CaptionNeighbours(form)) {
      if (n.label != &label) continue;
      found.push_back(Name(n.sibling) + (n.side == Side::Left ? " left " : " right ") +
                      (n.inFront ? "front" : "behind"));
    }
    return found;
  }
};

TEST_F(CaptionLayoutTest, EveryGridColumnAndTheSumsAreDrawnAtOneSizeEach) {
  const auto groups = CaptionSizeGroups(main);
  ASSERT_EQ(groups.size(), 10u);
  const char* columns[] = {"Label2", "Label3", "Label4", "Label5", "Label6", "Label7", "Label8", "Label9"};
  for (std::size_t i = 0; i < 8; ++i) {
    ASSERT_EQ(groups[i].size(), 25u) << columns[i];
    for (const Control* cell : groups[i]) EXPECT_EQ(cell->name(), columns[i]);
  }
  EXPECT_EQ(Names(groups[8]), (std::vector<std::string>{"Label130", "Label131", "Label52"}));
  EXPECT_EQ(Names(groups[9]), (std::vector<std::string>{"Label182", "Label183", "Label129"}));
  // The graph window: its letter column and its two legend captions.
  const auto graphGroups = CaptionSizeGroups(graph);
  ASSERT_EQ(graphGroups.size(), 2u);
  EXPECT_EQ(graphGroups[0].size(), 25u);
  EXPECT_EQ(Names(graphGroups[1]), (std::vector<std::string>{"Label26", "Label27"}));
}

TEST_F(CaptionLayoutTest, EveryGridRowTheHeaderAndTheSumsRowShareABaselineEach) {
  const auto rows = CaptionRows(main);
  // The header cells, 25 grid rows and the sums row; the self-sizing corner cell is no member.
  ASSERT_EQ(rows.size(), 27u);
  EXPECT_EQ(Names(rows[0]), (std::vector<std::string>{"Label10", "Label11", "Label12", "Label13", "Label14",
                                                      "Label15", "Label16"}));
  EXPECT_EQ(Names(rows[1]), (std::vector<std::string>{"Label2(0)", "Label3(0)", "Label4(0)", "Label5(0)",
                                                      "Label6(0)", "Label7(0)", "Label8(0)", "Label9(0)"}));
  EXPECT_EQ(Names(rows[25]).front(), "Label2(24)");
  EXPECT_EQ(Names(rows[26]), (std::vector<std::string>{"Label130", "Label182", "Label131", "Label183",
                                                       "Label52", "Label129"}));
  // Moved by the grid timer, the sums row is still one row: rows are designed ones.
  main.Label52.setTop(1000);
  EXPECT_EQ(CaptionRows(main).back().size(), 6u);
}

TEST_F(CaptionLayoutTest, CaptionsKeepClearOfTheSiblingsTheyOverlapOrTouch) {
  // The free sum: the "Used" title lies over its right edge, it lies over the "Free" title.
  EXPECT_EQ(neighboursOf(main, main.Label183),
            (std::vector<std::string>{"Label131 left behind", "Label52 right front"}));
  EXPECT_EQ(neighboursOf(main, main.Label130),
            (std::vector<std::string>{"Slider1 left behind", "Label182 right front"}));
  // The corner cell sizes itself under the seven header cells.
  EXPECT_EQ(neighboursOf(main, main.Label1).size(), 7u);
  // The header cells only graze the first row's top: its cells have no neighbour.
  for (int column = 2; column <= 9; ++column) {
    const Control& cell = main.control("Label" + std::to_string(column), 0);
    EXPECT_TRUE(neighboursOf(main, cell).empty()) << Name(&cell);
  }
  // The graph window's legend: the blue square stands inside the "Total" caption's line, which
  // lies over the "Free" caption and the scale's last caption.
  EXPECT_EQ(neighboursOf(graph, graph.Label27),
            (std::vector<std::string>{"Label31 right behind", "Label26 left behind", "Shape52 right front"}));
}

TEST_F(CaptionLayoutTest, TheRoomOfACaptionFollowsItsNeighboursWhereTheyStandNow) {
  const CaptionNeighbourhood neighbourhood(graph);
  // One pixel a twip, the controls where designed unless moved here.
  std::map<const Control*, PixelRect> moved;
  const auto placeOf = [&](const Control& c) {
    const auto found = moved.find(&c);
    return found != moved.end() ? found->second
                                : PixelRect{c.left(), c.top(), c.left() + c.width(), c.top() + c.height()};
  };
  // The "Total" caption stops a pixel short of the square in front of it, which stands inside it.
  CaptionRoom room = neighbourhood.roomOf(graph.Label27, placeOf, 1);
  EXPECT_EQ(room.right, 3120 + 1455 - 3720 + 1);
  EXPECT_EQ(room.left, 1);  // the "Free" caption behind it reaches over its left edge
  EXPECT_TRUE(room.covered.empty());
  // Moved away, the square leaves the caption its line up to a pixel off the scale's last caption,
  // which lies behind it.
  moved[&graph.Shape52] = PixelRect{5000, 6360, 5255, 6615};
  EXPECT_EQ(neighbourhood.roomOf(graph.Label27, placeOf, 1).right, 1);
  // A move of the square or of "Free" concerns the "Total" caption, and each its own.
  const auto near = neighbourhood.labelsNear(graph.Shape52);
  EXPECT_EQ(near, (std::vector<const Control*>{&graph.Label27}));
  EXPECT_TRUE(std::find(neighbourhood.labels().begin(), neighbourhood.labels().end(), &graph.Label27) !=
              neighbourhood.labels().end());

  // The self-sizing corner cell, as long as the German header line: the header cells in front
  // cover stretches of it, a pixel wider on each side, from its left edge.
  const CaptionNeighbourhood header(main);
  moved[&main.Label1] = PixelRect{0, 0, 5000, 240};
  room = header.roomOf(main.Label1, placeOf, 1);
  ASSERT_EQ(room.covered.size(), 4u);  // the cells from 360 to before 5000
  EXPECT_EQ(room.covered.front(), (Extent{359, 1456}));
  EXPECT_EQ(room.left + room.right, 0);
}

TEST(CaptionInset, ASiblingInFrontTakesWhatItCoversAndEveryNeighbourAGap) {
  CaptionNeighbour front{nullptr, nullptr, Side::Right, true};
  EXPECT_EQ(CaptionInset(front, {288, 337}, {336, 377}, 1), 2);
  CaptionNeighbour frontLeft{nullptr, nullptr, Side::Left, true};
  EXPECT_EQ(CaptionInset(frontLeft, {100, 200}, {90, 130}, 1), 31);
  CaptionNeighbour behind{nullptr, nullptr, Side::Left, false};
  EXPECT_EQ(CaptionInset(behind, {288, 337}, {248, 289}, 1), 1);
  // Moved apart, they no longer meet.
  EXPECT_EQ(CaptionInset(front, {288, 337}, {340, 377}, 1), 0);
  EXPECT_EQ(CaptionInset(behind, {288, 337}, {200, 280}, 1), 0);
}

}  // namespace
}  // namespace volumetra
