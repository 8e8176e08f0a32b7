// Textbook circuits typed as printed — branches between the same two nodes,
// current sources, one loop, ω — solved by every method that applies and
// checked against ngspice on a netlist laid out here, element by element.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/circuit_faults.h"
#include "analysis/circuit_session.h"
#include "analysis/optimal_node_potential.h"
#include "analysis/power_balance.h"
#include "analysis/textbook_circuits.h"
#include "model/branch_table_file.h"
#include "model/errors.h"
#include "model/text_format.h"
#include "support/results_fixture.h"
#include "support/spice_oracle.h"

namespace ohmara {
namespace {

// Filled member by member: GCC 12 at -O3 warns falsely (-Wmaybe-uninitialized)
// on the braced document's frequency text.
CircuitDocument DocumentOf(const BranchTable& table, const std::string& frequency, int unit,
                           const std::string& zeroNode, bool extended) {
  CircuitDocument document;
  document.table = table;
  document.frequency.text = frequency;
  document.frequency.unitIndex = unit;
  document.zeroNode = zeroNode;
  document.extended = extended;
  return document;
}

class ExtendedCircuits : public ResultsFixture {
 protected:
  CircuitState working_;
};

TEST_F(ExtendedCircuits, EveryMethodGivesNgspicesCurrentsAndPotentials) {
  if (!SpiceAvailable()) GTEST_SKIP() << kSpiceMissing;
  for (const Textbook& circuit : Circuits()) {
    SCOPED_TRACE(circuit.what);
    const auto [currents, potentials] = SpiceAnswerOf(circuit);

    CircuitSession session(working_, Results());
    session.Edit(DocumentOf(TableOf(circuit), circuit.frequency, circuit.unit, std::to_string(circuit.zeroNode), true));
    const CircuitCheckOutcome outcome = session.Test();
    ASSERT_TRUE(outcome.passed) << CircuitFaultLine(outcome.fault);
    EXPECT_EQ(outcome.n == 0, !circuit.junctions);

    // The program's own export, run by ngspice, gives the same answer.
    const TestedCircuit& tested = *session.tested();
    const SpiceSolution exported = SolveWithSpice(tested.state.Branches, tested.document.table,
                                                  tested.document.frequency, circuit.nodes, circuit.zeroNode);
    ExpectAgrees(exported.currents, currents, "export: branch");
    ExpectAgrees(exported.potentials, potentials, "export: node");

    ASSERT_TRUE(session.SolveMesh());
    ExpectAgrees(session.mesh().solution.branchCurrents, currents, "mesh: branch");
    // The elements' powers add up to the totals: consumed by Z, given by E and J.
    const std::vector<BranchPower> powers = BranchPowers(tested.state.Branches, currents);
    Complex given, consumed;
    for (size_t k = 0; k + 2 < powers.size(); ++k) (powers[k].label[0] == 'Z' ? consumed : given) += powers[k].power;
    ExpectAgrees({given, consumed}, {powers.end()[-2].power, powers.end()[-1].power}, "power totals");
    ExpectAgrees({given}, {consumed}, "power balance");
    ASSERT_TRUE(session.SolveNodes(NodePotentialMethod, circuit.zeroNode));
    ExpectAgrees(session.nodes().solution.Currents, currents, "nodal: branch");
    ExpectAgrees(session.nodes().solution.Potentials, potentials, "nodal: node");
    if (circuit.junctions) {
      ASSERT_TRUE(session.SolveNodes(OptimalNodePotentialMethod, circuit.zeroNode));
      ExpectAgrees(session.nodes().solution.Currents, currents, "optimal: branch");
    } else {
      try {
        session.SolveNodes(OptimalNodePotentialMethod, circuit.zeroNode);
        ADD_FAILURE() << "the optimal method solved a circuit without junctions";
      } catch (const CircuitRefusal& refusal) {
        EXPECT_STREQ(refusal.what(), kOptimalNeedsJunctionText);
      }
    }
  }
}

// What a student reads for a current source and for parallel branches.
TEST_F(ExtendedCircuits, WindowsNameParallelBranchesAndShowGivenLoopCurrents) {
  const Textbook& source = Circuits()[2];
  CircuitSession session(working_, Results());
  session.Edit(DocumentOf(TableOf(source), source.frequency, source.unit, "3", true));
  ASSERT_TRUE(session.Test().passed);
  ASSERT_TRUE(session.SolveMesh());
  // Each loop names the parallel branch it takes.
  EXPECT_EQ(session.meshTexts().loops.lines,
            (std::vector<std::string>{"1)   1->2_2  2->1_3  ", "2)   2->1_2  1->3  3->2  ", "3)   2->1_2  1->2  "}));
  const std::vector<std::string>& loops = session.meshTexts().loopCurrents.lines;
  ASSERT_EQ(loops.size(), 3u);
  EXPECT_EQ(loops.back(), "I33 = 1.5 ∠ 60° (задан источником тока J)");
  // The system solved is the two loops whose currents are unknown.
  EXPECT_EQ(session.meshTexts().impedanceMatrix.rows, 2);
  const std::vector<std::string>& currents = session.meshTexts().branchCurrents.lines;
  EXPECT_EQ(currents[0].rfind("I12 = ", 0), 0u);
  EXPECT_EQ(currents[1].rfind("I21_2 = ", 0), 0u);
  EXPECT_EQ(currents[2].rfind("I21_3 = ", 0), 0u);
  const std::vector<std::string>& power = session.meshTexts().powerBalance.lines;
  ASSERT_EQ(power.size(), 3u);
  EXPECT_EQ(power[2].rfind("UJ12 = ", 0), 0u);
}

TEST_F(ExtendedCircuits, CurrentSourcesThatAloneJoinTwoPartsAreRefusedByName) {
  // Node 3 hangs on two current sources; nodes 1 and 2 form a loop of their own.
  const BranchTable table = {
      {"1->2", "5"}, {"2->1", "7"}, {"2->3", "", "", "", "", "", "1", ""}, {"3->1", "", "", "", "", "", "1", ""}};
  CircuitSession session(working_, Results());
  session.Edit(DocumentOf(table, "50", 0, "1", true));
  const CircuitCheckOutcome outcome = session.Test();
  EXPECT_FALSE(outcome.passed);
  EXPECT_EQ(CircuitFaultLine(outcome.fault),
            "Источники тока в ветвях 3 (2->3) и 4 (3->1) образуют сечение: без них цепь распадается на части, и их "
            "токи нельзя задать независимо. Добавьте ветвь с сопротивлением между этими частями.");
}

// Extended circuits are an addition: a table that uses none of it reads,
// writes and solves byte for byte as before with the item on.
TEST_F(ExtendedCircuits, AClassicTableGivesTheSameTextsAndFilesWithTheItemOn) {
  const BranchTable table = {{"1->2", "10", "", "", "100", "0"},
                             {"2->3", "3", "20"},
                             {"3->1", "2", "", "100"},
                             {"2->4", "5"},
                             {"4->3", "7", "", "", "20", "45"}};
  EXPECT_FALSE(UsesExtendedFeatures(table));
  EXPECT_EQ(BranchTableFileText(table).substr(0, 2), "5\n");
  std::vector<std::string> seen[2];
  for (bool extended : {false, true}) {
    ScratchResults dir;
    CircuitState state;
    CircuitSession session(state, dir.Results());
    session.Edit(DocumentOf(table, "50", 0, "3", extended));
    ASSERT_TRUE(session.Test().passed);
    ASSERT_TRUE(session.SolveMesh());
    ASSERT_TRUE(session.SolveNodes(NodePotentialMethod, 3));
    std::vector<std::string>& texts = seen[extended];
    texts = session.meshTexts().loops.lines;
    for (const auto* memo : {&session.meshTexts().loopCurrents, &session.meshTexts().branchCurrents,
                             &session.nodeTexts().potentials, &session.nodeTexts().powerBalance})
      texts.insert(texts.end(), memo->lines.begin(), memo->lines.end());
    ASSERT_TRUE(session.SolveNodes(OptimalNodePotentialMethod, 3));
    texts.insert(texts.end(), session.nodeTexts().branchCurrents.lines.begin(),
                 session.nodeTexts().branchCurrents.lines.end());
    for (const char* file : {"out.txt", "adjTable.txt", "Currents.txt", "Potential.txt"})
      texts.push_back(dir.Bytes(file));
  }
  EXPECT_EQ(seen[0], seen[1]);
}

TEST(ExtendedTableFile, MarkedCountAndEightFieldsReadBackToTheSameGrid) {
  for (const Textbook& circuit : Circuits()) {
    SCOPED_TRACE(circuit.what);
    const BranchTable table = TableOf(circuit);
    // One loop alone needs no new column: its file is the classic one.
    const bool marked = circuit.junctions;
    EXPECT_EQ(UsesExtendedFeatures(table), marked);
    const std::string text = BranchTableFileText(table);
    EXPECT_EQ(text.substr(0, text.find('\n')), std::to_string(table.size()) + (marked ? "J" : ""));
    const BranchFileReading reading = ParseBranchTableText(text);
    ASSERT_TRUE(reading.ok());
    EXPECT_EQ(reading.extended, marked);
    EXPECT_EQ(reading.table, table);
  }
}

}  // namespace
}  // namespace ohmara
