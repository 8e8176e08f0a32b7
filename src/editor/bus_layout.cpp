#include "editor/bus_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>
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

// Cells between two strips of branches side by side.
constexpr int kStripGap = 6;
// A drawing about this much wider than high suits a screen.
constexpr double kAspect = 1.4;
// Strips side by side need a channel below and gaps between: a sheet of
// more cells than one strip's. That is welcome up to a sheet of this many
// cells (about 6300 pixels square); beyond, the sheet's picture grows
// costly, and the strips may take no more cells than one strip would.
constexpr double kComfortableCells = 400000.0;

enum Side { kLeft, kRight };

// The rows a bus runs over, inclusive, and its node.
struct Span {
  int top = 0;
  int bottom = 0;
  int node = 0;
};

// How one node is wired in one strip: the rows of the branches leaving it
// (their start terminals, on the left) and entering it (their end
// terminals, on the right), the links between its two buses above its
// first branch and below its last, and the track of each bus. The buses
// and links hold one another up; the branches' wires hang on the buses,
// so deleting a branch takes its own wires and nothing else.
struct NodeWiring {
  std::vector<int> rows[2];
  int linkRow = -1;
  int bottomLinkRow = -1;
  Span span[2];
  int track[2] = {-1, -1};
  bool HasBus(Side side) const { return track[side] >= 0; }
};

// The buses that take turns on one track, top to bottom.
using Track = std::vector<Span>;

// A column of branches with the buses of its nodes on either side.
struct Strip {
  std::map<int, NodeWiring> nodes;
  std::vector<Track> tracks[2];
  int leftEdge = 0;              // the column of its leftmost bus
  int firstColumn = 0;           // the column of its start terminals
  int bottomRow = 0;             // the row below its last block
  std::vector<int> crossedRows;  // rows of its lines and links, ascending
  int RightEdge() const { return firstColumn + kBranchCells + kTrack * static_cast<int>(tracks[kRight].size()); }
};

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

// The branches in strips of consecutive rows side by side. A node whose
// branches lie in more than one strip gets a row of its own in a channel
// below all strips, and in each of those strips one of its buses runs down
// to that row.
class BusDrawing {
 public:
  BusDrawing(const std::vector<BranchToDraw>& branches, std::vector<int> order, int strips)
      : branches_(branches), order_(std::move(order)), strips_(static_cast<size_t>(std::max(strips, 1))) {
    CollectRows();
    PlaceRows();
    PlaceChannel();
    for (Strip& strip : strips_) {
      SetSpans(strip);
      AssignTracks(strip, kLeft);
      AssignTracks(strip, kRight);
    }
    int edge = kFirstRow;
    for (Strip& strip : strips_) {
      strip.leftEdge = edge;
      strip.firstColumn = edge + kTrack * static_cast<int>(strip.tracks[kLeft].size());
      edge = strip.RightEdge() + kStripGap;
    }
  }

  // The drawing's size in cells.
  int Width() const { return strips_.back().RightEdge(); }
  int Height() const { return channelBottom_; }

