#include "editor/sheet_model.h"

#include <algorithm>
#include <unordered_set>

namespace ohmara {

SheetBranch MakeSheetBranch(int x1, int y1, int from, int to, bool vertical, const ElementValues& values) {
  SheetBranch branch;
  branch.From = from;
  branch.To = to;
  branch.X1 = x1;
  branch.Y1 = y1;
  branch.X2 = vertical ? x1 : x1 + kSheetBranchLength;
  branch.Y2 = vertical ? y1 + kSheetBranchLength : y1;
  branch.Vertical = vertical;
  branch.Values = values;
  return branch;
}

std::vector<GridCell> Footprint(const SheetBranch& branch) {
  std::vector<GridCell> cells;
  cells.reserve(39);
  const int x = branch.X1 / 10;
  const int y = branch.Y1 / 10;
  for (int along = 0; along <= kSheetBranchLength / 10; ++along)
    for (int aside = -1; aside <= 1; ++aside)
      cells.push_back(branch.Vertical ? GridCell{x + aside, y + along} : GridCell{x + along, y + aside});
  return cells;
}

BranchHit HitTest(const SheetBranch& branch, int x, int y) {
  const int third = kSheetBranchLength / 3;
  // Position along the branch and distance across it.
  const int along = branch.Vertical ? y : x;
  const int across = branch.Vertical ? x : y;
  const int start = branch.Vertical ? branch.Y1 : branch.X1;
  const int end = branch.Vertical ? branch.Y2 : branch.X2;
  const int line = branch.Vertical ? branch.X1 : branch.Y1;
  if (!(start < along && along < end && line - 8 < across && across < line + 8)) return BranchHit::Miss;
  if (along < start + third) return BranchHit::StartThird;
  if (along >= end - third) return BranchHit::EndThird;
  return BranchHit::MiddleThird;
}

Terminal StartTerminal(const SheetBranch& branch) { return {branch.From, branch.X1, branch.Y1, branch.Vertical}; }
Terminal EndTerminal(const SheetBranch& branch) { return {branch.To, branch.X2, branch.Y2, branch.Vertical}; }
GridCell CellOf(const Terminal& terminal) { return {terminal.X / 10, terminal.Y / 10}; }

namespace {

std::vector<GridCell> TerminalRow(const Terminal& terminal) {
  const GridCell c = CellOf(terminal);
  if (terminal.Vertical) return {c, {c.X - 1, c.Y}, {c.X + 1, c.Y}};
  return {c, {c.X, c.Y - 1}, {c.X, c.Y + 1}};
}

bool TouchesNode(const Connection& connection, int a, int b) {
  return connection.From == a || connection.From == b || connection.To == a || connection.To == b;
}

}  // namespace

void ReleaseTerminal(OccupiedCells& cells, const Terminal& terminal) {
  for (const GridCell& c : TerminalRow(terminal)) cells.Remove(c);
}

void BlockTerminal(OccupiedCells& cells, const Terminal& terminal) {
  for (const GridCell& c : TerminalRow(terminal)) cells.Insert(c);
}

void SheetDrawing::BlockFootprint(const SheetBranch& branch) {
  for (const GridCell& c : Footprint(branch)) occupied_.Insert(c);
}

void SheetDrawing::ReleaseFootprint(const SheetBranch& branch) {
  for (const GridCell& c : Footprint(branch)) occupied_.Remove(c);
}

void SheetDrawing::BlockAllFootprints() {
  for (const SheetBranch& branch : branches_) BlockFootprint(branch);
}

std::optional<SheetBranch> SheetDrawing::RemoveBranchAt(int x, int y) {
  const auto hit = std::find_if(branches_.begin(), branches_.end(),
                                [&](const SheetBranch& b) { return HitTest(b, x, y) != BranchHit::Miss; });
  if (hit == branches_.end()) return std::nullopt;
  const SheetBranch removed = *hit;
  branches_.erase(hit);
  ReleaseFootprint(removed);
  return removed;
}

void SheetDrawing::RemoveConnectionsOf(int a, int b) {
  for (const Connection& connection : connections_)
    if (TouchesNode(connection, a, b))
      for (const GridCell& c : connection.Points) occupied_.Remove(c);
  std::erase_if(connections_, [&](const Connection& c) { return TouchesNode(c, a, b); });
}

void SheetDrawing::InsertBranch(int index, const SheetBranch& branch) {
  branches_.insert(branches_.begin() + index, branch);
  BlockFootprint(branch);
}

namespace {

std::uint64_t KeyOf(GridCell c) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(c.X)) << 32) | static_cast<std::uint32_t>(c.Y);
}

std::vector<GridCell> Line(const SheetBranch& branch) {
  std::vector<GridCell> line;
  for (const GridCell& c : Footprint(branch))
    if ((branch.Vertical ? c.X : c.Y) == (branch.Vertical ? branch.X1 : branch.Y1) / 10) line.push_back(c);
  return line;
}

}  // namespace

