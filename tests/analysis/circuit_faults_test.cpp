#include "analysis/circuit_faults.h"

#include <gtest/gtest.h>

#include "analysis/circuit_check.h"
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
    const CircuitFault fault = FindCircuitFault(table, state);
    EXPECT_EQ(CircuitFaultLine(fault), c.line);
    EXPECT_EQ(fault.kind == CircuitFault::Kind::None, outcome.passed);
  }
}

}  // namespace
}  // namespace ohmara
