#include "editor/bus_layout.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <map>
#include <utility>

namespace ohmara {

namespace {

// Cells between neighbouring buses: a wire crossing them jumps one and
// lands on a free cell, and a long wire can be cut between two of them.
constexpr int kTrack = 3;
// The first row a block of the drawing uses.
constexpr int kFirstRow = 3;
// Rows of a branch's block besides its links: two of value labels above
// its line, the line with its band, and a current source's label below.
constexpr int kLabelRows = 2;
constexpr int kRowsBelowLine = 3;
constexpr int kBranchCells = kSheetBranchLength / 10;

enum Side { kLeft, kRight };

// The rows a bus runs over, inclusive.
struct Span {
  int top = 0;
  int bottom = 0;
};

// How one node is wired: the rows of the branches leaving it (their start
// terminals, on the left) and entering it (their end terminals, on the
// right), the link between its two buses and the track of each bus.
struct NodeWiring {
  std::vector<int> rows[2];
  int linkRow = -1;
  Span span[2];
  int track[2] = {-1, -1};
  bool HasBus(Side side) const { return track[side] >= 0; }
};

// The buses that take turns on one track, top to bottom.
using Track = std::vector<Span>;

// Numbers the nodes breadth first, from a node of fewest branches and each
// node's neighbours fewest branches first: nodes joined by a branch get
// near numbers even where the table numbers them far apart (a long grid).
std::map<int, int> BreadthFirstRanks(const std::vector<BranchToDraw>& branches) {
  std::map<int, std::vector<int>> neighbours;
  for (const BranchToDraw& b : branches) {
    neighbours[b.from].push_back(b.to);
    neighbours[b.to].push_back(b.from);
  }
  auto fewer = [&](int a, int b) { return std::pair{neighbours[a].size(), a} < std::pair{neighbours[b].size(), b}; };
  std::vector<int> unranked;
  for (auto& [node, next] : neighbours) {
    std::sort(next.begin(), next.end(), fewer);
    unranked.push_back(node);
  }
  std::stable_sort(unranked.begin(), unranked.end(), fewer);
  std::map<int, int> rank;
  std::vector<int> queue;
  for (const int root : unranked) {
    if (rank.contains(root)) continue;
    queue.assign(1, root);
    rank.emplace(root, static_cast<int>(rank.size()));
    for (size_t q = 0; q < queue.size(); ++q)
      for (const int next : neighbours[queue[q]])
        if (rank.emplace(next, static_cast<int>(rank.size())).second) queue.push_back(next);
  }
  return rank;
}

// Branches sorted by the ranks of their nodes, so that the rows of a node
// lie close together and its buses stay short; ties keep table order.
std::vector<int> RowOrder(const std::vector<BranchToDraw>& branches, const std::map<int, int>* ranks) {
  std::vector<int> order(branches.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  auto key = [&](int i) {
    const BranchToDraw& b = branches[static_cast<size_t>(i)];
    const int from = ranks ? ranks->at(b.from) : b.from;
    const int to = ranks ? ranks->at(b.to) : b.to;
    return std::pair{std::min(from, to), std::max(from, to)};
  };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
  return order;
}

class BusDrawing {
 public:
  BusDrawing(const std::vector<BranchToDraw>& branches, std::vector<int> order)
      : branches_(branches), order_(std::move(order)) {
    CollectRows();
    PlaceRows();
    AssignTracks(kLeft);
    AssignTracks(kRight);
    firstColumn_ = kFirstRow + kTrack * static_cast<int>(tracks_[kLeft].size());
  }

  // How many buses stand side by side, left and right together.
  size_t Tracks() const { return tracks_[kLeft].size() + tracks_[kRight].size(); }

  SheetDrawing Draw() {
    SheetDrawing drawing;
    for (size_t i = 0; i < branches_.size(); ++i) {
      const BranchToDraw& b = branches_[i];
      drawing.AppendBranch(
          MakeSheetBranch(10 * firstColumn_, 10 * lineRow_[position_[i]], b.from, b.to, false, b.values));
    }
    for (size_t p = 0; p < order_.size(); ++p) {
      const BranchToDraw& b = branches_[static_cast<size_t>(order_[p])];
      const int row = lineRow_[p];
      if (nodes_[b.from].HasBus(kLeft)) AddRun(drawing, b.from, {firstColumn_, row}, {Column(b.from, kLeft), row});
      if (nodes_[b.to].HasBus(kRight))
        AddRun(drawing, b.to, {firstColumn_ + kBranchCells, row}, {Column(b.to, kRight), row});
    }
    for (const auto& [node, wiring] : nodes_) {
      if (wiring.linkRow >= 0)
        AddRun(drawing, node, {Column(node, kLeft), wiring.linkRow}, {Column(node, kRight), wiring.linkRow});
      for (const Side side : {kLeft, kRight})
        if (wiring.HasBus(side))
          AddRun(drawing, node, {Column(node, side), wiring.span[side].top},
                 {Column(node, side), wiring.span[side].bottom});
    }
    // Made at once, the drawing lists its occupied cells as a loaded one
    // does, in the order they come: the bands, then each wire's inner points.
    OccupiedCells& occupied = drawing.Occupied();
    for (const SheetBranch& branch : drawing.Branches())
      for (const GridCell& c : Footprint(branch)) occupied.Append(c);
    for (const Connection& wire : drawing.Connections())
      for (size_t p = 1; p + 1 < wire.Points.size(); ++p) occupied.Append(wire.Points[p]);
    drawing.FitSheet();
    return drawing;
  }

 private:
  void CollectRows() {
    position_.resize(order_.size());
    for (size_t p = 0; p < order_.size(); ++p) {
      const int i = order_[p];
      position_[static_cast<size_t>(i)] = static_cast<int>(p);
      nodes_[branches_[static_cast<size_t>(i)].from].rows[kLeft].push_back(static_cast<int>(p));
      nodes_[branches_[static_cast<size_t>(i)].to].rows[kRight].push_back(static_cast<int>(p));
    }
  }

  // Each branch gets a block of rows: first the links of the nodes that
  // begin at it, then its labels, its line and the row below. A node with
  // terminals on both sides is linked just above its first branch.
  void PlaceRows() {
    std::vector<std::vector<int>> linksAt(order_.size());
    for (auto& [node, wiring] : nodes_) {
      const std::vector<int>& left = wiring.rows[kLeft];
      const std::vector<int>& right = wiring.rows[kRight];
      if (!left.empty() && !right.empty()) linksAt[static_cast<size_t>(std::min(left[0], right[0]))].push_back(node);
    }
    lineRow_.resize(order_.size());
    int next = kFirstRow;
    for (size_t p = 0; p < order_.size(); ++p) {
      for (const int node : linksAt[p]) {
        nodes_[node].linkRow = next;
        crossedRows_.push_back(next++);
      }
      lineRow_[p] = next + kLabelRows + 1;
      crossedRows_.push_back(lineRow_[p]);
      next = lineRow_[p] + kRowsBelowLine;
    }
    std::sort(crossedRows_.begin(), crossedRows_.end());
    for (auto& [node, wiring] : nodes_)
      for (const Side side : {kLeft, kRight}) {
        const std::vector<int>& rows = wiring.rows[side];
        if (rows.empty()) continue;
        const int first = wiring.linkRow >= 0 ? wiring.linkRow : lineRow_[static_cast<size_t>(rows.front())];
        wiring.span[side] = {first, lineRow_[static_cast<size_t>(rows.back())]};
      }
  }

  // A bus for every side of a node that has something to join there; buses
  // that do not overlap share a track, the nearest free one to the branches.
  void AssignTracks(Side side) {
    std::vector<std::pair<Span, int>> buses;
    for (const auto& [node, wiring] : nodes_)
      if (wiring.span[side].top < wiring.span[side].bottom) buses.push_back({wiring.span[side], node});
    std::sort(buses.begin(), buses.end(), [](const auto& a, const auto& b) { return a.first.top < b.first.top; });
    std::vector<Track>& tracks = tracks_[side];
    for (const auto& [span, node] : buses) {
      size_t t = 0;
      while (t < tracks.size() && tracks[t].back().bottom + 2 > span.top) ++t;
      if (t == tracks.size()) tracks.emplace_back();
      tracks[t].push_back(span);
      nodes_[node].track[side] = static_cast<int>(t);
    }
  }

  int Column(int node, Side side) const { return ColumnOf(side, nodes_.at(node).track[side]); }
  int ColumnOf(Side side, int track) const {
    return side == kLeft ? firstColumn_ - kTrack * (track + 1) : firstColumn_ + kBranchCells + kTrack * (track + 1);
  }

  // Whether a bus runs through the cell: the track of that column has a bus
  // over the row.
  bool OnBus(GridCell c) const {
    for (const Side side : {kLeft, kRight}) {
      const int offset = side == kLeft ? firstColumn_ - c.X : c.X - firstColumn_ - kBranchCells;
      if (offset <= 0 || offset % kTrack != 0) continue;
      const size_t track = static_cast<size_t>(offset / kTrack - 1);
      if (track >= tracks_[side].size()) continue;
      const Track& spans = tracks_[side][track];
      const auto after =
          std::upper_bound(spans.begin(), spans.end(), c.Y, [](int row, const Span& s) { return row < s.top; });
      if (after != spans.begin() && std::prev(after)->bottom >= c.Y) return true;
    }
    return false;
  }

  bool Crossed(int row) const { return std::binary_search(crossedRows_.begin(), crossedRows_.end(), row); }

  // A straight wire from `a` to `b` of the node: a run across the buses
  // jumps each one it meets; a bus is crossed by runs on the rows of lines
  // and links. A run longer than a wire may hold becomes several wires that
  // overlap by two neighbouring points no other wire crosses, so each ends
  // on an inner point of the next.
  void AddRun(SheetDrawing& drawing, int node, GridCell a, GridCell b) const {
    const bool across = a.Y == b.Y;
    const GridCell step{(b.X > a.X) - (b.X < a.X), (b.Y > a.Y) - (b.Y < a.Y)};
    std::vector<GridCell> points{a};
    for (GridCell c{a.X + step.X, a.Y + step.Y}; c != b; c = {c.X + step.X, c.Y + step.Y})
      if (!across || !OnBus(c)) points.push_back(c);
    points.push_back(b);
    auto plain = [&](size_t k) {
      const bool adjacent = std::abs(points[k].X - points[k + 1].X) + std::abs(points[k].Y - points[k + 1].Y) == 1;
      return adjacent && (across || (!Crossed(points[k].Y) && !Crossed(points[k + 1].Y)));
    };
    while (points.size() > static_cast<size_t>(kMaxWirePoints)) {
      size_t cut = static_cast<size_t>(kMaxWirePoints) - 2;
      while (cut > 1 && !plain(cut)) --cut;
      if (cut <= 1) break;  // cannot happen: tracks and rows leave a free pair within every few cells
      drawing.AppendConnection(
          Connection{node, node, {points.begin(), points.begin() + static_cast<std::ptrdiff_t>(cut) + 2}});
      points.erase(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(cut));
    }
    drawing.AppendConnection(Connection{node, node, std::move(points)});
  }

  const std::vector<BranchToDraw>& branches_;
  std::vector<int> order_;     // branch index at each position, top to bottom
  std::vector<int> position_;  // position of each branch
  std::vector<int> lineRow_;   // row of the line at each position
  std::vector<int> crossedRows_;
  std::map<int, NodeWiring> nodes_;
  std::vector<Track> tracks_[2];
  int firstColumn_ = 0;  // the column of every start terminal
};

}  // namespace

// Rows ordered by the table's node numbers suit tables numbered round
// their circuit; by breadth-first numbers, tables numbered across it. The
// narrower drawing of the two is taken.
SheetDrawing DrawOnNodeBuses(const std::vector<BranchToDraw>& branches) {
  BusDrawing byNumbers(branches, RowOrder(branches, nullptr));
  const std::map<int, int> ranks = BreadthFirstRanks(branches);
  BusDrawing byRanks(branches, RowOrder(branches, &ranks));
  return byRanks.Tracks() < byNumbers.Tracks() ? byRanks.Draw() : byNumbers.Draw();
}

}  // namespace ohmara
