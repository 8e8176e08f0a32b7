#include "editor/occupied_cells.h"

#include <algorithm>
#include <limits>

namespace ohmara {

namespace {

// The dense grid never grows beyond these many cells (two megabytes of bits).
constexpr size_t kLargestDense = size_t{1} << 24;
// Beyond these many cells the finder keeps no per-column aids (they take
// eight bytes a cell) and scans the list instead.
constexpr size_t kLargestColumnAids = size_t{1} << 22;
constexpr std::uint64_t kLabelGap = std::uint64_t{1} << 32;

}  // namespace

// Finding where a new cell goes is a question about the whole list: the
// earliest entry lying neither left of nor above it. Per column of the
// dense grid the finder keeps, for every row, the earliest entry at or below
// that row, so the question costs one look per column to the right.
struct OccupiedCells::Finder {
  int width = 0, height = 0;
  bool columns = false;
  std::vector<int> idAt;                          // per dense cell, column by column
  std::vector<int> earliestBelow;                 // per dense cell, column by column
  std::unordered_map<std::uint64_t, int> farIds;  // entries the columns do not hold
  std::vector<int> far;

  bool InColumns(GridCell c) const { return columns && c.X >= 0 && c.Y >= 0 && c.X < width && c.Y < height; }
  std::size_t Slot(int x, int y) const {
    return static_cast<std::size_t>(x) * static_cast<std::size_t>(height) + static_cast<std::size_t>(y);
  }
};

OccupiedCells::OccupiedCells() = default;
OccupiedCells::~OccupiedCells() = default;
OccupiedCells::OccupiedCells(OccupiedCells&&) noexcept = default;
OccupiedCells& OccupiedCells::operator=(OccupiedCells&&) noexcept = default;

OccupiedCells::OccupiedCells(const OccupiedCells& other)
    : entries_(other.entries_),
      freeEntries_(other.freeEntries_),
      head_(other.head_),
      tail_(other.tail_),
      count_(other.count_),
      listed_(other.listed_),
      listedFresh_(other.listedFresh_),
      dense_(other.dense_),
      denseWidth_(other.denseWidth_),
      denseHeight_(other.denseHeight_),
      index_(other.index_) {}

OccupiedCells& OccupiedCells::operator=(const OccupiedCells& other) {
  if (this != &other) *this = OccupiedCells(other);
  return *this;
}

const std::vector<GridCell>& OccupiedCells::Cells() const {
  if (!listedFresh_) {
    listed_.clear();
    listed_.reserve(static_cast<size_t>(count_));
    for (int id = head_; id >= 0; id = entries_[id].next) listed_.push_back(entries_[id].cell);
    listedFresh_ = true;
  }
  return listed_;
}

void OccupiedCells::GrowDense(GridCell cell) {
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
  for (int id = head_; id >= 0; id = entries_[id].next) Mark(entries_[id].cell);
  finder_.reset();
}

bool OccupiedCells::Mark(GridCell cell) {
  if (!InDense(cell)) return index_.insert(Key(cell)).second;
  std::uint64_t& word = dense_[DenseBit(cell) / 64];
  const std::uint64_t bit = std::uint64_t{1} << (DenseBit(cell) % 64);
  if (word & bit) return false;
  word |= bit;
  return true;
}

bool OccupiedCells::Unmark(GridCell cell) {
  if (!InDense(cell)) return index_.erase(Key(cell)) > 0;
  std::uint64_t& word = dense_[DenseBit(cell) / 64];
  const std::uint64_t bit = std::uint64_t{1} << (DenseBit(cell) % 64);
  if (!(word & bit)) return false;
  word &= ~bit;
  return true;
}

OccupiedCells::Finder& OccupiedCells::Find() {
  if (finder_) return *finder_;
  finder_ = std::make_unique<Finder>();
  Finder& f = *finder_;
  f.width = denseWidth_;
  f.height = denseHeight_;
  f.columns = static_cast<size_t>(f.width) * static_cast<size_t>(f.height) <= kLargestColumnAids;
  if (f.columns) {
    f.idAt.assign(static_cast<size_t>(f.width) * static_cast<size_t>(f.height), -1);
    f.earliestBelow = f.idAt;
  }
  for (int id = head_; id >= 0; id = entries_[id].next) {
    const GridCell c = entries_[id].cell;
    if (f.InColumns(c)) {
      f.idAt[f.Slot(c.X, c.Y)] = id;
    } else {
      f.farIds[Key(c)] = id;
      f.far.push_back(id);
    }
  }
  // Labels grow along the list: the earliest entry has the smallest.
  auto earlier = [&](int a, int b) { return b < 0 || (a >= 0 && entries_[a].label < entries_[b].label); };
  if (f.columns)
    for (int x = 0; x < f.width; ++x) {
      int best = -1;
      for (int y = f.height - 1; y >= 0; --y) {
        if (earlier(f.idAt[f.Slot(x, y)], best)) best = f.idAt[f.Slot(x, y)];
        f.earliestBelow[f.Slot(x, y)] = best;
      }
    }
  return f;
}

void OccupiedCells::Relabel() {
  std::uint64_t label = kLabelGap;
  for (int id = head_; id >= 0; id = entries_[id].next, label += kLabelGap) entries_[id].label = label;
}

void OccupiedCells::RelabelAround(int previous, int before) {
  // Many cells put in at one place of a long list (a long wire, a loaded
  // drawing) would relabel the whole list every few cells. Instead the
  // stretch round the place widens, doubling, until its range of labels
  // spreads out to gaps that take many more cells; the whole list only when
  // the stretch takes it all.
  constexpr std::uint64_t kRoomyGap = std::uint64_t{1} << 20;
  int first = previous >= 0 ? previous : before;
  int last = before >= 0 ? before : previous;
  std::uint64_t count = first == last ? 1 : 2;
  for (std::uint64_t wanted = 4;; wanted *= 2) {
    while (count < wanted && (entries_[first].previous >= 0 || entries_[last].next >= 0)) {
      if (entries_[first].previous >= 0) {
        first = entries_[first].previous;
        ++count;
      }
      if (count < wanted && entries_[last].next >= 0) {
        last = entries_[last].next;
        ++count;
      }
    }
    const int below = entries_[first].previous;
    const int above = entries_[last].next;
    if (below < 0 && above < 0) break;
    const std::uint64_t low = below >= 0 ? entries_[below].label : 0;
    // Past the end of the list the labels are free as far as a whole relabel would reach.
    const std::uint64_t high = above >= 0 ? entries_[above].label : low + (count + 1) * kLabelGap;
    if (high < low || (high - low) / (count + 1) < kRoomyGap) continue;
    const std::uint64_t gap = (high - low) / (count + 1);
    std::uint64_t label = low;
    for (int id = first;; id = entries_[id].next) {
      label += gap;
      entries_[id].label = label;
      if (id == last) break;
    }
    return;
  }
  Relabel();
}

void OccupiedCells::Link(GridCell cell, int before) {
  int id = 0;
  if (freeEntries_.empty()) {
    id = static_cast<int>(entries_.size());
    entries_.push_back({});
  } else {
    id = freeEntries_.back();
    freeEntries_.pop_back();
  }
  const int previous = before >= 0 ? entries_[before].previous : tail_;
  const auto low = [&] { return previous >= 0 ? entries_[previous].label : std::uint64_t{0}; };
  if (before < 0 ? low() > std::numeric_limits<std::uint64_t>::max() - 2 * kLabelGap
                 : entries_[before].label - low() < 2)
    RelabelAround(previous, before);
  Entry& entry = entries_[id];
  entry.cell = cell;
  entry.label = before >= 0 ? low() + (entries_[before].label - low()) / 2 : low() + kLabelGap;
  entry.previous = previous;
  entry.next = before;
  (previous >= 0 ? entries_[previous].next : head_) = id;
  (before >= 0 ? entries_[before].previous : tail_) = id;
  ++count_;
  listedFresh_ = false;

  if (!finder_) return;
  Finder& f = *finder_;
  if (!f.InColumns(cell)) {
    f.farIds[Key(cell)] = id;
    f.far.push_back(id);
    return;
  }
  f.idAt[f.Slot(cell.X, cell.Y)] = id;
  // The earliest entry at or below a row only gets earlier going up the
  // column, so the walk stops at the first row that has an earlier one.
  for (int y = cell.Y; y >= 0; --y) {
    int& earliest = f.earliestBelow[f.Slot(cell.X, y)];
    if (earliest >= 0 && entries_[earliest].label < entry.label) break;
    earliest = id;
  }
}

void OccupiedCells::Unlink(int id) {
  Entry& entry = entries_[id];
  (entry.previous >= 0 ? entries_[entry.previous].next : head_) = entry.next;
  (entry.next >= 0 ? entries_[entry.next].previous : tail_) = entry.previous;
  freeEntries_.push_back(id);
  --count_;
  listedFresh_ = false;

  Finder& f = *finder_;
  const GridCell cell = entry.cell;
  if (!f.InColumns(cell)) {
    f.farIds.erase(Key(cell));
    f.far.erase(std::find(f.far.begin(), f.far.end(), id));
    return;
  }
  f.idAt[f.Slot(cell.X, cell.Y)] = -1;
  for (int y = cell.Y; y >= 0; --y) {
    int& earliest = f.earliestBelow[f.Slot(cell.X, y)];
    if (earliest != id) break;
    const int here = f.idAt[f.Slot(cell.X, y)];
    const int below = y + 1 < f.height ? f.earliestBelow[f.Slot(cell.X, y + 1)] : -1;
    earliest = below < 0 || (here >= 0 && entries_[here].label < entries_[below].label) ? here : below;
  }
}

bool OccupiedCells::Insert(GridCell cell) {
  if (Contains(cell)) return false;
  GrowDense(cell);
  Mark(cell);
  const Finder& f = Find();
  auto dominates = [&](int id) { return entries_[id].cell.X >= cell.X && entries_[id].cell.Y >= cell.Y; };
  int before = -1;
  auto consider = [&](int id) {
    if (id >= 0 && (before < 0 || entries_[id].label < entries_[before].label)) before = id;
  };
  if (f.columns) {
    if (cell.X < f.width && cell.Y < f.height) {
      const int row = std::max(cell.Y, 0);
      for (int x = std::max(cell.X, 0); x < f.width; ++x) consider(f.earliestBelow[f.Slot(x, row)]);
    }
    for (const int id : f.far)
      if (dominates(id)) consider(id);
  } else {
    for (before = head_; before >= 0 && !dominates(before);) before = entries_[before].next;
  }
  Link(cell, before);
  return true;
}

bool OccupiedCells::Append(GridCell cell) {
  if (Contains(cell)) return false;
  GrowDense(cell);
  Mark(cell);
  // A loaded file appends every cell: the finder is built when a cell is
  // inserted or removed, not for each of these.
  Link(cell, -1);
  return true;
}

bool OccupiedCells::Remove(GridCell cell) {
  if (!Unmark(cell)) return false;
  const Finder& f = Find();
  Unlink(f.InColumns(cell) ? f.idAt[f.Slot(cell.X, cell.Y)] : f.farIds.at(Key(cell)));
  return true;
}

void OccupiedCells::Clear() {
  entries_.clear();
  freeEntries_.clear();
  head_ = tail_ = -1;
  count_ = 0;
  listed_.clear();
  listedFresh_ = true;
  index_.clear();
  std::fill(dense_.begin(), dense_.end(), 0);
  finder_.reset();
}

}  // namespace ohmara
