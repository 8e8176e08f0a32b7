#include "editor/sheet_editor.h"

#include <gtest/gtest.h>

namespace ohmara {
namespace {

// Places a branch where a press at (x, y) puts it, as the window does after OK.
void AddBranch(SheetEditor& editor, SheetTool tool, int x, int y, const ElementValues& values = {10, 0, 0, 0, 0}) {
  editor.SelectTool(tool);
  const PressOutcome press = editor.Press(x, y);
  ASSERT_EQ(press.result, PressResult::NeedElementValues);
  editor.PlaceBranch(*press.placement, values);
}

PressResult Connect(SheetEditor& editor, int x1, int y1, int x2, int y2) {
  editor.SelectTool(SheetTool::Connect);
  EXPECT_EQ(editor.Press(x1, y1).result, PressResult::FirstTerminalPicked);
  return editor.Press(x2, y2).result;
}

TEST(SheetEditor, StartsEmptyWithEveryToolEnabledAndEachToolDisablesOnlyItself) {
  SheetEditor editor;
  EXPECT_EQ(editor.Mode(), SheetMode::Idle);
  EXPECT_EQ(editor.NextNode(), 1);
  EXPECT_TRUE(editor.Drawing().Branches().empty());
  EXPECT_EQ(editor.Press(100, 100).result, PressResult::SelectionChanged);
  EXPECT_FALSE(editor.Selection());
  const SheetTool tools[] = {SheetTool::AddHorizontal, SheetTool::AddVertical, SheetTool::DeleteBranch,
                             SheetTool::Connect};
  for (SheetTool chosen : tools) {
    editor.SelectTool(chosen);
    for (SheetTool tool : tools) EXPECT_EQ(editor.IsToolEnabled(tool), tool != chosen);
  }
  for (SheetTool tool : tools) EXPECT_EQ(editor.IsToolEnabled(tool), tool != SheetTool::Connect);
}

TEST(SheetEditor, AddingSnapsToTheNearestGridPointAndNumbersTwoFreshNodes) {
  SheetEditor editor;
  editor.SelectTool(SheetTool::AddVertical);
  const PressOutcome press = editor.Press(103, 207);
  EXPECT_EQ(press.placement, (BranchPlacement{100, 210, true}));
  // Cancelling the dialog is not calling PlaceBranch: nothing changed.
  EXPECT_EQ(editor.NextNode(), 1);
  const PaintList paint = editor.PlaceBranch(*press.placement, {0, 0, 4.7, 0, 0});
  EXPECT_EQ(paint.front(), PaintOp(LineOp{{100, 210}, {100, 330}}));
  EXPECT_EQ(editor.Mode(), SheetMode::AddVertical);
  AddBranch(editor, SheetTool::AddHorizontal, 300, 300);
  const auto& branches = editor.Drawing().Branches();
  ASSERT_EQ(branches.size(), 2u);
  EXPECT_EQ(std::pair(branches[0].From, branches[0].To), std::pair(1, 2));
  EXPECT_EQ(std::pair(branches[1].From, branches[1].To), std::pair(3, 4));
  EXPECT_EQ(branches[0].Values.C, 4.7);
  EXPECT_EQ(editor.NextNode(), 5);
  EXPECT_EQ(editor.Drawing().Occupied().Count(), 78);
}

TEST(SheetEditor, ConnectingPicksTerminalsByThirdsAndRoutesAfterTheSecond) {
  SheetEditor editor;
  AddBranch(editor, SheetTool::AddHorizontal, 100, 200);
  AddBranch(editor, SheetTool::AddHorizontal, 300, 200);
  editor.SelectTool(SheetTool::Connect);
  EXPECT_EQ(editor.Press(220, 200).result, PressResult::Nothing);  // on the terminal point itself
  EXPECT_EQ(editor.Press(160, 200).result, PressResult::Nothing);  // the middle third
  EXPECT_EQ(editor.Mode(), SheetMode::PickFirstTerminal);
  EXPECT_EQ(editor.Press(215, 203).result, PressResult::FirstTerminalPicked);
  EXPECT_EQ(editor.Mode(), SheetMode::PickSecondTerminal);
  EXPECT_EQ(editor.Press(500, 500).result, PressResult::Nothing);
  const PressOutcome routed = editor.Press(305, 200);
  EXPECT_EQ(routed.result, PressResult::WireRouted);
  EXPECT_EQ(editor.Mode(), SheetMode::PickFirstTerminal);
  ASSERT_EQ(editor.Drawing().Connections().size(), 1u);
  const Connection& wire = editor.Drawing().Connections()[0];
  EXPECT_EQ(std::pair(wire.From, wire.To), std::pair(2, 3));
  ASSERT_EQ(routed.paint.size(), 1u);
  EXPECT_EQ(std::get<PolylineOp>(routed.paint[0]).points.front(), (SheetPoint{300, 200}));
  EXPECT_EQ(editor.NextNode(), 5);

  const std::vector<GridCell> before = editor.Drawing().Occupied().Cells();
  EXPECT_EQ(Connect(editor, 105, 200, 110, 200), PressResult::SameTerminal);
  EXPECT_EQ(editor.Mode(), SheetMode::PickSecondTerminal);
  EXPECT_EQ(editor.Drawing().Connections().size(), 1u);
  EXPECT_EQ(editor.Drawing().Occupied().Count(), static_cast<int>(before.size()));
}

TEST(SheetEditor, DeletingABranchRemovesTheWiresOfBothItsNodesAndKeepsOtherBandsWhole) {
  SheetEditor editor;
  AddBranch(editor, SheetTool::AddHorizontal, 100, 100);                    // 1->2
  AddBranch(editor, SheetTool::AddHorizontal, 300, 100);                    // 3->4
  AddBranch(editor, SheetTool::AddHorizontal, 300, 300);                    // 5->6
  ASSERT_EQ(Connect(editor, 215, 100, 305, 100), PressResult::WireRouted);  // 2 -> 3
  ASSERT_EQ(Connect(editor, 305, 300, 415, 100), PressResult::WireRouted);  // 5 -> 4
  ASSERT_EQ(Connect(editor, 105, 100, 415, 300), PressResult::WireRouted);  // 1 -> 6
  const Connection kept = editor.Drawing().Connections()[2];

  editor.SelectTool(SheetTool::DeleteBranch);
  EXPECT_EQ(editor.Press(500, 500).result, PressResult::Nothing);
  const PressOutcome deleted = editor.Press(360, 104);
  EXPECT_EQ(deleted.result, PressResult::BranchDeleted);
  EXPECT_EQ(deleted.paint.front(), PaintOp(PictureOp{Picture::Background, {0, 0}}));
  EXPECT_EQ(editor.Drawing().Branches().size(), 2u);
  ASSERT_EQ(editor.Drawing().Connections().size(), 1u);
  EXPECT_EQ(editor.Drawing().Connections()[0], kept);

  // What stays occupied: the two remaining bands and the kept wire's points.
  const OccupiedCells& occupied = editor.Drawing().Occupied();
  int expected = 0;
  OccupiedCells wanted;
  for (const SheetBranch& b : editor.Drawing().Branches())
    for (const GridCell& c : Footprint(b)) expected += wanted.Insert(c);
  for (const GridCell& c : kept.Points) expected += wanted.Insert(c);
  for (const GridCell& c : wanted.Cells()) EXPECT_TRUE(occupied.Contains(c));
  EXPECT_EQ(occupied.Count(), expected);
  EXPECT_EQ(editor.Mode(), SheetMode::DeleteBranch);
}

TEST(SheetEditor, ClearEmptiesTheSheetButTheNumberingGoesOn) {
  SheetEditor editor;
  AddBranch(editor, SheetTool::AddHorizontal, 100, 100);
  const PaintList paint = editor.Clear();
  EXPECT_EQ(paint, PaintList{PaintOp(PictureOp{Picture::Background, {0, 0}})});
  EXPECT_TRUE(editor.Drawing().Branches().empty());
  EXPECT_EQ(editor.Drawing().Occupied().Count(), 0);
  EXPECT_EQ(editor.Mode(), SheetMode::AddHorizontal);
  AddBranch(editor, SheetTool::AddHorizontal, 100, 100);
  EXPECT_EQ(editor.Drawing().Branches()[0].From, 3);
}

}  // namespace
}  // namespace ohmara
