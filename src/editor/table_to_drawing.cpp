#include "editor/table_to_drawing.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <unordered_map>

#include "editor/bus_layout.h"
#include "editor/drawing_to_table.h"
#include "editor/editor_error.h"
#include "editor/net_router.h"
#include "editor/value_text.h"
#include "editor/wire_router.h"
#include "model/circuit.h"
#include "model/errors.h"
#include "model/int_set.h"
#include "model/quoted_text.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

constexpr int kFirstX = 50;
constexpr int kFirstY = 50;
constexpr int kColumnStep = 180;
constexpr int kRowStep = 100;
// A row wraps after the branch placed in this column.
constexpr int kLastColumn = 5;
// How many cells the net router may take per branch of the table, all its
// searches together.
constexpr long kRoutingWorkPerBranch = 8000;

[[noreturn]] void FailAt(int row, int column, const std::string& text, const char* what) {
  throw EditorError(
      Format("Строка %d, столбец «%s»: «%s» — %s.", row, BranchTableTitles()[column], QuotedText(text), what));
}

std::vector<BranchToDraw> ReadRows(const BranchTable& table) {
  std::vector<BranchToDraw> rows;
  for (size_t i = 0; i < table.size(); ++i) {
    const BranchRow& cells = table[i];
    const int row = static_cast<int>(i) + 1;
    BranchToDraw branch;
    if (!ParseBranchName(cells[kNameColumn], branch.from, branch.to))
      FailAt(row, kNameColumn, cells[kNameColumn], "не ветвь вида a->b");
    double* values[] = {&branch.values.R,     &branch.values.L, &branch.values.C,     &branch.values.E,
                        &branch.values.Angle, &branch.values.J, &branch.values.JAngle};
    for (int column = kRColumn; column <= kJAngleColumn; ++column) {
      try {
        *values[column - kRColumn] = CellValue(cells[column]);
      } catch (const ConversionError&) {
        FailAt(row, column, cells[column], "не число");
      }
    }
    rows.push_back(branch);
  }
  return rows;
}

// The branches' nodes whose terminals the picture does not join into one.
std::vector<int> NodesShownApart(const SheetDrawing& drawing) {
  const std::vector<TerminalNumbers> picture = PictureNodes(drawing);
  const std::vector<SheetBranch>& branches = drawing.Branches();
  std::map<int, int> shownAs;
  std::set<int> apart;
  const auto see = [&](int node, int shown) {
    const auto [at, first] = shownAs.emplace(node, shown);
    if (!first && at->second != shown) apart.insert(node);
  };
  for (size_t k = 0; k < branches.size(); ++k) {
    see(branches[k].From, picture[k].start);
    see(branches[k].To, picture[k].end);
  }
  return {apart.begin(), apart.end()};
}

// Where a table's branches go, and which of their terminals are joined on
// placing: horizontal branches in rows, a row wrapping after a branch that
// closes on a placed node or stands in the last column.
struct PlannedBranch {
  SheetBranch branch;
  bool joinEndThenStart = false;
  bool joinStart = false;
};

std::vector<PlannedBranch> Plan(const std::vector<BranchToDraw>& rows) {
  std::vector<PlannedBranch> plan;
  IntSet placed;
  int row = 0;
  int column = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const BranchToDraw& b = rows[i];
    PlannedBranch planned{
        MakeSheetBranch(kFirstX + kColumnStep * column, kFirstY + kRowStep * row, b.from, b.to, false, b.values)};
    if (placed.contains(b.to) || column > kLastColumn) {
      planned.joinEndThenStart = true;
      ++row;
      column = 0;
    } else {
      planned.joinStart = placed.contains(b.from) || i == 0;
      // A branch whose nodes are both new still gets a place of its own.
      ++column;
    }
    placed.add(b.from);
    placed.add(b.to);
    plan.push_back(planned);
  }
  return plan;
}

// Completes a layout whose paint holds the wires: the branches over them,
// the junctions, and the nodes the picture leaves apart.
void PaintBranchesOver(TableLayout& layout) {
  for (const SheetBranch& branch : layout.drawing.Branches()) AppendSheetBranch(layout.paint, branch);
  AppendJunctions(layout.paint, layout.drawing);
  layout.nodesApart = NodesShownApart(layout.drawing);
}

