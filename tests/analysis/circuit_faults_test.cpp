#include "analysis/circuit_faults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string_view>

#include "analysis/circuit_check.h"
#include "analysis/loop_search.h"
#include "analysis/source_loops.h"
#include "model/quoted_text.h"
#include "model/text_format.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

// The line under the test report names the first fault in the order of the
// test itself, so it always explains the first "Нет" the report shows.
TEST(CircuitFaults, LineNamesTheFirstFaultTheTestMeets) {
  struct Case {
    std::vector<std::string> names;
    const char* line;
  };
  const Case cases[] = {
      {{"1->2", "2->3", "3->1", "2->4", "4->3"}, ""},
      {{"1->2", "2->3", "1-2", "x"},
       "Ветвь 3: имя «1-2» написано неверно — нужно «a->b», где a и b — номера узлов от 1 до 255."},
      {{"1->2", " "}, "Ветвь 2: имя не заполнено — нужно «a->b», где a и b — номера узлов от 1 до 255."},
      {{"1->2", "2->0"}, "Ветвь 2: имя «2->0» написано неверно — нужно «a->b», где a и b — номера узлов от 1 до 255."},
      {{"1->256"}, "Ветвь 1: в имени «1->256» номер узла 256 больше 255."},
      {{"1->2", "99999999999->1"}, "Ветвь 2: в имени «99999999999->1» номер узла 99999999999 больше 255."},
      {{"1->2", "5->2->2"}, "Ветвь 2: «5->2->2» соединяет узел 2 сам с собой."},
      {{"1->2", "2->3", "3->1", "4->5", "5->6", "6->4"}, "Узел 4 не связан с узлом 1: цепь распалась на части."},
      {{"2->3", "3->4", "4->2", "5->6", "6->7", "7->5"}, "Узел 5 не связан с узлом 2: цепь распалась на части."},
      {{"1->2", "2->3", "3->1", "2->4", "3->2"},
       "Ветви в строках 2 и 5 соединяют одни и те же узлы 2 и 3. Включите «Вид → Расширенные схемы» или разделите "
       "ветвь промежуточным узлом."},
      {{"1->2", "2->4", "4->1", "2->5", "5->4"},
       "Нет ни одной ветви с узлом 3: узлы должны быть пронумерованы подряд от 1 до 5."},
      {{"1->2", "2->3", "3->1", "2->4", "4->3", "3->5"}, "Ветвь 6 (3->5) не входит ни в один контур."},
      {{"1->2", "2->3", "3->1", "3->4", "4->5", "5->6", "6->4"}, "Ветвь 4 (3->4) не входит ни в один контур."},
      {{"1->2", "2->3", "3->1"},
       "Контур 2->3->1->2 проходит меньше чем через два узла, где сходятся три ветви или больше."},
      {{}, "В таблице нет ни одной ветви."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    BranchTable table;
    for (const std::string& name : c.names) table.push_back({name, "1", "", "", "", ""});
    ScratchResults dir;
    CircuitState state;
    MeshTexts window;
    MeshViews views = window.Views();
    const CircuitCheckOutcome outcome = RunCircuitCheck(state, table, {"50", 0}, dir.Results(), views);
    const CircuitFault& fault = outcome.fault;
    EXPECT_EQ(CircuitFaultLine(fault), c.line);
    EXPECT_EQ(fault.kind == CircuitFault::Kind::None, outcome.passed);
  }
}

// The finder the check replaced, kept here for one comparison on many tables.
namespace earlier {
bool OldParseBranchName(const std::string& name, int& from, int& to) {
  enum class State { FirstDigit, Digits, Arrow };
  State state = State::FirstDigit;
  int accumulator = 0;
  bool arrow = false;
  const size_t length = name.size();
  size_t pos = 0;
  auto nextIsDash = [&] { return pos < length && name[pos] == '-'; };
  while (pos < length) {
    const char c = name[pos];
    switch (state) {
      case State::FirstDigit:
        if (c < '1' || c > '9') return false;
        accumulator = c - '0';
        ++pos;
        state = State::Digits;
        break;
      case State::Digits:
        if (c < '0' || c > '9') return false;
        accumulator = accumulator * 10 + (c - '0');
        if (accumulator > kMaxNode) return false;
        ++pos;
        break;
      case State::Arrow:
        arrow = true;
        ++pos;
        if (pos >= length || name[pos] != '>') return false;
        ++pos;
        state = State::FirstDigit;
        continue;
    }
    if (nextIsDash()) {
      from = accumulator;
      state = State::Arrow;
    }
  }
  if (!arrow) return false;
  to = accumulator;
  return to != from;
}

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

CircuitFault OldFindCircuitFault(const BranchTable& table, const CircuitState& tested) {
  std::vector<CircuitBranch> branches(table.size());
  for (size_t k = 0; k < table.size(); ++k)
    if (!OldParseBranchName(table[k][kNameColumn], branches[k].From, branches[k].To))
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

}  // namespace earlier

std::string Describe(const CircuitFault& f) {
  return std::to_string(static_cast<int>(f.kind)) + "|" + std::to_string(f.row) + "|" + f.name + "|" +
         std::to_string(f.otherRow) + "|" + f.otherName + "|" + std::to_string(f.node) + "|" +
         std::to_string(f.otherNode) + "|" + f.detail;
}

TEST(CircuitFaults, EveryNameReadsAsTheEarlierReaderReadIt) {
  const std::string alphabet = "01256-> ";
  std::vector<std::string> names = {""};
  for (size_t begin = 0, length = 0; length < 7; ++length) {
    const size_t end = names.size();
    for (size_t i = begin; i < end; ++i)
      for (char c : alphabet) names.push_back(names[i] + c);
    begin = end;
  }
  for (const std::string& name : names) {
    int oldFrom = 0, oldTo = 0;
    const bool oldOk = earlier::OldParseBranchName(name, oldFrom, oldTo);
    const BranchNameReading reading = ReadBranchName(name);
    ASSERT_EQ(reading.accepted(), oldOk) << name;
    if (oldOk) {
      ASSERT_EQ(reading.from, oldFrom) << name;
      ASSERT_EQ(reading.to, oldTo) << name;
      continue;
    }
    CircuitFault fault;
    std::vector<CircuitBranch> branches;
    int count = 0;
    ParseBranchTable({name}, branches, count, false, &fault);
    ASSERT_EQ(Describe(fault), Describe(earlier::NameFault(name, 1))) << name;
  }
}

TEST(CircuitFaults, TheCheckFindsTheFaultTheEarlierFinderFound) {
  const char* odd[] = {"1-2", "", "3->3", "1->300", "0->1", "1->2->3", "2->1->2", "1->2->2"};
  std::mt19937 random(7);
  int failed = 0, compared = 0;
  for (int round = 0; round < 40000; ++round) {
    const bool extended = random() % 2;
    const int nodes = 2 + random() % 6;
    const int count = random() % 10;
    BranchTable table;
    for (int k = 0; k < count; ++k) {
      std::string name;
      if (random() % 40 == 0) {
        name = odd[random() % 8];
      } else {
        const int from = 1 + random() % nodes;
        int to = 1 + random() % nodes;
        if (to == from) to = to % nodes + 1;
        name = std::to_string(from) + "->" + std::to_string(to);
      }
      BranchRow row{name, "1", "", "", "", ""};
      if (extended && random() % 4 == 0) {
        row[kJColumn] = "1";
        if (random() % 2) row[kRColumn] = "";
      }
      table.push_back(row);
    }
    ResultsDirectory results = ResultsDirectory::Discarding();
    CircuitState state;
    state.Extended = extended;
    MeshTexts window;
    MeshViews views = window.Views();
    CircuitCheckOutcome outcome;
    try {
      outcome = RunCircuitCheck(state, table, {"50", 0}, results, views);
    } catch (const std::exception&) {
      continue;
    }
    ++compared;
    failed += !outcome.passed;
    const CircuitFault expected = earlier::OldFindCircuitFault(table, state);
    ASSERT_EQ(Describe(outcome.fault), Describe(expected))
        << ::testing::PrintToString(BranchNames(table)) << " extended " << extended;
  }
  EXPECT_GT(failed, 1000);
  EXPECT_GT(compared - failed, 1000);
}

}  // namespace
}  // namespace ohmara