  SheetDrawing Draw() const {
    SheetDrawing drawing;
    for (size_t i = 0; i < branches_.size(); ++i) {
      const BranchToDraw& b = branches_[i];
      const int p = position_[i];
      drawing.AppendBranch(MakeSheetBranch(10 * StripAt(p).firstColumn, 10 * lineRow_[static_cast<size_t>(p)], b.from,
                                           b.to, false, b.values));
    }
    for (size_t p = 0; p < order_.size(); ++p) {
      const BranchToDraw& b = branches_[static_cast<size_t>(order_[p])];
      const Strip& strip = StripAt(static_cast<int>(p));
      const int row = lineRow_[p];
      if (strip.nodes.at(b.from).HasBus(kLeft))
        AddRun(drawing, b.from, {strip.firstColumn, row}, {Column(strip, b.from, kLeft), row});
      if (strip.nodes.at(b.to).HasBus(kRight))
        AddRun(drawing, b.to, {strip.firstColumn + kBranchCells, row}, {Column(strip, b.to, kRight), row});
    }
    for (const Strip& strip : strips_)
      for (const auto& [node, wiring] : strip.nodes) {
        if (wiring.linkRow < 0) continue;
        for (const int row : {wiring.linkRow, wiring.bottomLinkRow})
          AddRun(drawing, node, {Column(strip, node, kLeft), row}, {Column(strip, node, kRight), row});
        for (const Side side : {kLeft, kRight})
          if (wiring.HasBus(side)) AddBus(drawing, strip, node, side);
      }
    for (const auto& [node, row] : channelRow_) {
      const auto [left, right] = ChannelEnds(node);
      AddRun(drawing, node, {left, row}, {right, row});
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
  size_t StripIndex(int position) const { return static_cast<size_t>(position) * strips_.size() / order_.size(); }
  const Strip& StripAt(int position) const { return strips_[StripIndex(position)]; }

  void CollectRows() {
    position_.resize(order_.size());
    for (size_t p = 0; p < order_.size(); ++p) {
      const BranchToDraw& b = branches_[static_cast<size_t>(order_[p])];
      ++terminals_[b.from];
      ++terminals_[b.to];
      position_[static_cast<size_t>(order_[p])] = static_cast<int>(p);
      std::map<int, NodeWiring>& nodes = strips_[StripIndex(static_cast<int>(p))].nodes;
      nodes[b.from].rows[kLeft].push_back(static_cast<int>(p));
      nodes[b.to].rows[kRight].push_back(static_cast<int>(p));
    }
  }

  // Each branch gets a block of rows: the links of the nodes whose first
  // branch in the strip it is, its labels, its line and the row below, then
  // the links of the nodes whose last branch it is. A node of one terminal
  // needs no wire and gets no link.
  void PlaceRows() {
    std::vector<std::vector<int>> linksAbove(order_.size()), linksBelow(order_.size());
    for (const Strip& strip : strips_)
      for (const auto& [node, wiring] : strip.nodes) {
        if (terminals_.at(node) < 2) continue;
        int first = static_cast<int>(order_.size()), last = -1;
        for (const std::vector<int>& rows : wiring.rows)
          if (!rows.empty()) {
            first = std::min(first, rows.front());
            last = std::max(last, rows.back());
          }
        linksAbove[static_cast<size_t>(first)].push_back(node);
        linksBelow[static_cast<size_t>(last)].push_back(node);
      }
    lineRow_.resize(order_.size());
    int next = kFirstRow;
    for (size_t p = 0; p < order_.size(); ++p) {
      Strip& strip = strips_[StripIndex(static_cast<int>(p))];
      if (p > 0 && StripIndex(static_cast<int>(p) - 1) != StripIndex(static_cast<int>(p))) next = kFirstRow;
      for (const int node : linksAbove[p]) {
        strip.nodes[node].linkRow = next;
        strip.crossedRows.push_back(next++);
      }
      lineRow_[p] = next + kLabelRows + 1;
      strip.crossedRows.push_back(lineRow_[p]);
      next = lineRow_[p] + kRowsBelowLine;
      for (const int node : linksBelow[p]) {
        strip.nodes[node].bottomLinkRow = next;
        strip.crossedRows.push_back(next++);
      }
      strip.bottomRow = next;
    }
  }

  // A row for every node in more than one strip, below the lowest strip.
  void PlaceChannel() {
    std::map<int, int> strips;
    for (const Strip& strip : strips_)
      for (const auto& [node, wiring] : strip.nodes) ++strips[node];
    int row = kFirstRow;
    for (const Strip& strip : strips_) row = std::max(row, strip.bottomRow + 1);
    for (const auto& [node, count] : strips)
      if (count > 1) {
        channelRow_[node] = row;
        channelRows_.push_back(row);
        row += kTrack;
      }
    channelBottom_ = row;
  }

  // The bus that runs down to the node's channel row: the left one, unless
  // the node has no branch leaving it in the strip.
  static Side DescendingSide(const NodeWiring& wiring) { return wiring.rows[kLeft].empty() ? kRight : kLeft; }

  void SetSpans(Strip& strip) const {
    for (auto& [node, wiring] : strip.nodes) {
      if (wiring.linkRow < 0) continue;
      const auto channel = channelRow_.find(node);
      for (const Side side : {kLeft, kRight}) {
        const bool descends = channel != channelRow_.end() && side == DescendingSide(wiring);
        wiring.span[side] = {wiring.linkRow, descends ? channel->second : wiring.bottomLinkRow, node};
      }
    }
  }

  // Both buses of every node linked in the strip; buses that do not overlap
  // share a track, the nearest free one to the branches.
  static void AssignTracks(Strip& strip, Side side) {
    std::vector<Span> buses;
    for (const auto& [node, wiring] : strip.nodes)
      if (wiring.span[side].top < wiring.span[side].bottom) buses.push_back(wiring.span[side]);
    std::sort(buses.begin(), buses.end(), [](const Span& a, const Span& b) { return a.top < b.top; });
    std::vector<Track>& tracks = strip.tracks[side];
    for (const Span& span : buses) {
      size_t t = 0;
      while (t < tracks.size() && tracks[t].back().bottom + 2 > span.top) ++t;
      if (t == tracks.size()) tracks.emplace_back();
      tracks[t].push_back(span);
      strip.nodes[span.node].track[side] = static_cast<int>(t);
    }
  }

  static int Column(const Strip& strip, int node, Side side) {
    const int track = strip.nodes.at(node).track[side];
    return side == kLeft ? strip.firstColumn - kTrack * (track + 1)
                         : strip.firstColumn + kBranchCells + kTrack * (track + 1);
  }

  // The node of the bus that runs through the cell, 0 for none.
  int BusAt(GridCell c) const {
    for (const Strip& strip : strips_) {
      if (c.X < strip.leftEdge || c.X > strip.RightEdge()) continue;
      for (const Side side : {kLeft, kRight}) {
        const int offset = side == kLeft ? strip.firstColumn - c.X : c.X - strip.firstColumn - kBranchCells;
        if (offset <= 0 || offset % kTrack != 0) continue;
        const size_t track = static_cast<size_t>(offset / kTrack - 1);
        if (track >= strip.tracks[side].size()) continue;
        const Track& spans = strip.tracks[side][track];
        const auto after =
            std::upper_bound(spans.begin(), spans.end(), c.Y, [](int row, const Span& s) { return row < s.top; });
        if (after != spans.begin() && std::prev(after)->bottom >= c.Y) return std::prev(after)->node;
      }
    }
    return 0;
  }

  // Whether wires cross a bus of the strip at `column` on that row.
  bool Crossed(int column, int row) const {
    for (const Strip& strip : strips_)
      if (strip.leftEdge <= column && column <= strip.RightEdge() &&
          std::binary_search(strip.crossedRows.begin(), strip.crossedRows.end(), row))
        return true;
    return std::binary_search(channelRows_.begin(), channelRows_.end(), row);
  }

  // A straight wire from `a` to `b` of the node, across the buses: it jumps
  // each bus of another node it meets.
  void AddRun(SheetDrawing& drawing, int node, GridCell a, GridCell b) const {
    const int step = b.X > a.X ? 1 : -1;
    std::vector<GridCell> points{a};
    for (GridCell c{a.X + step, a.Y}; c != b; c.X += step) {
      const int bus = BusAt(c);
      if (bus == 0 || bus == node) points.push_back(c);
    }
    points.push_back(b);
    AddWire(drawing, node, std::move(points), true);
  }

  // A bus down its column. Where it meets a link or the channel with its
  // end, it bends onto that wire for one cell: no wire then ends where only
  // another wire's end lies, so every end rests on an occupied point, as in
  // any drawing, and no later wire can pass there.
  void AddBus(SheetDrawing& drawing, const Strip& strip, int node, Side side) const {
    const NodeWiring& wiring = strip.nodes.at(node);
    const int column = Column(strip, node, side);
    const Span& span = wiring.span[side];
    // Towards the branches: where the links lie.
    const int inwards = side == kLeft ? 1 : -1;
    int foot = inwards;
    if (const auto channel = channelRow_.find(node); channel != channelRow_.end() && span.bottom == channel->second) {
      const auto [left, right] = ChannelEnds(node);
      foot = column == left ? 1 : column == right ? -1 : 0;
    }
    std::vector<GridCell> points{{column + inwards, span.top}, {column, span.top}};
    for (int row = span.top; row <= span.bottom; ++row) points.push_back({column, row});
    if (foot != 0) points.insert(points.end(), {{column, span.bottom}, {column + foot, span.bottom}});
    AddWire(drawing, node, std::move(points), false);
  }

  // The columns the node's channel wire runs between.
  std::pair<int, int> ChannelEnds(int node) const {
    int left = Width(), right = 0;
    for (const Strip& strip : strips_)
      if (const auto at = strip.nodes.find(node); at != strip.nodes.end()) {
        const int column = Column(strip, node, DescendingSide(at->second));
        left = std::min(left, column);
        right = std::max(right, column);
      }
    return {left, right};
  }

  // A wire longer than a wire may hold becomes several, cut on a straight
  // stretch no other wire crosses.
  void AddWire(SheetDrawing& drawing, int node, std::vector<GridCell> points, bool across) const {
    auto plain = [&](const std::vector<GridCell>& way, size_t k) {
      const GridCell a = way[k], b = way[k + 1];
      if (across) return a.Y == b.Y && std::abs(a.X - b.X) == 1;
      return a.X == b.X && std::abs(a.Y - b.Y) == 1 && !Crossed(a.X, a.Y) && !Crossed(b.X, b.Y);
    };
    std::vector<std::vector<GridCell>> pieces = CutLongWay(points, plain);
    // Cannot happen: tracks and rows leave a free pair within every few cells.
    if (pieces.empty()) pieces.push_back(std::move(points));
    for (std::vector<GridCell>& piece : pieces) drawing.AppendConnection(Connection{node, node, std::move(piece)});
  }

  const std::vector<BranchToDraw>& branches_;
  std::vector<int> order_;        // branch index at each position, strip by strip, top to bottom
  std::vector<int> position_;     // position of each branch
  std::vector<int> lineRow_;      // row of the line at each position
  std::vector<int> channelRows_;  // ascending
  std::vector<Strip> strips_;
  std::map<int, int> terminals_;   // per node, in the whole table
  std::map<int, int> channelRow_;  // per node in more than one strip
  int channelBottom_ = 0;
};

}  // namespace

// Rows ordered by the table's node numbers suit tables numbered round
// their circuit; by breadth-first numbers, tables numbered across it. The
// narrower of the two is taken, then cut into strips side by side.
SheetDrawing DrawOnNodeBuses(const std::vector<BranchToDraw>& branches) {
  if (branches.empty()) return {};
  const std::map<int, int> ranks = BreadthFirstRanks(branches);
  const std::vector<int> byNumbers = RowOrder(branches, nullptr);
  const std::vector<int> byRanks = RowOrder(branches, &ranks);
  const BusDrawing numbered(branches, byNumbers, 1);
  const BusDrawing ranked(branches, byRanks, 1);
  const bool rankedNarrower = ranked.Width() < numbered.Width();
  const std::vector<int>& order = rankedNarrower ? byRanks : byNumbers;
  // More strips make the drawing wider and lower; the count whose shape
  // comes nearest the screen's is taken, on a sheet not too large.
  const BusDrawing& single = rankedNarrower ? ranked : numbered;
  const double largestArea = std::max(kComfortableCells, static_cast<double>(single.Width()) * single.Height());
  int best = 1;
  double bestMiss = std::numeric_limits<double>::infinity();
  for (int count = 1; count <= static_cast<int>(branches.size()); ++count) {
    const BusDrawing trial(branches, order, count);
    const double shape = trial.Width() / (kAspect * trial.Height());
    const double miss = std::abs(std::log(shape));
    if (miss < bestMiss && static_cast<double>(trial.Width()) * trial.Height() <= largestArea) {
      best = count;
      bestMiss = miss;
    }
    if (shape >= 1) break;
  }
  return BusDrawing(branches, order, best).Draw();
}

}  // namespace ohmara
