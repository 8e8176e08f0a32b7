#pragma once
// Random drawings for the router's tests and benchmark: branches whose bands
// do not overlap, placed at random grid points of the sheet, and wires
// routed between random terminals.

#include <random>
#include <vector>

#include "editor/sheet_model.h"
#include "editor/wire_router.h"

namespace ohmara::sheets {

inline bool FitsFree(const SheetDrawing& drawing, const SheetBranch& branch) {
  for (const GridCell& c : Footprint(branch))
    if (drawing.Occupied().Contains(c)) return false;
  return true;
}

// Up to `count` branches inside cells 1..85 x 1..61, node numbers 1, 2, ...
inline SheetDrawing RandomBranches(std::mt19937& random, int count) {
  SheetDrawing drawing;
  int node = 1;
  for (int attempt = 0; attempt < count * 40 && static_cast<int>(drawing.Branches().size()) < count; ++attempt) {
    const bool vertical = random() % 2 == 1;
    const int x = 1 + static_cast<int>(random() % (vertical ? 84 : 72));
    const int y = 1 + static_cast<int>(random() % (vertical ? 48 : 60));
    const SheetBranch branch = MakeSheetBranch(10 * x, 10 * y, node, node + 1, vertical, {1, 0, 0, 0, 0});
    if (!FitsFree(drawing, branch)) continue;
    drawing.AppendBranch(branch);
    drawing.BlockFootprint(branch);
    node += 2;
  }
  return drawing;
}

inline std::vector<Terminal> Terminals(const SheetDrawing& drawing) {
  std::vector<Terminal> terminals;
  for (const SheetBranch& b : drawing.Branches()) {
    terminals.push_back(StartTerminal(b));
    terminals.push_back(EndTerminal(b));
  }
  return terminals;
}

// Joins `count` random pairs of terminals (some runs find no way).
inline void AddRandomWires(std::mt19937& random, SheetDrawing& drawing, int count) {
  const std::vector<Terminal> terminals = Terminals(drawing);
  for (int i = 0; i < count && terminals.size() > 1; ++i) {
    const Terminal& a = terminals[random() % terminals.size()];
    const Terminal& b = terminals[random() % terminals.size()];
    JoinTerminals(drawing, a, b);
  }
}

}  // namespace ohmara::sheets
