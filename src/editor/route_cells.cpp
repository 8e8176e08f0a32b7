#include "editor/route_cells.h"

#include <limits>

namespace ohmara {

namespace {

constexpr std::uint64_t kLabelGap = std::uint64_t{1} << 32;

}  // namespace

bool RouteCells::ByDistThenList::operator()(int a, int b) const {
  const Entry& x = cells->entries_[a];
  const Entry& y = cells->entries_[b];
  if (x.dist != y.dist) return x.dist < y.dist;
  return x.label < y.label;
}

RouteCells::RouteCells(const RouteBox& box)
    : box_(box),
      width_(box.right - box.left + 1),
      height_(box.bottom - box.top + 1),
      idAt_(static_cast<size_t>(width_ * height_), -1),
      earliestBelow_(static_cast<size_t>(width_ * height_), -1),
      open_(ByDistThenList{this}) {}

int RouteCells::IdOf(GridCell cell) const {
  if (!box_.InRegion(cell)) return -1;
  return idAt_[Slot(cell.X - box_.left, cell.Y - box_.top)];
}

bool RouteCells::IsClosed(GridCell cell) const {
  const int id = IdOf(cell);
  return id >= 0 && entries_[id].closed;
}

int RouteCells::Dist(GridCell cell) const {
  const int id = IdOf(cell);
  return id >= 0 ? entries_[id].dist : kUnreached;
}

void RouteCells::SetDist(GridCell cell, int dist) {
  const int id = IdOf(cell);
  Entry& entry = entries_[id];
  if (entry.closed) {
    entry.dist = dist;
    return;
  }
  open_.erase(id);
  entry.dist = dist;
  open_.insert(id);
}

std::optional<GridCell> RouteCells::TakeNearestOpen() {
  if (open_.empty()) return std::nullopt;
  const int id = *open_.begin();
  open_.erase(open_.begin());
  entries_[id].closed = true;
  return entries_[id].cell;
}

// The first entry in list order with X >= cell.X and Y >= cell.Y: the
// earliest among the columns' earliest entries at or below the cell's row.
int RouteCells::FirstDominating(GridCell cell) const {
  const int row = cell.Y - box_.top;
  int best = -1;
  for (int column = cell.X - box_.left; column < width_; ++column) {
    const int id = earliestBelow_[Slot(column, row)];
    if (id >= 0 && (best < 0 || entries_[id].label < entries_[best].label)) best = id;
  }
  return best;
}

void RouteCells::Relabel() {
  std::uint64_t label = kLabelGap;
  for (int id = head_; id >= 0; id = entries_[id].next, label += kLabelGap) entries_[id].label = label;
}

// Puts `id` into the list just before `before`, or at the end when it is -1.
void RouteCells::Link(int id, int before) {
  const int previous = before >= 0 ? entries_[before].previous : tail_;
  if (before < 0) {
    if (previous >= 0 && entries_[previous].label > std::numeric_limits<std::uint64_t>::max() - kLabelGap) Relabel();
  } else {
    const std::uint64_t low = previous >= 0 ? entries_[previous].label : 0;
    if (entries_[before].label - low < 2) Relabel();
  }
  const std::uint64_t low = previous >= 0 ? entries_[previous].label : 0;
  entries_[id].label = before >= 0 ? low + (entries_[before].label - low) / 2 : low + kLabelGap;
  entries_[id].previous = previous;
  entries_[id].next = before;
  (previous >= 0 ? entries_[previous].next : head_) = id;
  (before >= 0 ? entries_[before].previous : tail_) = id;
}

void RouteCells::NoteInColumn(int id) {
  const Entry& entry = entries_[id];
  const int column = entry.cell.X - box_.left;
  // Earliest-at-or-below only gets earlier towards the top, so once a row
  // already has an earlier entry, every row above it has one too.
  for (int row = entry.cell.Y - box_.top; row >= 0; --row) {
    int& earliest = earliestBelow_[Slot(column, row)];
    if (earliest >= 0 && entries_[earliest].label < entry.label) break;
    earliest = id;
  }
}

void RouteCells::Insert(GridCell cell, int dist, bool closed) {
  const int id = static_cast<int>(entries_.size());
  entries_.push_back(Entry{cell, dist, closed});
  Link(id, FirstDominating(cell));
  idAt_[Slot(cell.X - box_.left, cell.Y - box_.top)] = id;
  NoteInColumn(id);
  if (!closed) open_.insert(id);
}

}  // namespace ohmara
