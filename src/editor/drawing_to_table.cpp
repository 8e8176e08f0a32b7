#include "editor/drawing_to_table.h"

#include <cstdint>
#include <map>
#include <unordered_map>

#include "editor/value_text.h"
#include "model/circuit.h"
#include "model/text_file.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

// Terminals that lie on one point are one node though no wire joins them.
void JoinTouchingTerminals(const SheetDrawing& drawing, NodeLabels& labels) {
  std::map<int, int> parent;
  auto root = [&](int label) {
    while (parent.contains(label) && parent[label] != label) label = parent[label];
    return label;
  };
  std::map<std::pair<int, int>, int> labelAt;
  const auto& branches = drawing.Branches();
  for (size_t b = 0; b < branches.size(); ++b) {
    for (const auto& [terminal, label] : {std::pair{StartTerminal(branches[b]), labels.branches[b].start},
                                          std::pair{EndTerminal(branches[b]), labels.branches[b].end}}) {
      const auto [at, fresh] = labelAt.try_emplace({terminal.X, terminal.Y}, label);
      if (fresh) continue;
      const int kept = root(at->second);
      const int joined = root(label);
      if (kept != joined) parent[joined] = kept;
    }
  }
  if (parent.empty()) return;
  for (TerminalNumbers& branch : labels.branches) {
    branch.start = root(branch.start);
    branch.end = root(branch.end);
  }
}

}  // namespace

NodeLabels MergeNodes(const SheetDrawing& drawing) {
  NodeLabels labels;
  for (const SheetBranch& b : drawing.Branches()) labels.branches.push_back({b.From, b.To});
  for (const Connection& w : drawing.Connections()) labels.wires.push_back({w.From, w.To});
  // Each wire joins its two labels into one, on every wire that carries them.
  for (size_t w = 0; w < labels.wires.size(); ++w) {
    const int kept = labels.wires[w].start;
    const int joined = labels.wires[w].end;
    for (TerminalNumbers& other : labels.wires) {
      if (other.start == joined) other.start = kept;
      if (other.end == joined) other.end = kept;
    }
  }
  // A terminal that a wire touches takes the wire's label.
  const auto& branches = drawing.Branches();
  const auto& wires = drawing.Connections();
  for (size_t w = 0; w < wires.size(); ++w) {
    for (const auto& [node, label] :
         {std::pair{wires[w].From, labels.wires[w].start}, std::pair{wires[w].To, labels.wires[w].end}}) {
      for (size_t b = 0; b < branches.size(); ++b) {
        if (branches[b].From == node) labels.branches[b].start = label;
        if (branches[b].To == node) labels.branches[b].end = label;
      }
    }
  }
  JoinTouchingTerminals(drawing, labels);
  return labels;
}

namespace {

// The pieces of the picture: cells of terminals and wire ends, united where
// a wire joins them.
class PictureJoins {
 public:
  explicit PictureJoins(const SheetDrawing& drawing) {
    std::unordered_map<std::uint64_t, std::vector<int>> wiresAt = WiresByCell(drawing);
    const auto& wires = drawing.Connections();
    for (const Connection& w : wires) {
      if (w.Points.empty()) continue;
      Unite(CellKey(w.Points.front()), CellKey(w.Points.back()));
      for (const GridCell& end : {w.Points.front(), w.Points.back()})
        for (const int other : wiresAt[CellKey(end)]) Unite(CellKey(end), CellKey(wires[other].Points.front()));
    }
  }
  std::uint64_t Root(std::uint64_t key) {
    for (;;) {
      const auto it = parent_.find(key);
      if (it == parent_.end() || it->second == key) return key;
      // Halves the way for the next look.
      if (const auto up = parent_.find(it->second); up != parent_.end()) it->second = up->second;
      key = it->second;
    }
  }

 private:
  void Unite(std::uint64_t a, std::uint64_t b) {
    a = Root(a);
    b = Root(b);
    if (a != b) parent_[b] = a;
    parent_.try_emplace(a, a);
  }
  std::unordered_map<std::uint64_t, std::uint64_t> parent_;
};

}  // namespace

