#include "editor/net_router.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <queue>
#include <tuple>

namespace ohmara {

namespace {

struct Step {
  int dx, dy;
};
// Left, right, up, down: a way's index; its reverse is index ^ 1.
constexpr Step kSteps[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
constexpr int kNoWay = 4;

GridCell Moved(GridCell c, int way, int times = 1) {
  return {c.X + kSteps[way].dx * times, c.Y + kSteps[way].dy * times};
}
bool Across(int way) { return way >= 2; }

// Costs in tenths of a cell. A bend and a crossing cost more than the cells
// they save, so that a wire runs straight and crosses others seldom; a cell
// beside another wire costs a little, so that wires leave a free track
// between them where a later wire can pass.
constexpr int kStepCost = 10;
constexpr int kBendCost = 5;
constexpr int kCrossingCost = 20;
constexpr int kAlongsideCost = 3;
// A bundle wider than this is not worth crossing in one jump.
constexpr int kMostCrossed = 40;
// The estimate of the way still to go counts each cell this much: more than
// a step, so that the search heads for the net rather than widening evenly
// (a way a little longer than the shortest is as good a wire).
constexpr int kAimWeight = 40;
// A search gives up after taking this many cells: a way that has not turned
// up by then is seldom there at all, and a drawn table asks for many.
constexpr int kMostTaken = 20000;
// Terminals further apart than this are not joined: the way would take
// longer to find than the rest of the drawing together.
constexpr int kFarthestJoin = 2 * kMaxWirePoints;
// How far round the start and the net a first search looks.
constexpr int kNearMargin = 12;

// The box `b` grown to hold `c`, and `margin` cells more on every side.
NetRouter::Bounds Around(const NetRouter::Bounds& b, GridCell c, int margin) {
  return {std::min(b.left, c.X) - margin, std::min(b.top, c.Y) - margin, std::max(b.right, c.X) + margin,
          std::max(b.bottom, c.Y) + margin, b.cells};
}

}  // namespace

NetRouter::NetRouter(GridCell last, long budget) : width_(last.X + 1), height_(last.Y + 1), budget_(budget) {
  const std::size_t cells = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  kind_.assign(cells, 0);
  net_.assign(cells, 0);
  door_.assign(cells, 0);
  cost_.assign(cells, 0);
  from_.assign(cells, -1);
  way_.assign(cells, kNoWay);
  seen_.assign(cells, 0);
}

void NetRouter::MarkBand(GridCell cell) {
  if (OnGrid(cell)) kind_[Slot(cell)] |= kBand;
}

void NetRouter::KeepDoorways(const Terminal& terminal) {
  const GridCell c = CellOf(terminal);
  const bool vertical = terminal.Vertical;
  for (int far = 2; far <= 3; ++far)
    for (const int side : {-1, 1}) {
      const GridCell across = vertical ? GridCell{c.X + side * far, c.Y} : GridCell{c.X, c.Y + side * far};
      const GridCell along = vertical ? GridCell{c.X, c.Y + side * (far - 1)} : GridCell{c.X + side * (far - 1), c.Y};
      for (const GridCell& door : {across, along})
        if (OnGrid(door) && !(kind_[Slot(door)] & kBand) && door_[Slot(door)] == 0) door_[Slot(door)] = terminal.Node;
    }
}

void NetRouter::JoinNet(GridCell c, int node) {
  net_[Slot(c)] = node;
  const auto [at, fresh] = bounds_.try_emplace(node, Bounds{c.X, c.Y, c.X, c.Y, 1});
  if (fresh) return;
  Bounds& b = at->second;
  b = {std::min(b.left, c.X), std::min(b.top, c.Y), std::max(b.right, c.X), std::max(b.bottom, c.Y), b.cells + 1};
}

void NetRouter::NoteTerminal(const Terminal& terminal) {
  const GridCell c = CellOf(terminal);
  if (!OnGrid(c)) return;
  terminals_[terminal.Node].push_back(c);
  kind_[Slot(c)] |= terminal.Vertical ? kTerminalV : kTerminalH;
  JoinNet(c, terminal.Node);
}

void NetRouter::NoteWire(const Connection& wire, int node) {
  const std::vector<GridCell>& points = wire.Points;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const GridCell c = points[i];
    if (!OnGrid(c)) continue;
    std::uint8_t& kind = kind_[Slot(c)];
    kind |= kWirePoint;
    if (!(kind & kBand)) JoinNet(c, node);
    const bool inner = i > 0 && i + 1 < points.size();
    const bool bend = inner && (points[i - 1] == c || points[i + 1] == c);
    if (!inner || bend) kind |= kFixed;
    else if (points[i - 1].Y == c.Y && points[i + 1].Y == c.Y) kind |= kAcrossLine;
    else if (points[i - 1].X == c.X && points[i + 1].X == c.X) kind |= kAlongLine;
    else kind |= kFixed;
    // The cells a jump passes over are crossed once only.
    if (i == 0) continue;
    const GridCell b = points[i - 1];
    const int dx = (c.X > b.X) - (c.X < b.X);
    const int dy = (c.Y > b.Y) - (c.Y < b.Y);
    for (GridCell over{b.X + dx, b.Y + dy}; over != c; over = {over.X + dx, over.Y + dy})
      if (OnGrid(over)) kind_[Slot(over)] |= kFixed;
  }
}

std::optional<std::vector<GridCell>> NetRouter::Search(const OccupiedCells& occupied, const ExtraObstacles& extra,
                                                       GridCell start, int node, const Bounds& box, const Bounds& aim) {
  auto inBox = [&](GridCell c) {
    return OnGrid(c) && box.left <= c.X && c.X <= box.right && box.top <= c.Y && c.Y <= box.bottom;
  };
  auto estimate = [&](GridCell c) {
    return kAimWeight * (std::max(0, aim.left - c.X) + std::max(0, c.X - aim.right) + std::max(0, aim.top - c.Y) +
                         std::max(0, c.Y - aim.bottom));
  };
  auto free = [&](GridCell c) {
    const std::size_t slot = Slot(c);
    return !(kind_[slot] & kWirePoint) && (door_[slot] == 0 || door_[slot] == node) && !occupied.Contains(c) &&
           !extra.Contains(c);
  };
  auto crossable = [&](GridCell c, int way) {
    const std::uint8_t kind = kind_[Slot(c)];
    if (kind & (kBand | kFixed) || net_[Slot(c)] == node || extra.Contains(c)) return false;
    return (kind & (Across(way) ? kAcrossLine : kAlongLine)) != 0;
  };
  // A terminal is entered across its branch through its own row of the band.
  auto entersTerminal = [&](GridCell row, GridCell terminal, int way) {
    const std::uint8_t kind = kind_[Slot(terminal)];
    return !(kind_[Slot(row)] & kWirePoint) && (Across(way) ? (kind & kTerminalH) : (kind & kTerminalV)) != 0;
  };
  auto alongside = [&](GridCell c) {
    for (int way = 0; way < kNoWay; ++way) {
      const GridCell n = Moved(c, way);
      if (kind_[Slot(n)] & kWirePoint && net_[Slot(n)] != node) return kAlongsideCost;
    }
    return 0;
  };

  if (++search_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    search_ = 1;
  }
  // Among equal estimates the way gone furthest is taken first.
  using Entry = std::tuple<int, int, int>;  // estimated total, minus the cost so far, state
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
  auto reach = [&](GridCell c, int way, int cost, int from) {
    const int state = static_cast<int>(Slot(c));
    if (seen_[state] == search_ && cost_[state] <= cost) return;
    seen_[state] = search_;
    cost_[state] = cost;
    from_[state] = from;
    way_[state] = static_cast<std::uint8_t>(way);
    open.emplace(cost + estimate(c), -cost, state);
  };
  // The start has no predecessor and no way in, so no bend.
  const int startState = static_cast<int>(Slot(start));
  reach(start, kNoWay, 0, -1);
  int reached = -1;
  for (int taken = 0; !open.empty() && taken < kMostTaken && work_ < budget_;) {
    const auto [estimated, negativeCost, state] = open.top();
    const int cost = -negativeCost;
    open.pop();
    if (cost_[state] != cost) continue;
    ++taken;
    ++work_;
    const GridCell at = CellAt(static_cast<std::size_t>(state));
    if (state != startState && IsTarget(at, node, start)) {
      reached = state;
      break;
    }
    const int in = way_[state];
    // In a terminal's row of the band the way goes on into the terminal.
    const bool inBand = state != startState && !free(at);
    for (int way = 0; way < kNoWay; ++way) {
      if ((in != kNoWay && way == (in ^ 1)) || (inBand && way != in)) continue;
      const int turn = in != kNoWay && way != in ? kBendCost : 0;
      const GridCell next = Moved(at, way);
      if (!inBox(next) || next == start) continue;
      if (IsTarget(next, node, start)) {
        reach(next, way, cost + kStepCost + turn, state);
        continue;
      }
      if (free(next)) {
        reach(next, way, cost + kStepCost + turn + alongside(next), state);
        continue;
      }
      const GridCell beyond = Moved(next, way);
      if (inBox(beyond) && IsTarget(beyond, node, start) && entersTerminal(next, beyond, way)) {
        reach(next, way, cost + kStepCost + turn, state);
        continue;
      }
      int crossed = 0;
      GridCell landing = next;
      while (crossed < kMostCrossed && inBox(landing) && crossable(landing, way)) {
        landing = Moved(landing, way);
        ++crossed;
      }
      if (crossed == 0 || !inBox(landing) || landing == start) continue;
      if (!free(landing) && !IsTarget(landing, node, start)) continue;
      reach(landing, way, cost + kStepCost * (crossed + 1) + kCrossingCost * crossed + turn, state);
    }
  }
  if (reached < 0) return std::nullopt;
  // From the target back to the start; a bend repeats its cell.
  std::vector<GridCell> points;
  int later = -1;
  for (int state = reached; state >= 0; state = from_[state]) {
    const GridCell at = CellAt(static_cast<std::size_t>(state));
    const bool bend = later >= 0 && state != startState && way_[later] != way_[state];
    if (bend) points.push_back(at);
    points.push_back(at);
    later = state;
  }
  return points;
}

namespace {

// A way is cut on a plain step of a straight run: no bend, no jump.
bool PlainStep(const std::vector<GridCell>& points, std::size_t i) {
  return points[i] != points[i - 1] && points[i] != points[i + 1] && points[i + 1] != points[i + 2] &&
         std::abs(points[i].X - points[i + 1].X) + std::abs(points[i].Y - points[i + 1].Y) == 1;
}

}  // namespace

std::vector<int> NetRouter::Join(SheetDrawing& drawing, const Terminal& start, const ExtraObstacles& extra,
                                 Reach reach) {
  const GridCell from = CellOf(start);
  if (!OnGrid(from)) return {};
  OccupiedCells& occupied = drawing.Occupied();
  ReleaseTerminal(occupied, start);
  std::optional<std::vector<GridCell>> way;
  const auto net = bounds_.find(start.Node);
  // A net of the start alone has nothing to join it to.
  if (net != bounds_.end() && net->second.cells > 1) {
    // Round the start and the nearest terminal of the node first, heading
    // for it; then round the whole net; the whole sheet only when asked.
    GridCell nearest = from;
    int distance = -1;
    for (const GridCell& t : terminals_[start.Node]) {
      const int d = std::abs(t.X - from.X) + std::abs(t.Y - from.Y);
      if (t != from && (distance < 0 || d < distance)) {
        nearest = t;
        distance = d;
      }
    }
    const Bounds toNearest = Around(Bounds{nearest.X, nearest.Y, nearest.X, nearest.Y, 1}, from, 0);
    // A node whose every terminal lies so far off is left to the plain router.
    const int tries = distance > kFarthestJoin ? 0 : reach == Reach::Anywhere ? 3 : 2;
    const Bounds attempts[][2] = {{Around(toNearest, from, kNearMargin), toNearest},
                                  {Around(net->second, from, 4 * kNearMargin), net->second},
                                  {Around(net->second, from, width_ + height_), net->second}};
    for (int a = reach == Reach::Anywhere ? 2 : 0; a < tries && !way; ++a)
      way = Search(occupied, extra, from, start.Node, attempts[a][0], attempts[a][1]);
  }
  std::vector<int> added;
  if (way) {
    for (std::vector<GridCell>& piece : CutLongWay(std::move(*way), PlainStep)) {
      for (std::size_t p = 1; p + 1 < piece.size(); ++p) occupied.Insert(piece[p]);
      added.push_back(static_cast<int>(drawing.Connections().size()));
      drawing.AppendConnection(Connection{start.Node, start.Node, std::move(piece)});
      NoteWire(drawing.Connections().back(), start.Node);
    }
  }
  BlockTerminal(occupied, start);
  return added;
}

}  // namespace ohmara
