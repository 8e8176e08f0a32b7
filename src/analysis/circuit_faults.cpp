#include "analysis/circuit_faults.h"

#include <optional>
#include <vector>

#include "analysis/loop_search.h"
#include "analysis/source_loops.h"
#include "model/quoted_text.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

using Kind = CircuitFault::Kind;

CircuitFault Fault(Kind kind, int row = 0, std::string name = "") {
  CircuitFault fault;
  fault.kind = kind;
  fault.row = row;
  fault.name = std::move(name);
  return fault;
}

std::string LoopText(const Loop& loop) {
  std::string text = std::to_string(loop.Steps.front().From);
  for (const CircuitBranch& step : loop.Steps) text += "->" + std::to_string(step.To);
  return text;
}

// "3 (2->4) и 5 (1->3)": the rows of the branches with their names.
std::string RowList(const BranchTable& table, const std::vector<int>& indices) {
  std::string text;
  for (size_t i = 0; i < indices.size(); ++i) {
    if (i > 0) text += i + 1 == indices.size() ? " и " : ", ";
    text += Format("%d (%s)", indices[i] + 1, QuotedText(table[indices[i]][kNameColumn]));
  }
  return text;
}

CircuitFault CurrentSourceCutFault(const BranchTable& table, const CircuitState& state) {
  const std::vector<int> cut = CurrentSourceCut(state.Branches, state.NodeCount);
  if (cut.empty()) return {};
  CircuitFault fault = Fault(Kind::CurrentSourceCut, cut.front() + 1, table[cut.front()][kNameColumn]);
  fault.detail = RowList(table, cut);
  return fault;
}

// The first loop the search kept that passes through fewer than two
// junctions.
CircuitFault LoopWithoutJunctions(const CircuitState& state) {
  const std::optional<int> loop = LoopBreakingRealNodeRule(state);
  if (!loop) return {};
  CircuitFault fault = Fault(Kind::LoopWithoutJunctions);
  fault.detail = LoopText(state.Loops[*loop]);
  return fault;
}

}  // namespace

CircuitFault LoopFault(const BranchTable& table, const CircuitState& state) {
  if (state.Branches.empty()) return Fault(Kind::NoBranches);
  // A cut of current sources stops the search before it meets a branch on
  // no loop, yet that branch is the plainer fault to name.
  if (const std::optional<int> open = FirstBranchOnNoLoop(state.Branches))
    return Fault(Kind::NotOnLoop, *open + 1, table[*open][kNameColumn]);
  if (state.Extended)
    if (CircuitFault cut = CurrentSourceCutFault(table, state); cut.kind != Kind::None) return cut;
  return LoopWithoutJunctions(state);
}

std::string CircuitFaultLine(const CircuitFault& fault) {
  const char* spelling = "нужно «a->b», где a и b — номера узлов от 1 до 255.";
  switch (fault.kind) {
    case Kind::None:
      return "";
    case Kind::MalformedName:
      if (fault.name.find_first_not_of(" \t") == std::string::npos)
        return Format("Ветвь %d: имя не заполнено — %s", fault.row, spelling);
      return Format("Ветвь %d: имя «%s» написано неверно — %s", fault.row, QuotedText(fault.name), spelling);
    case Kind::NodeAboveLimit:
      return Format("Ветвь %d: в имени «%s» номер узла %s больше 255.", fault.row, QuotedText(fault.name),
                    QuotedText(fault.detail));
    case Kind::SelfLoop:
      return Format("Ветвь %d: «%s» соединяет узел %d сам с собой.", fault.row, QuotedText(fault.name), fault.node);
    case Kind::Unreachable:
      return Format("Узел %d не связан с узлом %d: цепь распалась на части.", fault.node, fault.otherNode);
    case Kind::RepeatedPair:
      return Format(
          "Ветви в строках %d и %d соединяют одни и те же узлы %d и %d. Включите «Вид → Расширенные "
          "схемы» или разделите ветвь промежуточным узлом.",
          fault.otherRow, fault.row, fault.node, fault.otherNode);
    case Kind::MissingNode:
      return Format("Нет ни одной ветви с узлом %d: узлы должны быть пронумерованы подряд от 1 до %d.", fault.node,
                    fault.otherNode);
    case Kind::NotOnLoop:
      return Format("Ветвь %d (%s) не входит ни в один контур.", fault.row, QuotedText(fault.name));
    case Kind::LoopWithoutJunctions:
      return Format("Контур %s проходит меньше чем через два узла, где сходятся три ветви или больше.", fault.detail);
    case Kind::NoBranches:
      return "В таблице нет ни одной ветви.";
    case Kind::CurrentSourceCut:
      return Format(
          "Источники тока в ветвях %s образуют сечение: без них цепь распадается на части, и их токи "
          "нельзя задать независимо. Добавьте ветвь с сопротивлением между этими частями.",
          fault.detail);
  }
  return "";
}

}  // namespace ohmara
