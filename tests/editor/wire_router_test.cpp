#include "editor/wire_router.h"

#include <gtest/gtest.h>

#include <random>

#include "editor/plain_list_router.h"
#include "editor/random_sheets.h"

namespace ohmara {
namespace {

std::vector<GridCell> Row(int y, int fromX, int toX) {
  std::vector<GridCell> cells;
  for (int x = fromX; fromX <= toX ? x <= toX : x >= toX; x += fromX <= toX ? 1 : -1) cells.push_back({x, y});
  return cells;
}

// Two horizontal branches facing each other on row 20: the first ends in
// cell (22, 20), the second starts in cell (30, 20).
SheetDrawing FacingBranches() {
  SheetDrawing drawing;
  for (const SheetBranch& b :
       {MakeSheetBranch(100, 200, 1, 2, false, {}), MakeSheetBranch(300, 200, 3, 4, false, {})}) {
    drawing.AppendBranch(b);
    drawing.BlockFootprint(b);
  }
  return drawing;
}

JoinOutcome JoinFacing(SheetDrawing& drawing) {
  return JoinTerminals(drawing, EndTerminal(drawing.Branches()[0]), StartTerminal(drawing.Branches()[1]));
}

TEST(WireRouter, StraightWireFromTheSecondTerminalBackToTheFirst) {
  SheetDrawing drawing = FacingBranches();
  const JoinOutcome join = JoinFacing(drawing);
  ASSERT_EQ(join.result, RouteResult::Routed);
  const Connection& wire = drawing.Connections()[0];
  EXPECT_EQ(std::pair(wire.From, wire.To), std::pair(2, 3));
  EXPECT_EQ(wire.Points, Row(20, 30, 22));
}

TEST(WireRouter, JumpsAWireAtARightAngleAndLeavesItsCellOnce) {
  SheetDrawing drawing = FacingBranches();
  for (int y = 10; y <= 30; ++y) drawing.Occupied().Insert({26, y});
  const int before = drawing.Occupied().Count();
  ASSERT_EQ(JoinFacing(drawing).result, RouteResult::Routed);
  std::vector<GridCell> expected = Row(20, 30, 27);
  for (const GridCell& c : Row(20, 25, 22)) expected.push_back(c);
  EXPECT_EQ(drawing.Connections()[0].Points, expected);
  // The six inner points are new; the crossed cell is not doubled.
  EXPECT_EQ(drawing.Occupied().Count(), before + 6);
}

TEST(WireRouter, GoesAroundABandWithDoubledBends) {
  SheetDrawing drawing = FacingBranches();
  const SheetBranch band = MakeSheetBranch(260, 140, 5, 6, true, {});
  drawing.AppendBranch(band);
  drawing.BlockFootprint(band);
  ASSERT_EQ(JoinFacing(drawing).result, RouteResult::Routed);
  const std::vector<GridCell>& points = drawing.Connections()[0].Points;
  const std::vector<GridCell> blocked = Footprint(band);
  for (const GridCell& p : points) EXPECT_EQ(std::count(blocked.begin(), blocked.end(), p), 0);
  int doubled = 0;
  for (size_t i = 1; i < points.size(); ++i) doubled += points[i] == points[i - 1];
  EXPECT_EQ(doubled, 3);  // up, across above the band, down
}

TEST(WireRouter, UnreachableTargetsAddNoWireAndChangeNoCell) {
  struct Case {
    const char* what;
    GridCell start, target;
    std::vector<GridCell> walls;
  };
  std::vector<GridCell> ring;  // two cells thick around (40, 30)
  for (int x = 37; x <= 43; ++x)
    for (int y = 27; y <= 33; ++y)
      if (std::max(std::abs(x - 40), std::abs(y - 30)) >= 2) ring.push_back({x, y});
  const Case cases[] = {
      {"the same cell twice", {20, 20}, {20, 20}, {}},
      {"a target walled in", {20, 20}, {40, 30}, ring},
      {"a target on the sheet's edge column", {5, 20}, {0, 20}, {}},
      {"a start beyond the box", {120, 20}, {80, 20}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OccupiedCells occupied;
    for (const GridCell& w : c.walls) occupied.Insert(w);
    const std::vector<GridCell> before = occupied.Cells();
    const RouteOutcome outcome = RouteConnection(occupied, c.start, c.target);
    EXPECT_EQ(outcome.result, RouteResult::NoRoute);
    EXPECT_TRUE(outcome.points.empty());
    EXPECT_EQ(occupied.Cells(), before);
  }
}

// Walls two cells thick with openings at alternate ends make a way of
// several hundred cells: the trace stops at 300 points and takes back its cells.
TEST(WireRouter, ATraceLongerThanAWireCanHoldTripsTheGuardAndUndoesItsCells) {
  OccupiedCells occupied;
  for (int wall = 0; wall < 8; ++wall)
    for (int x = 1; x <= 84; ++x)
      if (wall % 2 == 0 ? x > 3 : x < 82)
        for (int y = 8 + 6 * wall; y <= 9 + 6 * wall; ++y) occupied.Insert({x, y});
  const std::vector<GridCell> before = occupied.Cells();
  plain::CellList reference{before};
  EXPECT_EQ(plain::Router(reference).Route({2, 3}, {83, 58}).result, RouteResult::GuardTripped);
  const RouteOutcome outcome = RouteConnection(occupied, {2, 3}, {83, 58});
  EXPECT_EQ(outcome.result, RouteResult::GuardTripped);
  EXPECT_EQ(occupied.Cells(), before);
}

// Every cell of a footprint except the terminal rows the wire was allowed to use.
bool InForeignBand(const SheetDrawing& drawing, const Terminal& a, const Terminal& b, GridCell c) {
  OccupiedCells own;
  BlockTerminal(own, a);
  BlockTerminal(own, b);
  if (own.Contains(c)) return false;
  for (const SheetBranch& branch : drawing.Branches()) {
    const std::vector<GridCell> cells = Footprint(branch);
    if (std::find(cells.begin(), cells.end(), c) != cells.end()) return true;
  }
  return false;
}

// The wire that holds `c` runs across the jump from `c - step` to `c + step`,
// unless it leaves from the same node: wires of one node may run together.
bool CrossedAtRightAngle(const std::vector<Connection>& earlier, GridCell c, GridCell step, const Terminal& a,
                         const Terminal& b) {
  for (const Connection& wire : earlier)
    for (size_t i = 0; i < wire.Points.size(); ++i) {
      if (wire.Points[i] == c && (wire.From == a.Node || wire.To == a.Node || wire.From == b.Node || wire.To == b.Node))
        return true;
      if (!(wire.Points[i] == c)) continue;
      for (size_t j : {i - 1, i + 1})
        if (j < wire.Points.size() && !(wire.Points[j] == c) &&
            (step.X != 0 ? wire.Points[j].X != c.X : wire.Points[j].Y != c.Y))
          return false;
      return true;
    }
  return false;
}

void ExpectSoundWire(const SheetDrawing& drawing, const Terminal& a, const Terminal& b,
                     const std::vector<GridCell>& points) {
  const GridCell s = CellOf(a), t = CellOf(b);
  const int left = std::max(std::min(s.X, t.X) - 26, 0), right = std::min(std::max(s.X, t.X) + 26, 85);
  const int top = std::max(std::min(s.Y, t.Y) - 26, 0), bottom = std::min(std::max(s.Y, t.Y) + 26, 61);
  ASSERT_GE(points.size(), 3u);
  EXPECT_EQ(points.front(), t);
  EXPECT_EQ(points.back(), s);
  for (size_t i = 0; i < points.size(); ++i) {
    const GridCell p = points[i];
    EXPECT_TRUE(left <= p.X && p.X <= right && top <= p.Y && p.Y <= bottom) << "point " << i << " outside the box";
    EXPECT_FALSE(InForeignBand(drawing, a, b, p)) << "point " << i << " in a band";
    if (i == 0) continue;
    const GridCell step{p.X - points[i - 1].X, p.Y - points[i - 1].Y};
    const int length = std::abs(step.X) + std::abs(step.Y);
    ASSERT_TRUE(step.X == 0 || step.Y == 0) << "diagonal step at " << i;
    ASSERT_LE(length, 2) << "step at " << i;
    if (length == 2) {
      const GridCell unit{step.X / 2, step.Y / 2};
      const GridCell crossed{points[i - 1].X + unit.X, points[i - 1].Y + unit.Y};
      EXPECT_FALSE(InForeignBand(drawing, a, b, crossed)) << "jump over a band at " << i;
      EXPECT_TRUE(CrossedAtRightAngle(drawing.Connections(), crossed, unit, a, b)) << "jump at " << i;
    }
  }
}

// On random sheets, every route of the router equals the plain-list
// router's, point for point and cell order for cell order, and is sound.
TEST(WireRouter, MatchesThePlainListRouterAndStaysSoundOnRandomSheets) {
  int routed = 0, unrouted = 0;
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 random(seed);
    SheetDrawing drawing = sheets::RandomBranches(random, 6 + seed % 10);
    // Many wires already, so that routes cross them often.
    sheets::AddRandomWires(random, drawing, 24);
    const std::vector<Terminal> terminals = sheets::Terminals(drawing);
    for (int route = 0; route < 4; ++route) {
      SCOPED_TRACE(testing::Message() << "seed " << seed << ", route " << route);
      const Terminal a = terminals[random() % terminals.size()];
      const Terminal b = terminals[random() % terminals.size()];
      ReleaseTerminal(drawing.Occupied(), a);
      ReleaseTerminal(drawing.Occupied(), b);
      plain::CellList reference{drawing.Occupied().Cells()};
      const RouteOutcome expected = plain::Router(reference).Route(CellOf(a), CellOf(b));
      const RouteOutcome outcome = RouteConnection(drawing.Occupied(), CellOf(a), CellOf(b));
      ASSERT_EQ(outcome.result, expected.result);
      ASSERT_EQ(outcome.points, expected.points);
      ASSERT_EQ(drawing.Occupied().Cells(), reference.cells);
      if (outcome.result == RouteResult::Routed) {
        ExpectSoundWire(drawing, a, b, outcome.points);
        drawing.AppendConnection({a.Node, b.Node, outcome.points});
        ++routed;
      } else {
        ++unrouted;
      }
      BlockTerminal(drawing.Occupied(), a);
      BlockTerminal(drawing.Occupied(), b);
    }
  }
  EXPECT_GT(routed, 20);
  EXPECT_GT(unrouted, 0);
}

// Thin random lines everywhere: jumps at every turn, where the order of
// equally distant cells decides which cell behind a crossing keeps which
// distance.
TEST(WireRouter, MatchesThePlainListRouterAmongManyCrossings) {
  for (unsigned seed = 1; seed <= 150; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    OccupiedCells occupied;
    for (int line = 0; line < 40; ++line) {
      const bool vertical = random() % 2 == 1;
      GridCell c{static_cast<int>(random() % 86), static_cast<int>(random() % 62)};
      for (int length = 3 + static_cast<int>(random() % 20); length > 0; --length) {
        occupied.Insert(c);
        (vertical ? c.Y : c.X) += 1;
      }
    }
    const GridCell start{static_cast<int>(random() % 86), static_cast<int>(random() % 62)};
    const GridCell target{std::clamp(start.X + static_cast<int>(random() % 41) - 20, 0, 85),
                          std::clamp(start.Y + static_cast<int>(random() % 41) - 20, 0, 61)};
    occupied.Remove(start);
    occupied.Remove(target);
    plain::CellList reference{occupied.Cells()};
    const RouteOutcome expected = plain::Router(reference).Route(start, target);
    const RouteOutcome outcome = RouteConnection(occupied, start, target);
    ASSERT_EQ(outcome.result, expected.result);
    ASSERT_EQ(outcome.points, expected.points);
    ASSERT_EQ(occupied.Cells(), reference.cells);
  }
}

}  // namespace
}  // namespace ohmara