Placement SheetDrawing::CheckPlacement(const SheetBranch& branch) const {
  auto OnSheet = [this](GridCell c) { return c.X >= 0 && c.Y >= 0 && c.X <= lastCell_.X && c.Y <= lastCell_.Y; };
  auto InsideSheet = [this](GridCell c) { return c.X > 0 && c.Y > 0 && c.X < lastCell_.X && c.Y < lastCell_.Y; };
  const std::vector<GridCell> footprint = Footprint(branch);
  if (!std::all_of(footprint.begin(), footprint.end(), OnSheet) || !InsideSheet(CellOf(StartTerminal(branch))) ||
      !InsideSheet(CellOf(EndTerminal(branch))))
    return Placement::OffSheet;
  std::unordered_set<std::uint64_t> newBand, newLine, shared;
  for (const GridCell& c : footprint) newBand.insert(KeyOf(c));
  for (const GridCell& c : Line(branch)) newLine.insert(KeyOf(c));
  // Terminals that meet: the rows of both terminals may overlap.
  for (const SheetBranch& other : branches_)
    for (const Terminal& mine : {StartTerminal(branch), EndTerminal(branch)})
      for (const Terminal& theirs : {StartTerminal(other), EndTerminal(other)})
        if (CellOf(mine) == CellOf(theirs))
          for (const Terminal& t : {mine, theirs})
            for (const GridCell& c : TerminalRow(t)) shared.insert(KeyOf(c));
  auto clash = [&](const std::unordered_set<std::uint64_t>& cells, GridCell c) {
    return cells.contains(KeyOf(c)) && !shared.contains(KeyOf(c));
  };
  for (const SheetBranch& other : branches_) {
    for (const GridCell& c : Footprint(other))
      if (clash(newLine, c)) return Placement::Overlaps;
    for (const GridCell& c : Line(other))
      if (clash(newBand, c)) return Placement::Overlaps;
  }
  for (const Connection& wire : connections_)
    for (const GridCell& c : wire.Points)
      if (clash(newBand, c)) return Placement::Overlaps;
  return Placement::Fits;
}

int SheetDrawing::BranchAt(int x, int y) const {
  for (size_t i = 0; i < branches_.size(); ++i)
    if (HitTest(branches_[i], x, y) != BranchHit::Miss) return static_cast<int>(i);
  return -1;
}

int SheetDrawing::ConnectionAt(int x, int y) const {
  const GridCell pressed{(x + 5) / 10, (y + 5) / 10};
  for (size_t i = connections_.size(); i-- > 0;) {
    const std::vector<GridCell>& points = connections_[i].Points;
    // A jump leaves the crossed cell out of the points: the press may fall between two of them.
    for (size_t p = 0; p + 1 < points.size(); ++p) {
      const GridCell a = points[p];
      const GridCell b = points[p + 1];
      if (pressed.X >= std::min(a.X, b.X) && pressed.X <= std::max(a.X, b.X) && pressed.Y >= std::min(a.Y, b.Y) &&
          pressed.Y <= std::max(a.Y, b.Y))
        return static_cast<int>(i);
    }
  }
  return -1;
}

std::vector<int> SheetDrawing::OwnConnections(int branch) const {
  const SheetBranch& own = branches_[branch];
  const GridCell ends[] = {CellOf(StartTerminal(own)), CellOf(EndTerminal(own))};
  auto sharedWithAnother = [&](GridCell cell) {
    for (size_t i = 0; i < branches_.size(); ++i)
      if (static_cast<int>(i) != branch &&
          (CellOf(StartTerminal(branches_[i])) == cell || CellOf(EndTerminal(branches_[i])) == cell))
        return true;
    return false;
  };
  std::vector<int> owned;
  for (size_t w = 0; w < connections_.size(); ++w) {
    const std::vector<GridCell>& points = connections_[w].Points;
    if (points.empty()) continue;
    for (const GridCell& end : {points.front(), points.back()}) {
      if ((end == ends[0] || end == ends[1]) && !sharedWithAnother(end)) {
        owned.push_back(static_cast<int>(w));
        break;
      }
    }
  }
  return owned;
}

SheetBranch SheetDrawing::RemoveBranch(int branch) {
  const std::vector<int> owned = OwnConnections(branch);
  for (auto w = owned.rbegin(); w != owned.rend(); ++w) {
    for (const GridCell& c : connections_[*w].Points) occupied_.Remove(c);
    connections_.erase(connections_.begin() + *w);
  }
  const SheetBranch removed = branches_[branch];
  branches_.erase(branches_.begin() + branch);
  ReleaseFootprint(removed);
  RemoveLooseWires();
  BlockEverything();
  return removed;
}

