#pragma once
// A drawing of any branch table that joins every node by construction: the
// branches one under another, in strips side by side, each node a vertical
// bus on the left (for the branches leaving it) and on the right (for those
// entering it), the two buses of a node joined above its first branch and
// below its last, and a node's buses in different strips joined in a
// channel below them. Wires cross only buses, links and the channel, always
// with a jump, so the picture joins exactly what the table joins. It is
// what the table drawing falls back on when the branches in rows cannot
// all be wired.

#include <vector>

#include "editor/sheet_model.h"

namespace ohmara {

// A branch of a table, not yet placed.
struct BranchToDraw {
  int from = 0;
  int to = 0;
  ElementValues values;
};

// The branches in table order with their wires; the sheet holds them all
// and every wire's inner points are occupied.
SheetDrawing DrawOnNodeBuses(const std::vector<BranchToDraw>& branches);

}  // namespace ohmara
