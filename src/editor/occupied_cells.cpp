#include "editor/occupied_cells.h"

#include <algorithm>

namespace ohmara {

namespace {

// The dense grid never grows beyond these many cells (two megabytes of bits).
constexpr size_t kLargestDense = size_t{1} << 24;

}  // namespace

void OccupiedCells::GrowDense(TCell cell) {
  if (cell.X < 0 || cell.Y < 0 || InDense(cell)) return;
  const int width = std::max({denseWidth_, cell.X + 1, 96});
  const int height = std::max({denseHeight_, cell.Y + 1, 64});
  const int grownWidth = cell.X >= denseWidth_ ? std::max(width, 2 * denseWidth_) : width;
  const int grownHeight = cell.Y >= denseHeight_ ? std::max(height, 2 * denseHeight_) : height;
  if (static_cast<size_t>(grownWidth) * static_cast<size_t>(grownHeight) > kLargestDense) return;
  denseWidth_ = grownWidth;
  denseHeight_ = grownHeight;
  dense_.assign((static_cast<size_t>(denseWidth_) * denseHeight_ + 63) / 64, 0);
  index_.clear();
  for (const TCell& c : cells_) Mark(c);
}

bool OccupiedCells::Mark(TCell cell) {
  if (!InDense(cell)) return index_.insert(Key(cell)).second;
  std::uint64_t& word = dense_[DenseBit(cell) / 64];
  const std::uint64_t bit = std::uint64_t{1} << (DenseBit(cell) % 64);
  if (word & bit) return false;
  word |= bit;
  return true;
}

bool OccupiedCells::Unmark(TCell cell) {
  if (!InDense(cell)) return index_.erase(Key(cell)) > 0;
  std::uint64_t& word = dense_[DenseBit(cell) / 64];
  const std::uint64_t bit = std::uint64_t{1} << (DenseBit(cell) % 64);
  if (!(word & bit)) return false;
  word &= ~bit;
  return true;
}

bool OccupiedCells::Insert(TCell cell) {
  if (Contains(cell)) return false;
  GrowDense(cell);
  Mark(cell);
  const auto before = std::find_if(cells_.begin(), cells_.end(),
                                   [&](const TCell& c) { return c.X >= cell.X && c.Y >= cell.Y; });
  cells_.insert(before, cell);
  return true;
}

bool OccupiedCells::Append(TCell cell) {
  if (Contains(cell)) return false;
  GrowDense(cell);
  Mark(cell);
  cells_.push_back(cell);
  return true;
}

bool OccupiedCells::Remove(TCell cell) {
  if (!Unmark(cell)) return false;
  cells_.erase(std::find(cells_.begin(), cells_.end(), cell));
  return true;
}

void OccupiedCells::Clear() {
  cells_.clear();
  index_.clear();
  std::fill(dense_.begin(), dense_.end(), 0);
}

}  // namespace ohmara