Connection SheetDrawing::RemoveConnection(int connection) {
  Connection removed = std::move(connections_[connection]);
  connections_.erase(connections_.begin() + connection);
  for (const GridCell& c : removed.Points) occupied_.Remove(c);
  RemoveLooseWires();
  BlockEverything();
  return removed;
}

void SheetDrawing::RemoveLooseWires() {
  for (int loose = LooseWire(*this); loose >= 0; loose = LooseWire(*this)) {
    for (const GridCell& c : connections_[loose].Points) occupied_.Remove(c);
    connections_.erase(connections_.begin() + loose);
  }
}

void SheetDrawing::BlockEverything() {
  BlockAllFootprints();
  for (const Connection& connection : connections_)
    for (size_t p = 1; p + 1 < connection.Points.size(); ++p) occupied_.Insert(connection.Points[p]);
}

void SheetDrawing::Clear() {
  branches_.clear();
  connections_.clear();
  occupied_.Clear();
  lastCell_ = {kSheetLastColumn, kSheetLastRow};
}

void SheetDrawing::FitSheet() {
  // Only what lies beyond the sheet's edge makes it grow, so the routes on
  // a drawing that fits stay those of the sheet it was drawn on; then there
  // is room for a band beside the outermost terminals and a wire round them.
  constexpr int kRing = 4;
  GridCell far{0, 0};
  for (const SheetBranch& b : branches_)
    for (const Terminal& t : {StartTerminal(b), EndTerminal(b)}) {
      far.X = std::max(far.X, CellOf(t).X + 1);
      far.Y = std::max(far.Y, CellOf(t).Y + 1);
    }
  for (const Connection& w : connections_)
    for (const GridCell& c : w.Points) {
      far.X = std::max(far.X, c.X);
      far.Y = std::max(far.Y, c.Y);
    }
  GrowSheet({far.X >= lastCell_.X ? far.X + kRing : 0, far.Y >= lastCell_.Y ? far.Y + kRing : 0});
}

SheetSize SheetDrawing::SheetPixels() const {
  if (lastCell_ == GridCell{kSheetLastColumn, kSheetLastRow}) return {};
  return {std::max(kSheetWidth, 10 * lastCell_.X + 10), std::max(kSheetHeight, 10 * lastCell_.Y + 10)};
}

std::unordered_map<std::uint64_t, std::vector<int>> WiresByCell(const SheetDrawing& drawing) {
  std::unordered_map<std::uint64_t, std::vector<int>> wiresAt;
  const auto& wires = drawing.Connections();
  for (size_t w = 0; w < wires.size(); ++w)
    for (const GridCell& c : wires[w].Points) {
      std::vector<int>& at = wiresAt[CellKey(c)];
      if (at.empty() || at.back() != static_cast<int>(w)) at.push_back(static_cast<int>(w));
    }
  return wiresAt;
}

std::vector<std::vector<GridCell>> CutLongWay(std::vector<GridCell> way,
                                              const std::function<bool(const std::vector<GridCell>&, size_t)>& mayCut) {
  std::vector<std::vector<GridCell>> pieces;
  while (way.size() > static_cast<std::size_t>(kMaxWirePoints)) {
    std::size_t cut = static_cast<std::size_t>(kMaxWirePoints) - 2;
    while (cut > 1 && !mayCut(way, cut)) --cut;
    if (cut <= 1) return {};
    pieces.emplace_back(way.begin(), way.begin() + static_cast<std::ptrdiff_t>(cut) + 2);
    way.erase(way.begin(), way.begin() + static_cast<std::ptrdiff_t>(cut));
  }
  pieces.push_back(std::move(way));
  return pieces;
}

int LooseWire(const SheetDrawing& drawing) {
  std::unordered_set<std::uint64_t> terminals;
  for (const SheetBranch& b : drawing.Branches()) {
    terminals.insert(CellKey(CellOf(StartTerminal(b))));
    terminals.insert(CellKey(CellOf(EndTerminal(b))));
  }
  // Which wires pass through each cell: at most the two a crossing shares.
  std::unordered_map<std::uint64_t, std::vector<int>> wiresAt = WiresByCell(drawing);
  const auto& wires = drawing.Connections();
  auto held = [&](GridCell end, int w) {
    if (terminals.contains(CellKey(end))) return true;
    for (const int other : wiresAt[CellKey(end)])
      if (other != w) return true;
    return false;
  };
  for (size_t w = 0; w < wires.size(); ++w)
    if (!held(wires[w].Points.front(), static_cast<int>(w)) || !held(wires[w].Points.back(), static_cast<int>(w)))
      return static_cast<int>(w);
  return -1;
}

int SheetDrawing::LargestNode() const {
  int largest = 0;
  for (const SheetBranch& b : branches_) largest = std::max({largest, b.From, b.To});
  for (const Connection& c : connections_) largest = std::max({largest, c.From, c.To});
  return largest;
}

}  // namespace ohmara
