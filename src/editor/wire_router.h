#pragma once
// Routes a wire between two terminal cells on the grid: the shortest way
// around the occupied cells, jumping a one-cell-thick wire at a right angle,
// never through a branch's three-cell band. The search stays inside a box 26
// cells around the two cells, clipped to the sheet's cells 0..85 x 0..61.

#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "editor/sheet_model.h"

namespace ohmara {

enum class RouteResult {
  Routed,        // the wire's points are found and their cells occupied
  NoRoute,       // the target cannot be reached inside the box
  GuardTripped,  // a routing limit was exceeded (kRoutingGuardMessage)
};

// Shown when a run takes more than 36000 cells or its trace more than 299 steps.
inline constexpr std::string_view kRoutingGuardMessage = "Программа зациклилась - странно";

struct RouteOutcome {
  RouteResult result = RouteResult::NoRoute;
  // On Routed: from `target` back to `start`; bends appear as doubled points.
  std::vector<GridCell> points;
};

// Cells a run must treat as occupied without their being so: the places of
// value labels while a table is drawn. A grid of the sheet's cells, for the
// router asks about every cell it looks at; cells off it are hashed.
class ExtraObstacles {
 public:
  explicit ExtraObstacles(GridCell last) : width_(last.X + 1), height_(last.Y + 1) {
    marks_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
  }
  void Insert(GridCell c) {
    if (OnGrid(c)) marks_[Slot(c)] = 1;
    else far_.insert(Key(c));
  }
  void Erase(GridCell c) {
    if (OnGrid(c)) marks_[Slot(c)] = 0;
    else far_.erase(Key(c));
  }
  bool Contains(GridCell c) const { return OnGrid(c) ? marks_[Slot(c)] != 0 : !far_.empty() && far_.contains(Key(c)); }

 private:
  bool OnGrid(GridCell c) const { return c.X >= 0 && c.Y >= 0 && c.X < width_ && c.Y < height_; }
  size_t Slot(GridCell c) const {
    return static_cast<size_t>(c.Y) * static_cast<size_t>(width_) + static_cast<size_t>(c.X);
  }
  static std::uint64_t Key(GridCell c) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(c.X)) << 32) | static_cast<std::uint32_t>(c.Y);
  }
  int width_, height_;
  std::vector<char> marks_;
  std::unordered_set<std::uint64_t> far_;
};

// On Routed the inner points (every point but the two ends) are inserted into
// `occupied`; otherwise `occupied` is left as it was. The search never leaves
// cells 0..lastCell (the sheet's last column and row).
RouteOutcome RouteConnection(OccupiedCells& occupied, GridCell start, GridCell target,
                             GridCell lastCell = {kSheetLastColumn, kSheetLastRow},
                             const ExtraObstacles* extra = nullptr);

struct JoinOutcome {
  RouteResult result = RouteResult::NoRoute;
  int wireIndex = -1;  // the new wire in the drawing's connections, on Routed
};

// Whether a branch has a terminal on the terminal's cell.
bool IsBranchTerminal(const SheetDrawing& drawing, const Terminal& terminal);

// Releases both terminals, routes from the first to the second, records the
// wire (From = first's node, To = second's node) and blocks both again.
JoinOutcome JoinTerminals(SheetDrawing& drawing, const Terminal& first, const Terminal& second,
                          const ExtraObstacles* extra = nullptr);

}  // namespace ohmara