// The cells of a branch's value labels, above its line: two rows deep, so
// that no wire can jump them.
std::vector<GridCell> LabelCells(const SheetBranch& branch) {
  std::vector<GridCell> cells;
  const int x = branch.X1 / 10;
  const int y = branch.Y1 / 10;
  for (int along = 1; along < kSheetBranchLength / 10; ++along)
    for (int above = 2; above <= 3; ++above) cells.push_back({x + along, y - above});
  // A current source beside the elements has its label below its bypass.
  if (HasBypass(branch.Values))
    for (int along = 7; along <= 10; ++along) cells.push_back({x + along, y + 2});
  return cells;
}

// The last cell of a sheet that holds every planned branch.
GridCell LastCellFor(const std::vector<PlannedBranch>& plan) {
  SheetDrawing extent;
  for (const PlannedBranch& p : plan) extent.AppendBranch(p.branch);
  extent.FitSheet();
  return extent.LastCell();
}

class TableDrawer {
 public:
  explicit TableDrawer(const std::vector<PlannedBranch>& plan)
      : obstacles_(LastCellFor(plan)),
        netRouter_(LastCellFor(plan), kRoutingWorkPerBranch * static_cast<long>(plan.size())) {
    layout_.paint = PaintList{PictureOp{Picture::Background, {0, 0}}};
    // Wires keep off every label and off the bands of branches still to come.
    for (const PlannedBranch& p : plan) {
      for (const GridCell& c : LabelCells(p.branch)) obstacles_.Insert(c);
      for (const GridCell& c : Footprint(p.branch)) {
        obstacles_.Insert(c);
        netRouter_.MarkBand(c);
      }
      netRouter_.KeepDoorways(StartTerminal(p.branch));
      netRouter_.KeepDoorways(EndTerminal(p.branch));
    }
    layout_.drawing.GrowSheet(LastCellFor(plan));
  }

  // Joins a terminal to its node: first by the way to the nearest point of
  // the node's wires and terminals near it, crossing bundles of wires if it
  // must. Failing that, to another terminal of the node by the plain router:
  // the search for a partner starts at the front each time and skips only
  // the terminal tried last, so the attempts alternate between the first two
  // candidates. Once both have failed, every further attempt would fail the
  // same way; then the nearest other terminals of the node are tried; last,
  // the way to the node's net anywhere on the sheet.
  // Returns false when the node has another terminal and no way to it was found.
  bool Join(const Terminal& first) {
    if (JoinNet(first, NetRouter::Reach::Near)) return true;
    Terminal second{0, 0, 0, false};
    std::vector<Terminal> failed;
    for (;;) {
      if (const std::optional<Terminal> partner = Partner(first.Node, second)) second = *partner;
      if (std::find(failed.begin(), failed.end(), second) != failed.end()) break;
      if (TryJoin(first, second)) return true;
      failed.push_back(second);
    }
    for (const Terminal& near : Nearest(first))
      if (std::find(failed.begin(), failed.end(), near) == failed.end() && TryJoin(first, near)) return true;
    return JoinNet(first, NetRouter::Reach::Anywhere) || terminalsPlaced_[first.Node] < 2;
  }

  void Place(const SheetBranch& branch) {
    layout_.drawing.AppendBranch(branch);
    layout_.drawing.BlockFootprint(branch);
    ++terminalsPlaced_[branch.From];
    ++terminalsPlaced_[branch.To];
    // Its band is occupied now; its terminals must be free to release.
    for (const GridCell& c : Footprint(branch)) obstacles_.Erase(c);
    netRouter_.NoteTerminal(StartTerminal(branch));
    netRouter_.NoteTerminal(EndTerminal(branch));
  }

  TableLayout Finish() {
    PaintBranchesOver(layout_);
    return std::move(layout_);
  }

 private:
  static constexpr size_t kNearestTried = 3;