std::vector<TerminalNumbers> PictureNodes(const SheetDrawing& drawing) {
  PictureJoins joins(drawing);
  std::unordered_map<std::uint64_t, int> numberOf;
  auto number = [&](const Terminal& t) {
    return numberOf.try_emplace(joins.Root(CellKey(CellOf(t))), static_cast<int>(numberOf.size()) + 1).first->second;
  };
  std::vector<TerminalNumbers> numbers;
  for (const SheetBranch& b : drawing.Branches()) {
    const int start = number(StartTerminal(b));
    numbers.push_back({start, number(EndTerminal(b))});
  }
  return numbers;
}

bool AgreeNodesWithPicture(SheetDrawing& drawing, int& nextNode) {
  if (PictureNodes(drawing) == NumberNodes(MergeNodes(drawing))) return false;
  PictureJoins joins(drawing);
  std::unordered_map<std::uint64_t, int> nodeOf;
  std::unordered_map<int, bool> taken;
  // Each piece keeps the number of its first terminal while no piece
  // before it has that number.
  auto node = [&](GridCell cell, int wanted) {
    const auto [it, fresh] = nodeOf.try_emplace(joins.Root(CellKey(cell)), 0);
    if (fresh) it->second = wanted > 0 && !taken[wanted] ? wanted : nextNode++;
    taken[it->second] = true;
    return it->second;
  };
  const std::vector<SheetBranch> branches = drawing.Branches();
  for (size_t b = 0; b < branches.size(); ++b) {
    const int from = node(CellOf(StartTerminal(branches[b])), branches[b].From);
    drawing.SetNodes(static_cast<int>(b), from, node(CellOf(EndTerminal(branches[b])), branches[b].To));
  }
  for (size_t w = 0; w < drawing.Connections().size(); ++w) {
    const Connection& wire = drawing.Connections()[w];
    if (wire.Points.empty()) continue;
    const int piece = node(wire.Points.front(), 0);
    drawing.SetWireNodes(static_cast<int>(w), piece, piece);
  }
  return true;
}

std::vector<TerminalNumbers> NumberNodes(const NodeLabels& labels) {
  std::map<int, int> numberOf;
  auto number = [&](int label) {
    return numberOf.try_emplace(label, static_cast<int>(numberOf.size()) + 1).first->second;
  };
  std::vector<TerminalNumbers> numbers;
  for (const TerminalNumbers& branch : labels.branches) {
    const int start = number(branch.start);
    numbers.push_back({start, number(branch.end)});
  }
  return numbers;
}

namespace {

// Whether the table needs its extended form: a current source, or two
// branches between the same two nodes.
bool NeedsExtendedTable(const SheetDrawing& drawing, const std::vector<TerminalNumbers>& numbers) {
  std::vector<CircuitBranch> branches;
  for (size_t b = 0; b < drawing.Branches().size(); ++b) {
    if (UsesCurrentSource(drawing.Branches()[b].Values)) return true;
    CircuitBranch& branch = branches.emplace_back();
    branch.From = numbers[b].start;
    branch.To = numbers[b].end;
  }
  return HasRepeatedPair(branches);
}

}  // namespace

std::string DrawingTableText(const SheetDrawing& drawing, const std::vector<TerminalNumbers>& numbers) {
  const bool extended = NeedsExtendedTable(drawing, numbers);
  std::string text = Format(extended ? "%dJ\n" : "%d\n", static_cast<int>(drawing.Branches().size()));
  for (size_t b = 0; b < drawing.Branches().size(); ++b) {
    const ElementValues& v = drawing.Branches()[b].Values;
    AppendFormat(text, "%d->%d\t", numbers[b].start, numbers[b].end);
    for (double value : {v.R, v.L, v.C, v.E, v.Angle}) text += ValueField(value) + "\t";
    if (extended)
      for (double value : {v.J, v.JAngle}) text += ValueField(value) + "\t";
    text += "\n";
  }
  return text;
}

DrawingTable ExportDrawingTable(const SheetDrawing& drawing) {
  const std::vector<TerminalNumbers> numbers = NumberNodes(MergeNodes(drawing));
  return {DrawingTableText(drawing, numbers), DrawNodeNumbers(drawing, numbers)};
}

SaveProblem SaveDrawingTable(const std::filesystem::path& path, const std::string& text) {
  return SaveTextFileSafely(path, text);
}

}  // namespace ohmara
