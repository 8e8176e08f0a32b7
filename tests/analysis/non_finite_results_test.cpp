// Element values at the ends of the double range: every method either solves
// the circuit or refuses it with a message, and never reports a success with
// values that are not finite.

#include <gtest/gtest.h>

#include "analysis/table_circuits.h"
#include "support/every_method.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

// Two loops sharing 2->3; `row24` replaces the branch 2->4.
BranchTable TwoLoops(const BranchRow& row24) {
  return {Row("1->2", "1", "", "", "10", "0"), Row("2->3", "2", "", "", "", ""), Row("3->1", "1", "", "", "", ""),
          row24, Row("4->3", "1", "", "", "", "")};
}

size_t Sections(const std::string& out) {
  size_t count = 0;
  for (size_t at = out.find("--------------------------------\n\n"); at != std::string::npos;
       at = out.find("--------------------------------\n\n", at + 1))
    ++count;
  return count;
}

TEST(NonFiniteResults, EveryMethodSolvesOrRefusesWithAMessage) {
  struct Case {
    const char* what;
    BranchTable table;
    const char* testRefusal;  // the refusal of "Тест", or nullptr when it passes
  };
  const Case cases[] = {
      {"capacitance too small for 50 Hz", TwoLoops(Row("2->4", "", "", "1e-305", "", "")),
       "Сопротивление ветви 2->4 бесконечно: ёмкость 1e-305 мкФ слишком мала для частоты 50 Гц."},
      {"inductance too large", TwoLoops(Row("2->4", "", "1e308", "", "", "")),
       "Сопротивление ветви 2->4 бесконечно: индуктивность 1e308 мГн слишком велика для частоты 50 Гц."},
      {"resistance near the largest double", TwoLoops(Row("2->4", "1.7e308", "", "", "", "")), nullptr},
      {"two such resistances in one loop",
       {Row("1->2", "1", "", "", "10", "0"), Row("2->3", "2", "", "", "", ""), Row("3->1", "1", "", "", "", ""),
        Row("2->4", "1.7e308", "", "", "", ""), Row("4->3", "1.7e308", "", "", "", "")},
       nullptr},
      {"inductance near the smallest double", TwoLoops(Row("2->4", "", "1e-160", "", "", "")), nullptr},
      {"source near the largest double", TwoLoops(Row("2->4", "1e-300", "", "", "1e300", "45")), nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchResults dir;
    EveryMethodRun run;
    EXPECT_EQ(CheckEveryMethod(c.table, {"50", 0}, dir.Results(), run), "");
    if (c.testRefusal) {
      EXPECT_FALSE(run.passed);
      EXPECT_EQ(run.refusals, std::vector<std::string>{c.testRefusal});
      continue;
    }
    ASSERT_TRUE(run.passed);
    // Only a success writes a section: a refused run leaves out.txt as it was.
    EXPECT_EQ(Sections(dir.Text("out.txt")), static_cast<size_t>(run.solved));
  }
}

}  // namespace
}  // namespace ohmara
