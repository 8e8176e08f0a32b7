#pragma once
// The grid cells that wires must go around. The cells keep one list order,
// because the scheme file lists them in that order: a new cell goes just
// before the first cell that lies neither left of it nor above it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace ohmara {

// A grid point in cells; cell (i, j) is the pixel point (10 i, 10 j).
struct GridCell {
  int X = 0;
  int Y = 0;
  friend bool operator==(const GridCell&, const GridCell&) = default;
};

class OccupiedCells {
 public:
  OccupiedCells();
  ~OccupiedCells();
  // A copy (a step of the editor's history) leaves the search aids behind;
  // they are built again by the first change made to it.
  OccupiedCells(const OccupiedCells& other);
  OccupiedCells& operator=(const OccupiedCells& other);
  OccupiedCells(OccupiedCells&&) noexcept;
  OccupiedCells& operator=(OccupiedCells&&) noexcept;

  // Does nothing when the cell is present; true when it was added.
  bool Insert(GridCell cell);
  // Puts the cell at the end of the list, whatever the rule would say: a
  // loaded drawing keeps the order its file gives. Nothing when present.
  bool Append(GridCell cell);
  // Removes the cell if present; true when it was there.
  bool Remove(GridCell cell);
  bool Contains(GridCell cell) const {
    if (InDense(cell)) return (dense_[DenseBit(cell) / 64] >> (DenseBit(cell) % 64)) & 1;
    return !index_.empty() && index_.contains(Key(cell));
  }
  int Count() const { return count_; }
  // The cells in list order.
  const std::vector<GridCell>& Cells() const;
  void Clear();

 private:
  // The list is linked through the entries; labels grow along it, so that
  // two entries compare by position without walking the list.
  struct Entry {
    GridCell cell;
    std::uint64_t label = 0;
    int previous = -1, next = -1;
  };
  struct Finder;

  bool InDense(GridCell c) const { return c.X >= 0 && c.Y >= 0 && c.X < denseWidth_ && c.Y < denseHeight_; }
  std::size_t DenseBit(GridCell c) const {
    return static_cast<std::size_t>(c.Y) * static_cast<std::size_t>(denseWidth_) + static_cast<std::size_t>(c.X);
  }
  // Adds to the index; false when the cell was there.
  bool Mark(GridCell cell);
  bool Unmark(GridCell cell);
  // Makes the dense part cover `cell` when that costs a sensible amount.
  void GrowDense(GridCell cell);
  Finder& Find();
  // Links a new entry for `cell` just before `before` (-1: at the end).
  void Link(GridCell cell, int before);
  void Unlink(int id);
  void Relabel();
  void RelabelAround(int previous, int before);

  static std::uint64_t Key(GridCell cell) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cell.X)) << 32) | static_cast<std::uint32_t>(cell.Y);
  }

  std::vector<Entry> entries_;
  std::vector<int> freeEntries_;
  int head_ = -1, tail_ = -1;
  int count_ = 0;
  mutable std::vector<GridCell> listed_;
  mutable bool listedFresh_ = true;
  // Membership answers the same as a scan of the list, only in constant time:
  // the router asks it for every neighbour it looks at. Cells of the sheet
  // are bits of a grid that grows with it; cells far off are hashed.
  std::vector<std::uint64_t> dense_;
  int denseWidth_ = 0;
  int denseHeight_ = 0;
  std::unordered_set<std::uint64_t> index_;
  // Where each cell's entry is and which entry a new cell goes before;
  // built when first needed.
  std::unique_ptr<Finder> finder_;
};

}  // namespace ohmara
