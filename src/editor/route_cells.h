#pragma once
// The cells one routing run has reached, with their distances from the start.
// The run picks the open cell of least distance and, among equals, the one
// that comes first in a list kept by the occupied-cell rule (a new cell goes
// just before the first cell lying neither left of it nor above it). That
// choice decides the route, so the list order is kept exactly - by order
// labels and, per column, the earliest cell at or below each row - while
// finding a cell, its place in the list and the next open cell take
// far less than a scan of the list.

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "editor/occupied_cells.h"

namespace ohmara {

// Cells left < x < right, top < y < bottom are inside; the cells on the edge
// belong to the region a run may store.
struct RouteBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Inside(GridCell c) const { return left < c.X && c.X < right && top < c.Y && c.Y < bottom; }
  bool InRegion(GridCell c) const { return left <= c.X && c.X <= right && top <= c.Y && c.Y <= bottom; }
};

class RouteCells {
 public:
  // Distance of a cell the run has not reached.
  static constexpr int kUnreached = 1000;

  explicit RouteCells(const RouteBox& box);
  RouteCells(const RouteCells&) = delete;
  RouteCells& operator=(const RouteCells&) = delete;

  // Every cell stored must lie in the box's region; a cell is stored once.
  void Insert(GridCell cell, int dist, bool closed);
  bool Contains(GridCell cell) const { return IdOf(cell) >= 0; }
  bool IsClosed(GridCell cell) const;
  int Dist(GridCell cell) const;
  void SetDist(GridCell cell, int dist);
  // Takes and closes the open cell of least distance (first in the list on a tie).
  std::optional<GridCell> TakeNearestOpen();

 private:
  struct Entry {
    GridCell cell;
    int dist = 0;
    bool closed = false;
    std::uint64_t label = 0;  // increases along the list
    int previous = -1, next = -1;
  };
  struct ByDistThenList {
    const RouteCells* cells;
    bool operator()(int a, int b) const;
  };

  int IdOf(GridCell cell) const;
  int Slot(int column, int row) const { return column * height_ + row; }
  int FirstDominating(GridCell cell) const;
  void Link(int id, int before);
  void Relabel();
  void NoteInColumn(int id);

  RouteBox box_;
  int width_ = 0, height_ = 0;
  std::vector<Entry> entries_;
  std::vector<int> idAt_;           // per cell of the region
  std::vector<int> earliestBelow_;  // per cell: earliest entry in its column at or below it
  int head_ = -1, tail_ = -1;
  std::set<int, ByDistThenList> open_;
};

}  // namespace ohmara
