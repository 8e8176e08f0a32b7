#include "editor/drawing_to_table.h"

#include <map>

#include "editor/editor_error.h"
#include "editor/value_text.h"
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
  for (const TSheetBranch& b : drawing.Branches()) labels.branches.push_back({b.From, b.To});
  for (const TConnection& w : drawing.Connections()) labels.wires.push_back({w.From, w.To});
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
    for (const auto& [node, label] : {std::pair{wires[w].From, labels.wires[w].start},
                                      std::pair{wires[w].To, labels.wires[w].end}}) {
      for (size_t b = 0; b < branches.size(); ++b) {
        if (branches[b].From == node) labels.branches[b].start = label;
        if (branches[b].To == node) labels.branches[b].end = label;
      }
    }
  }
  JoinTouchingTerminals(drawing, labels);
  return labels;
}

std::vector<TerminalNumbers> NumberNodes(const NodeLabels& labels) {
  std::map<int, int> numberOf;
  auto number = [&](int label) { return numberOf.try_emplace(label, static_cast<int>(numberOf.size()) + 1).first->second; };
  std::vector<TerminalNumbers> numbers;
  for (const TerminalNumbers& branch : labels.branches) {
    const int start = number(branch.start);
    numbers.push_back({start, number(branch.end)});
  }
  return numbers;
}

std::string DrawingTableText(const SheetDrawing& drawing, const std::vector<TerminalNumbers>& numbers) {
  std::string text = Format("%d\n", static_cast<int>(drawing.Branches().size()));
  for (size_t b = 0; b < drawing.Branches().size(); ++b) {
    const ElementValues& v = drawing.Branches()[b].Values;
    AppendFormat(text, "%d->%d\t", numbers[b].start, numbers[b].end);
    for (double value : {v.R, v.L, v.C, v.E, v.Angle}) text += ValueField(value) + "\t";
    text += "\n";
  }
  return text;
}

DrawingTable ExportDrawingTable(const SheetDrawing& drawing) {
  const std::vector<TerminalNumbers> numbers = NumberNodes(MergeNodes(drawing));
  return {DrawingTableText(drawing, numbers), DrawNodeNumbers(drawing, numbers)};
}

void SaveDrawingTable(const std::filesystem::path& path, const std::string& text) {
  if (!SaveTextFileAtomically(path, text))
    throw EditorError(Format("Не удалось записать таблицу ветвей в файл «%s».", path.string()));
}

}  // namespace ohmara
