#pragma once
// The drawing of the circuit editor: branches placed on a 10-pixel grid,
// the wires between their terminals, and the cells the wires must avoid.
// Positions are pixels of the sheet, x to the right, y downwards.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "editor/occupied_cells.h"

namespace ohmara {

// Every branch is this long, from its start terminal to its end terminal.
inline constexpr int kSheetBranchLength = 120;
// A wire holds at most this many points.
inline constexpr int kMaxWirePoints = 300;

// R in ohms, L in millihenries, C in microfarads, E in volts (its sign is the
// direction), Angle in degrees; 0 means the element is absent. J is a current
// source in amperes beside the series elements, driving From -> To as E does
// (its sign is the direction), JAngle its phase in degrees.
struct ElementValues {
  double R = 0.0;
  double L = 0.0;
  double C = 0.0;
  double E = 0.0;
  double Angle = 0.0;
  double J = 0.0;
  double JAngle = 0.0;
  friend bool operator==(const ElementValues&, const ElementValues&) = default;
};

// Whether the branch has a current source: J or its angle given, as a table
// row has one when either cell is filled.
inline bool UsesCurrentSource(const ElementValues& values) { return values.J != 0 || values.JAngle != 0; }
// A branch of nothing but a current source.
inline bool IsIdealCurrentSource(const ElementValues& values) {
  return UsesCurrentSource(values) && values.R == 0 && values.L == 0 && values.C == 0 && values.E == 0;
}
// A current source beside series elements: drawn on a bypass beside the branch line.
inline bool HasBypass(const ElementValues& values) {
  return UsesCurrentSource(values) && !IsIdealCurrentSource(values);
}

// One drawn branch. A horizontal branch starts at its left terminal, a
// vertical one at its top terminal; From and To are the terminals' node numbers.
struct SheetBranch {
  int From = 0;
  int To = 0;
  int X1 = 0;
  int Y1 = 0;
  int X2 = 0;
  int Y2 = 0;
  bool Vertical = false;
  ElementValues Values;
  friend bool operator==(const SheetBranch&, const SheetBranch&) = default;
};

SheetBranch MakeSheetBranch(int x1, int y1, int from, int to, bool vertical, const ElementValues& values);

// The 39 cells a branch blocks: its line and one cell to either side, both
// terminal cells included, in the order they are blocked.
std::vector<GridCell> Footprint(const SheetBranch& branch);

// Where a press at (x, y) falls on a branch: the third next to the start
// terminal, the one next to the end terminal, or the middle.
enum class BranchHit { Miss, StartThird, EndThird, MiddleThird };
BranchHit HitTest(const SheetBranch& branch, int x, int y);

// One wire. Points run from the terminal picked second to the one picked
// first; consecutive points differ by one cell, by two where the wire jumps
// over another, and not at all at a bend.
struct Connection {
  int From = 0;  // node of the terminal picked first
  int To = 0;    // node of the terminal picked second
  std::vector<GridCell> Points;
  friend bool operator==(const Connection&, const Connection&) = default;
};

// A terminal of a drawn branch: its node number and pixel position.
struct Terminal {
  int Node = 0;
  int X = 0;
  int Y = 0;
  bool Vertical = false;
  friend bool operator==(const Terminal&, const Terminal&) = default;
};

Terminal StartTerminal(const SheetBranch& branch);
Terminal EndTerminal(const SheetBranch& branch);
GridCell CellOf(const Terminal& terminal);

// The terminal's row of its branch's footprint. Releasing it lets a wire
// leave the terminal in three directions; blocking it closes the band again.
void ReleaseTerminal(OccupiedCells& cells, const Terminal& terminal);
void BlockTerminal(OccupiedCells& cells, const Terminal& terminal);

// The cells of the sheet the window opens with: the router's region,
// columns 0..85 and rows 0..61, on a picture of 846 x 608 pixels. A drawn
// table or a loaded scheme larger than that makes the sheet grow.
inline constexpr int kSheetLastColumn = 85;
inline constexpr int kSheetLastRow = 61;
inline constexpr int kSheetWidth = 846;
inline constexpr int kSheetHeight = 608;

enum class Placement { Fits, Overlaps, OffSheet };

struct SheetSize {
  int width = kSheetWidth;
  int height = kSheetHeight;
  friend bool operator==(const SheetSize&, const SheetSize&) = default;
};

// The three collections of a drawing, each in order of creation.
class SheetDrawing {
 public:
  const std::vector<SheetBranch>& Branches() const { return branches_; }
  const std::vector<Connection>& Connections() const { return connections_; }
  const OccupiedCells& Occupied() const { return occupied_; }
  OccupiedCells& Occupied() { return occupied_; }

