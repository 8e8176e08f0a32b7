#include "editor/occupied_cells.h"

#include <algorithm>

namespace ohmara {

bool OccupiedCells::Insert(TCell cell) {
  if (!index_.insert(Key(cell)).second) return false;
  const auto before = std::find_if(cells_.begin(), cells_.end(),
                                   [&](const TCell& c) { return c.X >= cell.X && c.Y >= cell.Y; });
  cells_.insert(before, cell);
  return true;
}

bool OccupiedCells::Append(TCell cell) {
  if (!index_.insert(Key(cell)).second) return false;
  cells_.push_back(cell);
  return true;
}

bool OccupiedCells::Remove(TCell cell) {
  if (index_.erase(Key(cell)) == 0) return false;
  cells_.erase(std::find(cells_.begin(), cells_.end(), cell));
  return true;
}

void OccupiedCells::Clear() {
  cells_.clear();
  index_.clear();
}

}  // namespace ohmara