  bool JoinNet(const Terminal& first, NetRouter::Reach reach) {
    const std::vector<int> wires = netRouter_.Join(layout_.drawing, first, obstacles_, reach);
    for (const int wire : wires) AppendConnection(layout_.paint, layout_.drawing.Connections()[wire]);
    return !wires.empty();
  }

  bool TryJoin(const Terminal& first, const Terminal& second) {
    const JoinOutcome join = JoinTerminals(layout_.drawing, first, second, &obstacles_);
    if (join.result == RouteResult::GuardTripped) ++layout_.routingGuardTrips;
    if (join.result != RouteResult::Routed) return false;
    const Connection& wire = layout_.drawing.Connections()[join.wireIndex];
    netRouter_.NoteWire(wire, first.Node);
    AppendConnection(layout_.paint, wire);
    return true;
  }

  // The terminals of the node nearest to `first`, itself left out.
  std::vector<Terminal> Nearest(const Terminal& first) const {
    std::vector<Terminal> same;
    for (const SheetBranch& branch : layout_.drawing.Branches())
      for (const Terminal& t : {StartTerminal(branch), EndTerminal(branch)})
        if (t.Node == first.Node && (t.X != first.X || t.Y != first.Y)) same.push_back(t);
    auto distance = [&](const Terminal& t) { return std::abs(t.X - first.X) + std::abs(t.Y - first.Y); };
    const size_t kept = std::min(same.size(), kNearestTried);
    std::partial_sort(same.begin(), same.begin() + static_cast<std::ptrdiff_t>(kept), same.end(),
                      [&](const Terminal& a, const Terminal& b) { return distance(a) < distance(b); });
    same.resize(kept);
    return same;
  }

  std::optional<Terminal> Partner(int node, const Terminal& last) const {
    auto differs = [&](const Terminal& t) { return t.X != last.X || t.Y != last.Y; };
    for (const SheetBranch& branch : layout_.drawing.Branches()) {
      if (branch.From == node && differs(StartTerminal(branch))) return StartTerminal(branch);
      if (branch.To == node && differs(EndTerminal(branch))) return EndTerminal(branch);
    }
    return std::nullopt;
  }

  TableLayout layout_;
  std::unordered_map<int, int> terminalsPlaced_;  // per node
  ExtraObstacles obstacles_;
  NetRouter netRouter_;
};

TableLayout StoppedLayout() {
  TableLayout layout;
  layout.stopped = true;
  return layout;
}

// The drawing on node buses, which joins every node.
TableLayout BusLayout(const std::vector<BranchToDraw>& rows) {
  TableLayout layout;
  layout.drawing = DrawOnNodeBuses(rows);
  layout.paint = PaintList{PictureOp{Picture::Background, {0, 0}}};
  for (const Connection& wire : layout.drawing.Connections()) AppendConnection(layout.paint, wire);
  PaintBranchesOver(layout);
  return layout;
}

}  // namespace

// The branches in rows read like the table and are tried first. Once a
// terminal cannot be joined to the rest of its node (or the rows end in
// pieces all the same), they are given up for the buses: a drawing in
// pieces shows another circuit than the table.
TableLayout LayOutBranchTable(const BranchTable& table, WorkProgress* progress) {
  const std::vector<BranchToDraw> rows = ReadRows(table);
  const std::vector<PlannedBranch> plan = Plan(rows);
  ProgressSteps steps(progress, static_cast<int>(plan.size()), 8);
  TableDrawer drawer(plan);
  for (size_t i = 0; i < plan.size(); ++i) {
    if (!steps.Advance(static_cast<int>(i))) return StoppedLayout();
    const PlannedBranch& p = plan[i];
    drawer.Place(p.branch);
    bool joined = true;
    if (p.joinEndThenStart) {
      joined = drawer.Join(EndTerminal(p.branch));
      joined = joined && drawer.Join(StartTerminal(p.branch));
    } else if (p.joinStart) {
      joined = drawer.Join(StartTerminal(p.branch));
    }
    if (!joined) return BusLayout(rows);
  }
  if (!steps.Advance(static_cast<int>(plan.size()))) return StoppedLayout();
  TableLayout layout = drawer.Finish();
  return layout.nodesApart.empty() ? layout : BusLayout(rows);
}

}  // namespace ohmara
