#pragma once
// Rectangular grids of branches, the largest and densest circuits the
// program is asked to solve, for the streamed-trace tests and the benchmarks.
// Header-only so that the benchmark programs, which link no test support,
// share it.

#include <string>

#include "model/branch.h"

namespace ohmara {

// Node number of a grid point, row by row from 1.
constexpr int GridNode(int columns, int row, int column) { return row * columns + column + 1; }

// Branches between neighbouring points of a rows x columns grid, row by row,
// with element cells that vary from branch to branch (R everywhere, some L
// and C, a source on every fifth branch at its own phase) so that no two
// equations look alike.
inline BranchTable GridTable(int rows, int columns) {
  BranchTable table;
  auto join = [&](int from, int to) {
    const int k = static_cast<int>(table.size());
    const std::string e = k % 5 == 0 ? std::to_string(5 + k % 11) : "";
    table.push_back({std::to_string(from) + "->" + std::to_string(to), std::to_string(1 + k % 7), k % 3 ? "2.5" : "",
                     k % 4 ? "" : "470", e, e.empty() ? "" : std::to_string((k * 37) % 360)});
  };
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column) {
      if (column + 1 < columns) join(GridNode(columns, row, column), GridNode(columns, row, column + 1));
      if (row + 1 < rows) join(GridNode(columns, row, column), GridNode(columns, row + 1, column));
    }
  return table;
}

// Rows over 250 nodes: a ring, then chords between nodes ever further
// apart, so most branches close on nodes already placed; an EMF on every
// seventh. The drawing of such a table leaves joins the router cannot make.
inline BranchTable RingWithChordsTable(int rows) {
  constexpr int kNodes = 250;
  BranchTable table;
  for (int i = 0; i < rows; ++i) {
    const int from = 1 + i % kNodes;
    const int to = 1 + (i + 1 + i / kNodes * 7) % kNodes;
    table.push_back({std::to_string(from) + "->" + std::to_string(to), "10", "", "", i % 7 == 0 ? "5" : "", ""});
  }
  return table;
}

}  // namespace ohmara
