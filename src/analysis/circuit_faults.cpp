#include "analysis/circuit_faults.h"

#include <algorithm>
#include <string_view>
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

bool AllDigits(std::string_view part) {
  return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Why ParseBranchName refused `name`: its parts between arrows tell a node
// above 255 or a loop onto one node from plain misspelling.
CircuitFault NameFault(const std::string& name, int row) {
  CircuitFault fault = Fault(Kind::MalformedName, row, name);
  std::vector<std::string_view> parts;
  const std::string_view text(name);
  for (size_t start = 0;;) {
    const size_t arrow = text.find("->", start);
    parts.push_back(text.substr(start, arrow == std::string_view::npos ? std::string_view::npos : arrow - start));
    if (arrow == std::string_view::npos) break;
    start = arrow + 2;
  }
  const bool spelled = parts.size() >= 2 && std::all_of(parts.begin(), parts.end(), [](std::string_view part) {
                         return AllDigits(part) && part[0] != '0';
                       });
  if (!spelled) return fault;
  for (std::string_view part : parts) {
    if (part.size() > 3 || std::stoi(std::string(part)) > kMaxNode) {
      fault.kind = Kind::NodeAboveLimit;
      fault.detail = std::string(part);
      return fault;
    }
  }
  if (parts[parts.size() - 2] == parts.back()) {
    fault.kind = Kind::SelfLoop;
    fault.node = std::stoi(std::string(parts.back()));
  }
  return fault;
}

// Node lists by node number (0 unused): the branch indices at each node.
std::vector<std::vector<int>> Incidence(const std::vector<CircuitBranch>& branches) {
  std::vector<std::vector<int>> at(kMaxNode + 1);
  for (int k = 0; k < static_cast<int>(branches.size()); ++k) {
    at[branches[k].From].push_back(k);
    at[branches[k].To].push_back(k);
  }
  return at;
}

int OtherEnd(const CircuitBranch& branch, int node) { return branch.From == node ? branch.To : branch.From; }

std::vector<bool> ReachedFrom(int start, const std::vector<CircuitBranch>& branches) {
  const std::vector<std::vector<int>> at = Incidence(branches);
  std::vector<bool> reached(kMaxNode + 1, false);
  std::vector<int> pending{start};
  reached[start] = true;
  while (!pending.empty()) {
    const int node = pending.back();
    pending.pop_back();
    for (int k : at[node]) {
      const int next = OtherEnd(branches[k], node);
      if (!reached[next]) reached[next] = true, pending.push_back(next);
    }
  }
  return reached;
}

CircuitFault UnreachableNode(const std::vector<CircuitBranch>& branches) {
  std::vector<bool> used(kMaxNode + 1, false);
  for (const CircuitBranch& b : branches) used[b.From] = used[b.To] = true;
  const int start = static_cast<int>(std::find(used.begin(), used.end(), true) - used.begin());
  const std::vector<bool> reached = ReachedFrom(start, branches);
  CircuitFault fault = Fault(Kind::Unreachable);
  fault.otherNode = start;
  for (int node = 1; node <= kMaxNode; ++node)
    if (used[node] && !reached[node]) {
      fault.node = node;
      break;
    }
  return fault;
}

CircuitFault RepeatedPair(const BranchTable& table, const std::vector<CircuitBranch>& branches) {
  for (size_t i = 0; i < branches.size(); ++i)
    for (size_t j = 0; j < i; ++j) {
      const CircuitBranch& a = branches[i];
      const CircuitBranch& b = branches[j];
      if ((a.From == b.From && a.To == b.To) || (a.From == b.To && a.To == b.From)) {
        CircuitFault fault = Fault(Kind::RepeatedPair, static_cast<int>(i) + 1, table[i][kNameColumn]);
        fault.otherRow = static_cast<int>(j) + 1;
        fault.otherName = table[j][kNameColumn];
        fault.node = std::min(a.From, a.To);
        fault.otherNode = std::max(a.From, a.To);
        return fault;
      }
    }
  return {};
}

CircuitFault MissingNode(const std::vector<CircuitBranch>& branches) {
  std::vector<bool> used(kMaxNode + 1, false);
  int highest = 0;
  for (const CircuitBranch& b : branches) {
    used[b.From] = used[b.To] = true;
    highest = std::max({highest, b.From, b.To});
  }
  for (int node = 1; node <= highest; ++node)
    if (!used[node]) {
      CircuitFault fault = Fault(Kind::MissingNode);
      fault.node = node;
      fault.otherNode = highest;
      return fault;
    }
  return {};
}

// Bridges by the depth-first low-link: a branch is on no loop exactly when
// the nodes below it reach nothing above it. Nodes are at most 255, so the
// recursion stays shallow.
class BridgeFinder {
 public:
  explicit BridgeFinder(const std::vector<CircuitBranch>& branches)
      : branches_(branches),
        at_(Incidence(branches)),
        order_(kMaxNode + 1, 0),
        low_(kMaxNode + 1, 0),
        bridge_(branches.size(), false) {
    for (int node = 1; node <= kMaxNode; ++node)
      if (order_[node] == 0 && !at_[node].empty()) Visit(node, -1);
  }
  // The first bridge in table order, or -1.
  int First() const {
    const auto it = std::find(bridge_.begin(), bridge_.end(), true);
    return it == bridge_.end() ? -1 : static_cast<int>(it - bridge_.begin());
  }

 private:
  void Visit(int node, int viaBranch) {
    order_[node] = low_[node] = ++counter_;
    for (int k : at_[node]) {
      if (k == viaBranch) continue;
      const int next = OtherEnd(branches_[k], node);
      if (order_[next] == 0) {
        Visit(next, k);
        low_[node] = std::min(low_[node], low_[next]);
        if (low_[next] > order_[node]) bridge_[k] = true;
      } else {
        low_[node] = std::min(low_[node], order_[next]);
      }
    }
  }
  const std::vector<CircuitBranch>& branches_;
  std::vector<std::vector<int>> at_;
  std::vector<int> order_, low_;
  std::vector<bool> bridge_;
  int counter_ = 0;
};

std::string LoopText(const Loop& loop) {
  std::string text = std::to_string(loop.Steps.front().From);
  for (const CircuitBranch& step : loop.Steps) text += "->" + std::to_string(step.To);
  return text;
}

// The first loop the search kept that passes through fewer than two
// junctions.
CircuitFault LoopWithoutJunctions(const CircuitState& tested) {
  const std::optional<int> loop = LoopBreakingRealNodeRule(tested);
  if (!loop) return {};
  CircuitFault fault = Fault(Kind::LoopWithoutJunctions);
  fault.detail = LoopText(tested.Loops[*loop]);
  return fault;
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

CircuitFault CurrentSourceCutFault(const BranchTable& table, const CircuitState& tested) {
  const std::vector<int> cut = CurrentSourceCut(tested.Branches, tested.NodeCount);
  if (cut.empty()) return {};
  CircuitFault fault = Fault(Kind::CurrentSourceCut, cut.front() + 1, table[cut.front()][kNameColumn]);
  fault.detail = RowList(table, cut);
  return fault;
}

CircuitFault ClosednessFault(const BranchTable& table, const std::vector<CircuitBranch>& branches,
                             const CircuitState& tested) {
  if (branches.empty()) return Fault(Kind::NoBranches);
  const int bridge = BridgeFinder(branches).First();
  if (bridge >= 0) return Fault(Kind::NotOnLoop, bridge + 1, table[bridge][kNameColumn]);
  if (tested.Extended) return CurrentSourceCutFault(table, tested);
  return LoopWithoutJunctions(tested);
}

}  // namespace

CircuitFault FindCircuitFault(const BranchTable& table, const CircuitState& tested) {
  std::vector<CircuitBranch> branches(table.size());
  for (size_t k = 0; k < table.size(); ++k)
    if (!ParseBranchName(table[k][kNameColumn], branches[k].From, branches[k].To))
      return NameFault(table[k][kNameColumn], static_cast<int>(k) + 1);
  CircuitFault fault = branches.empty() ? CircuitFault{} : UnreachableNode(branches);
  if (fault.node != 0) return fault;
  if (!tested.Extended) {
    fault = RepeatedPair(table, branches);
    if (fault.kind != Kind::None) return fault;
  }
  fault = MissingNode(branches);
  if (fault.kind != Kind::None) return fault;
  if (!tested.NeedsTest) return {};
  return ClosednessFault(table, branches, tested);
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
