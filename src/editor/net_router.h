#pragma once
// The router of a drawn table: it joins a terminal to the nearest point of
// its node's net - any terminal of the node or any point of the node's
// wires - may cross a bundle of parallel wires in one jump, and keeps off
// the ways out of other nodes' terminals, so that no terminal is walled in
// before its node's next branch comes. Wires the user draws never come here.

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "editor/sheet_model.h"
#include "editor/wire_router.h"

namespace ohmara {

class NetRouter {
 public:
  // Routes stay inside cells 1..last-1 of a sheet whose last cell is `last`.
  // `budget`: how many cells all the searches of one drawing may take.
  NetRouter(GridCell last, long budget);

  // A cell of a branch's band: never crossed, never a wire's end but at a terminal.
  void MarkBand(GridCell cell);
  // The cells just outside a terminal, placed or to come, which wires of
  // other nodes leave free: a wire cannot wall in a terminal it passes.
  void KeepDoorways(const Terminal& terminal);
  // A placed terminal belongs to its node's net.
  void NoteTerminal(const Terminal& terminal);
  // A routed wire: its points join the net of `node`, its straight points
  // may be crossed from then on, the cells it jumps may not be crossed again.
  void NoteWire(const Connection& wire, int node);

  // Routes from `start` (a placed terminal) to the nearest other point of its
  // node's net, around the occupied cells and `extra`. Each wire found is
  // added to the drawing, its inner points occupied; a way longer than a
  // wire may hold is drawn as several wires, each ending on the next.
  // Returns the wires added, none when no way exists.
  // Near: round the start and the net only, which is quick; Anywhere: the
  // whole sheet, which may take as long as the sheet is large.
  enum class Reach { Near, Anywhere };
  std::vector<int> Join(SheetDrawing& drawing, const Terminal& start, const ExtraObstacles& extra, Reach reach);

 public:
  struct Bounds {
    int left, top, right, bottom;
    int cells;
  };

 private:
  enum Kind : std::uint8_t {
    kBand = 1,
    kAcrossLine = 2,  // a straight wire running left-right: crossed up or down
    kAlongLine = 4,   // a straight wire running up-down: crossed left or right
    kWirePoint = 8,   // any point of a wire (bends and ends too)
    kFixed = 16,      // a bend, a wire's end or a cell a wire jumps: never crossed
    kTerminalH = 32,  // a terminal of a horizontal branch
    kTerminalV = 64,  // a terminal of a vertical branch
  };

  bool OnGrid(GridCell c) const { return c.X > 0 && c.Y > 0 && c.X < width_ - 1 && c.Y < height_ - 1; }
  std::size_t Slot(GridCell c) const {
    return static_cast<std::size_t>(c.Y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(c.X);
  }
  GridCell CellAt(std::size_t slot) const {
    return {static_cast<int>(slot % static_cast<std::size_t>(width_)),
            static_cast<int>(slot / static_cast<std::size_t>(width_))};
  }
  bool IsTarget(GridCell c, int node, GridCell start) const { return c != start && net_[Slot(c)] == node; }
  void JoinNet(GridCell c, int node);
  std::optional<std::vector<GridCell>> Search(const OccupiedCells& occupied, const ExtraObstacles& extra,
                                              GridCell start, int node, const Bounds& box, const Bounds& aim);

  int width_, height_;
  std::vector<std::uint8_t> kind_;
  std::vector<int> net_;
  std::vector<int> door_;  // node of the terminal whose way out it is, 0 for none  // node of the terminal or wire
                           // point there, 0 for none
  // The box round each node's net, which the search heads for.
  std::unordered_map<int, Bounds> bounds_;
  std::unordered_map<int, std::vector<GridCell>> terminals_;
  // Per cell of the last search: cost, where from and which way.
  std::vector<int> cost_;
  std::vector<int> from_;
  std::vector<std::uint8_t> way_;  // the way each cell was entered
  std::vector<std::uint32_t> seen_;
  std::uint32_t search_ = 0;
  // Cells taken by all searches so far, and how many they may take: a table
  // too tangled for its layout must not keep the window waiting.
  long work_ = 0;
  long budget_;
};

}  // namespace ohmara