  // Appending does not block the footprint; the caller does, when it chooses.
  void AppendBranch(const SheetBranch& branch) { branches_.push_back(branch); }
  // Puts the branch back at its place in the list and blocks its footprint.
  void InsertBranch(int index, const SheetBranch& branch);
  void BlockFootprint(const SheetBranch& branch);
  void ReleaseFootprint(const SheetBranch& branch);
  // Blocks the footprint of every branch again, e.g. after removing cells
  // that two things shared.
  void BlockAllFootprints();

  // Takes out the first branch that a press at (x, y) hits and releases its
  // footprint; nothing when no branch is hit.
  std::optional<SheetBranch> RemoveBranchAt(int x, int y);

  void AppendConnection(Connection connection) { connections_.push_back(std::move(connection)); }
  // Removes every wire with an end at node a or b, and all its points from
  // the occupied cells.
  void RemoveConnectionsOf(int a, int b);

  // The index of the first branch a press at (x, y) hits, or -1.
  int BranchAt(int x, int y) const;
  // The index of the last wire drawn through the cell nearest to (x, y), or -1.
  int ConnectionAt(int x, int y) const;
  // The wires that end at a terminal of the branch and at no other branch's
  // terminal there: what goes with the branch when it is deleted or moved.
  std::vector<int> OwnConnections(int branch) const;
  // Takes out the branch and its own wires; the occupied cells are then
  // exactly the remaining footprints and wire points.
  SheetBranch RemoveBranch(int branch);
  // Takes out one wire, keeping every cell another wire or a band needs.
  Connection RemoveConnection(int connection);
  void SetValues(int branch, const ElementValues& values) { branches_[branch].Values = values; }
  void SetNodes(int branch, int from, int to) {
    branches_[branch].From = from;
    branches_[branch].To = to;
  }
  void SetWireNodes(int connection, int from, int to) {
    connections_[connection].From = from;
    connections_[connection].To = to;
  }
  // Takes out the wires that a removal left hanging on nothing, and those
  // hanging on them: a wire's end on a wire goes with the wire.
  void RemoveLooseWires();
  // Every footprint and every wire's inner points blocked again (cells
  // already there keep their place in the list).
  void BlockEverything();

  void Clear();

  // Whether a new branch may stand there: its band on the sheet with both
  // terminals strictly inside, and its line on no other branch's band or
  // wire (and no other line in its band) - but for terminals placed on
  // another branch's terminal, which join it.
  Placement CheckPlacement(const SheetBranch& branch) const;

  // The sheet's last column and row of cells: wires and new branches stay
  // within them.
  GridCell LastCell() const { return lastCell_; }
  // Grows the sheet (never shrinks it below the first size) to hold every
  // branch and wire with a free ring round them.
  void FitSheet();
  // Grows the sheet so that its last cell is at least `far`.
  void GrowSheet(GridCell far) {
    lastCell_.X = std::max(lastCell_.X, far.X);
    lastCell_.Y = std::max(lastCell_.Y, far.Y);
  }
  // The sheet's picture size in pixels.
  SheetSize SheetPixels() const;

  // The largest node number of any terminal or wire end; 0 on an empty sheet.
  int LargestNode() const;

 private:
  std::vector<SheetBranch> branches_;
  std::vector<Connection> connections_;
  OccupiedCells occupied_;
  GridCell lastCell_{kSheetLastColumn, kSheetLastRow};
};

// A cell as one number, for hashing.
inline std::uint64_t CellKey(GridCell c) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(c.X)) << 32) | static_cast<std::uint32_t>(c.Y);
}

// The wires with a point on each cell (by CellKey), each wire once a cell.
std::unordered_map<std::uint64_t, std::vector<int>> WiresByCell(const SheetDrawing& drawing);

// Cuts a way too long for one wire into wires of at most kMaxWirePoints
// points. Neighbouring pieces share two points, `k` and `k + 1` of the way
// left to cut, where `mayCut(way, k)` allows it, so that each piece's end
// lies on an inner point of the other: the pieces are one conductor, and
// every cell they take stays occupied whatever is deleted later. Empty when
// no allowed place is found.
std::vector<std::vector<GridCell>> CutLongWay(std::vector<GridCell> way,
                                              const std::function<bool(const std::vector<GridCell>&, size_t)>& mayCut);

// The index of the first wire with an end on no terminal and on no other
// wire's point (such a wire would join its nodes with nothing drawn), or -1.
int LooseWire(const SheetDrawing& drawing);

}  // namespace ohmara
