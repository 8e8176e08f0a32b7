#include "analysis/circuit_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "analysis/node_potential.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

const BranchTable kFiveBranches = {
    {"1->2", "1", "", "", "10", "0"}, {"2->3", "1"}, {"3->1", "1"}, {"2->4", "1"}, {"4->3", "1"}};

CircuitDocument Document(BranchTable table, std::string frequency = "15", std::string zeroNode = "3") {
  return {std::move(table), {std::move(frequency), 0}, std::move(zeroNode)};
}

class CircuitSessionTest : public ResultsFixture {
 protected:
  CircuitState state_;
  CircuitSession session_{state_, Results()};
};

// A walk through what a student does; after each step, whether a method may
// run, which windows show an older circuit, and which report parts exist.
TEST_F(CircuitSessionTest, OnlyTheTestedCircuitAndItsOwnSolutionsCountAsCurrent) {
  BranchTable changed = kFiveBranches;
  changed[1][1] = "2";
  struct Step {
    const char* what;
    std::function<void(CircuitSession&)> act;
    Readiness readiness;
    bool meshStale, nodesStale;
    bool task, mesh, nodes;  // report parts that exist
  };
  const Step steps[] = {
      {"fresh start", [](CircuitSession&) {}, Readiness::NotTested, false, false, false, false, false},
      {"table typed", [](CircuitSession& s) { s.Edit(Document(kFiveBranches)); }, Readiness::NotTested, false, false,
       true, false, false},
      {"tested", [](CircuitSession& s) { EXPECT_TRUE(s.Test().passed); }, Readiness::Ready, false, false, true, false,
       false},
      {"solved both ways",
       [](CircuitSession& s) {
         EXPECT_TRUE(s.SolveMesh());
         EXPECT_TRUE(s.SolveNodes(NodePotentialMethod, 3));
       },
       Readiness::Ready, false, false, true, true, true},
      {"zero node changed", [](CircuitSession& s) { s.Edit(Document(kFiveBranches, "15", "2")); }, Readiness::Ready,
       false, true, true, true, true},
      {"frequency changed", [](CircuitSession& s) { s.Edit(Document(kFiveBranches, "777", "3")); }, Readiness::Stale,
       true, true, true, true, true},
      {"cell changed", [&](CircuitSession& s) { s.Edit(Document(changed)); }, Readiness::Stale, true, true, true, true,
       true},
      {"tested again", [](CircuitSession& s) { EXPECT_TRUE(s.Test().passed); }, Readiness::Ready, false, true, true,
       false, false},
      {"broken and tested",
       [](CircuitSession& s) {
         s.Edit(Document({{"1-2", "1"}}));
         EXPECT_FALSE(s.Test().passed);
       },
       Readiness::NotTested, true, true, true, false, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act(session_);
    EXPECT_EQ(session_.MethodReadiness(), step.readiness);
    EXPECT_EQ(session_.MeshShownIsStale(), step.meshStale);
    EXPECT_EQ(session_.NodesShownIsStale(), step.nodesStale);
    const ReportContent report = session_.Report();
    EXPECT_EQ(report.available.task, step.task);
    EXPECT_EQ(report.available.meshCurrents, step.mesh);
    EXPECT_EQ(report.available.nodePotentials, step.nodes);
  }
}

// The report's task is the table and frequency as tested, with a line when
// the screen shows another; the tested circuit keeps them whatever is typed.
TEST_F(CircuitSessionTest, ReportPrintsTheTaskAsTested) {
  session_.Edit(Document(kFiveBranches, "50"));
  ASSERT_TRUE(session_.Test().passed);
  ASSERT_TRUE(session_.SolveMesh());
  const ReportContent current = session_.Report();
  EXPECT_EQ(current.task.note, "");
  EXPECT_EQ(current.task.frequency, "50");
  EXPECT_EQ(current.task.table.Cell(0, 0), "Ветвь");
  EXPECT_EQ(current.task.table.Cell(0, 5), "4->3");
  EXPECT_EQ(current.mesh.powerBalance, session_.meshTexts().powerBalance.lines);

  session_.Edit(Document({{"1->2", "5"}}, "777"));
  const ReportContent stale = session_.Report();
  EXPECT_EQ(stale.task.frequency, "50");
  EXPECT_EQ(stale.task.table.rows, 6);
  EXPECT_NE(stale.task.note, "");
  EXPECT_EQ(session_.tested()->document.table, kFiveBranches);
}

}  // namespace
}  // namespace ohmara
