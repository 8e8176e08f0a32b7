#include "editor/sheet_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "editor/plain_list_router.h"

namespace ohmara {
namespace {

std::vector<GridCell> Sorted(std::vector<GridCell> cells) {
  std::sort(cells.begin(), cells.end(), [](GridCell a, GridCell b) { return a.X != b.X ? a.X < b.X : a.Y < b.Y; });
  return cells;
}

std::vector<GridCell> Rectangle(int x1, int x2, int y1, int y2) {
  std::vector<GridCell> cells;
  for (int x = x1; x <= x2; ++x)
    for (int y = y1; y <= y2; ++y) cells.push_back({x, y});
  return cells;
}

TEST(SheetBranch, EndTerminalAndFootprintFollowTheOrientation) {
  const SheetBranch h = MakeSheetBranch(100, 200, 1, 2, false, {});
  EXPECT_EQ(std::pair(h.X2, h.Y2), std::pair(220, 200));
  EXPECT_EQ(Sorted(Footprint(h)), Rectangle(10, 22, 19, 21));
  const SheetBranch v = MakeSheetBranch(100, 200, 1, 2, true, {});
  EXPECT_EQ(std::pair(v.X2, v.Y2), std::pair(100, 320));
  EXPECT_EQ(Sorted(Footprint(v)), Rectangle(9, 11, 20, 32));

  // Blocked along the branch, across it at each step, so the list starts with
  // the start terminal's row.
  OccupiedCells cells;
  for (const GridCell& c : Footprint(h)) cells.Insert(c);
  EXPECT_EQ(cells.Count(), 39);
  EXPECT_EQ(std::vector<GridCell>(cells.Cells().begin(), cells.Cells().begin() + 4),
            (std::vector<GridCell>{{10, 19}, {10, 20}, {10, 21}, {11, 19}}));
}

TEST(OccupiedCells, NewCellGoesBeforeTheFirstCellNeitherLeftNorAbove) {
  OccupiedCells cells;
  cells.Insert({5, 5});
  EXPECT_TRUE(cells.Insert({3, 9}));
  EXPECT_FALSE(cells.Insert({5, 5}));
  EXPECT_TRUE(cells.Insert({2, 2}));
  EXPECT_EQ(cells.Cells(), (std::vector<GridCell>{{2, 2}, {5, 5}, {3, 9}}));
  EXPECT_EQ(cells.Count(), 3);
  EXPECT_TRUE(cells.Remove({5, 5}));
  EXPECT_FALSE(cells.Remove({5, 5}));
  EXPECT_EQ(cells.Cells(), (std::vector<GridCell>{{2, 2}, {3, 9}}));
}

// The constant-time membership answers as the list does, and the list keeps the same order, through any mix of changes
// - cells off the grid, cells that make it grow, appended cells, copies changed further (as the editor's history
// makes them), and thousands of cells put in at one place.
TEST(OccupiedCells, AgreesWithThePlainListThroughRandomChanges) {
  std::mt19937 random(7);
  OccupiedCells cells;
  plain::CellList reference;
  auto anyCell = [&] {
    const int spread = random() % 50 == 0 ? 400 : 30;
    return GridCell{static_cast<int>(random() % spread) - 3, static_cast<int>(random() % spread) - 3};
  };
  for (int i = 0; i < 20000; ++i) {
    const GridCell c = anyCell();
    switch (random() % 7) {
      case 0:
      case 1:
        cells.Remove(c), reference.Remove(c);
        break;
      case 2:
        if (cells.Append(c)) reference.cells.push_back(c);
        break;
      default:
        if (cells.Insert(c))
          reference.cells.insert(reference.cells.begin() + plain::CellList::InsertionPoint(reference.cells, c), c);
        break;
    }
    const GridCell probe = anyCell();
    // Appended cells may stand after a cell right of and below them, where
    // the scan would stop early: membership is the list's, not the scan's.
    const bool listed = std::find(reference.cells.begin(), reference.cells.end(), probe) != reference.cells.end();
    ASSERT_EQ(cells.Contains(probe), listed) << i;
    if (i % 997 == 0) {
      ASSERT_EQ(cells.Cells(), reference.cells) << i;
      OccupiedCells copy = cells;
      cells = copy;
    }
  }
  // A long wire going in at one place of the list, as a drawn table's buses
  // do, keeps the order too.
  for (int y = -3; y < 3000; ++y) {
    const GridCell c{20, y};
    if (cells.Insert(c))
      reference.cells.insert(reference.cells.begin() + plain::CellList::InsertionPoint(reference.cells, c), c);
  }
  EXPECT_EQ(cells.Cells(), reference.cells);
  EXPECT_EQ(cells.Count(), static_cast<int>(reference.cells.size()));
}

TEST(SheetBranch, HitTestByThirdsAndEightPixelsAcross) {
  const SheetBranch h = MakeSheetBranch(100, 200, 1, 2, false, {});
  const SheetBranch v = MakeSheetBranch(100, 200, 1, 2, true, {});
  struct Case {
    int along, across;
    BranchHit hit;
  };
  // Positions along the branch from its start terminal and across its line.
  const Case cases[] = {
      {0, 0, BranchHit::Miss},         {5, 0, BranchHit::StartThird},    {39, 7, BranchHit::StartThird},
      {40, 0, BranchHit::MiddleThird}, {79, -7, BranchHit::MiddleThird}, {80, 0, BranchHit::EndThird},
      {119, 0, BranchHit::EndThird},   {120, 0, BranchHit::Miss},        {60, 8, BranchHit::Miss},
      {60, -8, BranchHit::Miss},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "along " << c.along << ", across " << c.across);
    EXPECT_EQ(HitTest(h, 100 + c.along, 200 + c.across), c.hit);
    EXPECT_EQ(HitTest(v, 100 + c.across, 200 + c.along), c.hit);
  }
}

TEST(SheetDrawing, RemovingABranchTakesTheFirstHitAndKeepsTheOrder) {
  SheetDrawing drawing;
  for (int i = 0; i < 3; ++i) {
    const SheetBranch b = MakeSheetBranch(100, 100 + 100 * i, 2 * i + 1, 2 * i + 2, false, {});
    drawing.AppendBranch(b);
    drawing.BlockFootprint(b);
  }
  EXPECT_FALSE(drawing.RemoveBranchAt(100, 200));  // on the terminal point
  const std::optional<SheetBranch> removed = drawing.RemoveBranchAt(150, 203);
  ASSERT_TRUE(removed);
  EXPECT_EQ(removed->From, 3);
  ASSERT_EQ(drawing.Branches().size(), 2u);
  EXPECT_EQ(drawing.Branches()[1].From, 5);
  EXPECT_EQ(drawing.Occupied().Count(), 78);
  EXPECT_FALSE(drawing.Occupied().Contains({12, 20}));
}

}  // namespace
}  // namespace ohmara
