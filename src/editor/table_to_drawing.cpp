#include "editor/table_to_drawing.h"

#include "editor/editor_error.h"
#include "editor/value_text.h"
#include "editor/wire_router.h"
#include "model/circuit.h"
#include "model/errors.h"
#include "model/int_set.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

constexpr int kFirstX = 50;
constexpr int kFirstY = 50;
constexpr int kColumnStep = 180;
constexpr int kRowStep = 100;
// A row wraps after the branch placed in this column.
constexpr int kLastColumn = 5;

struct TableBranch {
  int from = 0;
  int to = 0;
  ElementValues values;
};

[[noreturn]] void FailAt(int row, int column, const std::string& text, const char* what) {
  throw EditorError(Format("Строка %d, столбец «%s»: «%s» — %s.", row, BranchTableTitles()[column], text, what));
}

std::vector<TableBranch> ReadRows(const BranchTable& table) {
  std::vector<TableBranch> rows;
  for (size_t i = 0; i < table.size(); ++i) {
    const BranchRow& cells = table[i];
    const int row = static_cast<int>(i) + 1;
    TableBranch branch;
    if (!ParseBranchName(cells[kNameColumn], branch.from, branch.to))
      FailAt(row, kNameColumn, cells[kNameColumn], "не ветвь вида a->b");
    double* values[] = {&branch.values.R, &branch.values.L, &branch.values.C, &branch.values.E,
                        &branch.values.Angle};
    for (int column = kRColumn; column <= kAngleColumn; ++column) {
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

class TableDrawer {
 public:
  explicit TableDrawer(int attempts) : attempts_(attempts) { layout_.paint.push_back(PictureOp{Picture::Background, {0, 0}}); }

  // Joins a terminal to another terminal of its node: the search for a
  // partner starts at the front each time and skips only the terminal tried
  // last, so the attempts alternate between the first two candidates.
  void Join(const TTerminal& first) {
    TTerminal second{0, 0, 0, false};
    for (int attempt = 0; attempt < attempts_; ++attempt) {
      if (const std::optional<TTerminal> partner = Partner(first.Node, second)) second = *partner;
      const JoinOutcome join = JoinTerminals(layout_.drawing, first, second);
      if (join.result == RouteResult::GuardTripped) ++layout_.routingGuardTrips;
      if (join.result == RouteResult::Routed) {
        AppendConnection(layout_.paint, layout_.drawing.Connections()[join.wireIndex]);
        return;
      }
    }
  }

  void Place(const TSheetBranch& branch) {
    layout_.drawing.AppendBranch(branch);
    layout_.drawing.BlockFootprint(branch);
  }

  TableLayout Finish() {
    for (const TSheetBranch& branch : layout_.drawing.Branches()) AppendSheetBranch(layout_.paint, branch);
    return std::move(layout_);
  }

 private:
  std::optional<TTerminal> Partner(int node, const TTerminal& last) const {
    auto differs = [&](const TTerminal& t) { return t.X != last.X || t.Y != last.Y; };
    for (const TSheetBranch& branch : layout_.drawing.Branches()) {
      if (branch.From == node && differs(StartTerminal(branch))) return StartTerminal(branch);
      if (branch.To == node && differs(EndTerminal(branch))) return EndTerminal(branch);
    }
    return std::nullopt;
  }

  int attempts_;
  TableLayout layout_;
};

}  // namespace

TableLayout LayOutBranchTable(const BranchTable& table) {
  const std::vector<TableBranch> rows = ReadRows(table);
  TableDrawer drawer(2 * static_cast<int>(rows.size()));
  TIntSet placed;
  int row = 0;
  int column = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    const TableBranch& b = rows[i];
    const TSheetBranch branch = MakeSheetBranch(kFirstX + kColumnStep * column, kFirstY + kRowStep * row, b.from,
                                                b.to, false, b.values);
    drawer.Place(branch);
    if (placed.contains(b.to) || column > kLastColumn) {
      drawer.Join(EndTerminal(branch));
      drawer.Join(StartTerminal(branch));
      ++row;
      column = 0;
    } else {
      if (placed.contains(b.from) || i == 0) drawer.Join(StartTerminal(branch));
      // A branch whose nodes are both new still gets a place of its own.
      ++column;
    }
    placed.add(b.from);
    placed.add(b.to);
  }
  return drawer.Finish();
}

}  // namespace ohmara
