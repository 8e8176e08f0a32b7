#include "analysis/circuit_faults.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "analysis/circuit_check.h"
#include "support/fault_rules.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

// The line under the test report names the first fault in the order of the
// test itself, so it always explains the first "Нет" the report shows.
TEST(CircuitFaults, LineNamesTheFirstFaultTheTestMeets) {
  struct Case {
    std::vector<std::string> names;
    const char* line;
    bool extended = false;
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
      {{}, "В таблице нет ни одной ветви.", true},
      {{"1->2", "2->3", "3->1", "3->4", "4->5", "5->3"},
       "Контур 2->3->1->2 проходит меньше чем через два узла, где сходятся три ветви или больше.",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    BranchTable table;
    for (const std::string& name : c.names) table.push_back({name, "1", "", "", "", ""});
    ScratchResults dir;
    CircuitState state;
    state.Extended = c.extended;
    MeshTexts window;
    MeshViews views = window.Views();
    const CircuitCheckOutcome outcome = RunCircuitCheck(state, table, {"50", 0}, dir.Results(), views);
    const CircuitFault& fault = outcome.fault;
    EXPECT_EQ(CircuitFaultLine(fault), c.line);
    EXPECT_EQ(fault.kind == CircuitFault::Kind::None, outcome.passed);
  }
}

// Every name of up to six characters drawn from digits, arrows and a space.
TEST(CircuitFaults, EveryShortNameIsReadAndRefusedByTheRules) {
  const std::string alphabet = "01256-> ";
  std::vector<std::string> names = {""};
  for (size_t begin = 0, length = 0; length < 6; ++length) {
    const size_t end = names.size();
    for (size_t i = begin; i < end; ++i)
      for (char c : alphabet) names.push_back(names[i] + c);
    begin = end;
  }
  for (const std::string& name : names) ASSERT_EQ(BranchNameRuleBroken(name), "") << "«" << name << "»";
}

// Random tables, classic and extended, with a few bad names and current
// sources: the fault named always fits the test's outcome and the table,
// and every kind of fault turns up.
TEST(CircuitFaults, TheFaultNamedFitsTheTestOutcomeOnRandomTables) {
  const char* odd[] = {"1-2", "", "3->3", "1->300", "0->1", "1->2->3", "2->1->2", "1->2->2"};
  std::mt19937 random(7);
  std::set<CircuitFault::Kind> seen;
  for (int round = 0; round < 20000; ++round) {
    const bool extended = random() % 2;
    const int nodes = 2 + random() % 6;
    const int count = random() % 10;
    BranchTable table;
    for (int k = 0; k < count; ++k) {
      std::string name = odd[random() % 8];
      if (random() % 40 != 0) {
        const int from = 1 + random() % nodes;
        const int to = 1 + (from + static_cast<int>(random() % (nodes - 1))) % nodes;
        name = std::to_string(from) + "->" + std::to_string(to);
      }
      BranchRow row{name, "1", "", "", "", ""};
      if (extended && random() % 4 == 0) {
        row[kJColumn] = row[kRColumn];  // "1"
        if (random() % 2) row[kRColumn].clear();
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
    seen.insert(outcome.fault.kind);
    ASSERT_EQ(FaultRuleBroken(table, outcome), "")
        << ::testing::PrintToString(BranchNames(table)) << " extended " << extended;
  }
  EXPECT_EQ(seen.size(), static_cast<size_t>(CircuitFault::Kind::CurrentSourceCut) + 1);
}

}  // namespace
}  // namespace ohmara
