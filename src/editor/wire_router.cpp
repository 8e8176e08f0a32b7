#include "editor/wire_router.h"

#include <algorithm>
#include <cstdlib>

#include "editor/route_cells.h"

namespace ohmara {

namespace {

constexpr int kBoxMargin = 26;
constexpr int kMaxCellsTaken = 36000;
constexpr int kMaxTraceIndex = kMaxWirePoints - 1;

struct Step {
  int dx, dy;
};
// Neighbours are always looked at in this order.
constexpr Step kSteps[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

GridCell Moved(GridCell c, Step s, int times = 1) { return {c.X + s.dx * times, c.Y + s.dy * times}; }

RouteBox BoxAround(GridCell a, GridCell b, GridCell last) {
  return {std::max(std::min(a.X, b.X) - kBoxMargin, 0), std::max(std::min(a.Y, b.Y) - kBoxMargin, 0),
          std::min(std::max(a.X, b.X) + kBoxMargin, last.X), std::min(std::max(a.Y, b.Y) + kBoxMargin, last.Y)};
}

// The occupied cells, and the cells a table's labels keep free of wires.
class Obstacles {
 public:
  Obstacles(OccupiedCells& occupied, const ExtraObstacles* extra) : occupied_(occupied), extra_(extra) {}
  bool Contains(GridCell c) const { return occupied_.Contains(c) || (extra_ && extra_->Contains(c)); }
  bool Insert(GridCell c) { return occupied_.Insert(c); }
  void Remove(GridCell c) { occupied_.Remove(c); }

 private:
  OccupiedCells& occupied_;
  const ExtraObstacles* extra_;
};

// A free neighbour is reached one step further; an occupied one is a wire
// to jump when the cell behind it is free: the crossed cell is closed (it
// never becomes a wire point) and the cell behind costs two steps. Two
// occupied cells in a row - a branch's band - cannot be crossed.
void Relax(RouteCells& cells, const Obstacles& occupied, GridCell from, int dist, Step step) {
  const GridCell next = Moved(from, step);
  if (cells.IsClosed(next)) return;
  if (!occupied.Contains(next)) {
    if (!cells.Contains(next)) cells.Insert(next, dist + 1, false);
    else if (dist + 1 < cells.Dist(next)) cells.SetDist(next, dist + 1);
    return;
  }
  const GridCell behind = Moved(next, step);
  if (occupied.Contains(behind)) return;
  cells.Insert(next, dist + 1, true);
  if (cells.Contains(behind)) cells.SetDist(behind, dist + 2);
  else cells.Insert(behind, dist + 2, false);
}

// Whether the search could reach `target` at all: the cells it may take,
// without the order in which it takes them (a crossing cell it closes can
// only take ways away). Much cheaper than the search, which a join that
// cannot exist would otherwise run to the last cell of its box.
bool MayReach(const RouteBox& box, const Obstacles& occupied, GridCell start, GridCell target) {
  const int width = box.right - box.left + 1;
  std::vector<char> seen(static_cast<size_t>(width) * static_cast<size_t>(box.bottom - box.top + 1), 0);
  auto visit = [&](GridCell c, std::vector<GridCell>& queue) {
    char& mark =
        seen[static_cast<size_t>(c.Y - box.top) * static_cast<size_t>(width) + static_cast<size_t>(c.X - box.left)];
    if (!mark) queue.push_back(c);
    mark = 1;
  };
  std::vector<GridCell> queue;
  visit(start, queue);
  for (size_t next = 0; next < queue.size(); ++next) {
    const GridCell at = queue[next];
    if (at == target) return true;
    for (const Step& step : kSteps) {
      const GridCell near = Moved(at, step);
      if (!box.Inside(near)) continue;
      if (!occupied.Contains(near)) visit(near, queue);
      else if (!occupied.Contains(Moved(near, step))) visit(Moved(near, step), queue);
    }
  }
  return false;
}

// Spreads distances from `start` until `target` is taken.
RouteResult Search(RouteCells& cells, const RouteBox& box, const Obstacles& occupied, GridCell start, GridCell target) {
  cells.Insert(start, 0, true);
  GridCell current = start;
  int dist = 0;
  for (int taken = 1;; ++taken) {
    for (const Step& step : kSteps)
      if (box.Inside(Moved(current, step))) Relax(cells, occupied, current, dist, step);
    const std::optional<GridCell> nearest = cells.TakeNearestOpen();
    if (!nearest) return RouteResult::NoRoute;
    current = *nearest;
    dist = cells.Dist(current);
    if (taken > kMaxCellsTaken) return RouteResult::GuardTripped;
    if (current == target) return RouteResult::Routed;
  }
}

// The walk back from the target to the start along descending distances.
// `vertical` says which way it last moved: 0 across, 1 up or down, 2 not yet.
class TraceBack {
 public:
  TraceBack(const RouteCells& cells, Obstacles& occupied) : cells_(cells), occupied_(occupied) {}

  // Leaves the target in the first direction that descends and is free, or
  // jumps the occupied cell there; stays put when none does.
  GridCell FirstStep(const GridCell& target) {
    for (const Step& step : kSteps) {
      GridCell at = target;
      if (!Descends(at, step) || !TryMove(at, step)) continue;
      vertical_ = step.dy != 0 ? 1 : 0;
      return at;
    }
    return target;
  }

  // One step back; a step that cannot move turns the direction instead, so
  // a bend repeats its cell.
  void StepBack(GridCell& at) {
    if (vertical_ == 0) {
      if (Descends(at, kSteps[0])) {
        TryMove(at, kSteps[0]);
        return;
      }
      if (Descends(at, kSteps[1]) && TryMove(at, kSteps[1])) return;
    } else if (vertical_ == 1) {
      if (Descends(at, kSteps[2]) && TryMove(at, kSteps[2])) return;
      if (Descends(at, kSteps[3]) && TryMove(at, kSteps[3])) return;
    }
    vertical_ = vertical_ == 0 ? 1 : 0;
  }

 private:
  bool Descends(GridCell at, Step step) const { return cells_.Dist(Moved(at, step)) == cells_.Dist(at) - 1; }
  bool TryMove(GridCell& at, Step step) const {
    for (int times = 1; times <= 2; ++times)
      if (!occupied_.Contains(Moved(at, step, times))) {
        at = Moved(at, step, times);
        return true;
      }
    return false;
  }

  const RouteCells& cells_;
  Obstacles& occupied_;
  int vertical_ = 2;
};

RouteResult Trace(const RouteCells& cells, Obstacles& occupied, GridCell start, GridCell target,
                  std::vector<GridCell>& points) {
  TraceBack trace(cells, occupied);
  points = {target};
  std::vector<GridCell> inserted;
  GridCell at = trace.FirstStep(target);
  for (int i = 1;;) {
    points.push_back(at);
    if (occupied.Insert(at)) inserted.push_back(at);
    trace.StepBack(at);
    if (++i > kMaxTraceIndex) {
      // A wire that is not recorded must not leave cells behind that no
      // deletion could ever free: undo them, latest first, which restores
      // the list exactly.
      for (auto c = inserted.rbegin(); c != inserted.rend(); ++c) occupied.Remove(*c);
      points.clear();
      return RouteResult::GuardTripped;
    }
    if (at == start) break;
  }
  points.push_back(start);
  return RouteResult::Routed;
}

}  // namespace

RouteOutcome RouteConnection(OccupiedCells& occupiedCells, GridCell start, GridCell target, GridCell lastCell,
                             const ExtraObstacles* extra) {
  Obstacles occupied(occupiedCells, extra);
  const RouteBox box = BoxAround(start, target, lastCell);
  // A start outside the box's region has no neighbour inside the box.
  if (!box.InRegion(start)) return {};
  // The start is closed from the outset and is never taken again, so a wire
  // from a cell to itself is never found.
  if (start == target) return {};
  // A wire holds fewer points than the shortest way has cells: no search
  // can succeed (only a drawn table asks for such joins; a sheet of the
  // first size is too small for them).
  if (std::abs(start.X - target.X) + std::abs(start.Y - target.Y) >= kMaxWirePoints) return {};
  // A box no larger than the guard's count cannot trip it while failing, so
  // a join found impossible beforehand fails as the search would.
  const long area = static_cast<long>(box.right - box.left + 1) * (box.bottom - box.top + 1);
  if (area <= kMaxCellsTaken && !MayReach(box, occupied, start, target)) return {};
  RouteCells cells(box);
  RouteOutcome outcome;
  outcome.result = Search(cells, box, occupied, start, target);
  if (outcome.result == RouteResult::Routed) outcome.result = Trace(cells, occupied, start, target, outcome.points);
  return outcome;
}

bool IsBranchTerminal(const SheetDrawing& drawing, const Terminal& terminal) {
  const GridCell cell = CellOf(terminal);
  for (const SheetBranch& b : drawing.Branches())
    if (CellOf(StartTerminal(b)) == cell || CellOf(EndTerminal(b)) == cell) return true;
  return false;
}

JoinOutcome JoinTerminals(SheetDrawing& drawing, const Terminal& first, const Terminal& second,
                          const ExtraObstacles* extra) {
  OccupiedCells& occupied = drawing.Occupied();
  // A wire's end on another wire (a loaded scheme's, or a drawn table's)
  // opens only its own cell: it has no band whose row could be opened.
  const bool onBranch[] = {IsBranchTerminal(drawing, first), IsBranchTerminal(drawing, second)};
  auto release = [&](const Terminal& t, bool branch) {
    if (branch) ReleaseTerminal(occupied, t);
    else occupied.Remove(CellOf(t));
  };
  auto block = [&](const Terminal& t, bool branch) {
    if (branch) BlockTerminal(occupied, t);
    else occupied.Insert(CellOf(t));
  };
  release(first, onBranch[0]);
  release(second, onBranch[1]);
  RouteOutcome route = RouteConnection(occupied, CellOf(first), CellOf(second), drawing.LastCell(), extra);
  JoinOutcome outcome{route.result};
  if (route.result == RouteResult::Routed) {
    outcome.wireIndex = static_cast<int>(drawing.Connections().size());
    drawing.AppendConnection(Connection{first.Node, second.Node, std::move(route.points)});
  }
  block(first, onBranch[0]);
  block(second, onBranch[1]);
  return outcome;
}

}  // namespace ohmara
