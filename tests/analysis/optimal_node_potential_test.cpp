#include "analysis/optimal_node_potential.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/nodal_circuits.h"
#include "model/errors.h"

namespace ohmara {
namespace {

// The out.txt section of the worked example with zero node 3.
std::string WorkedExampleSection() {
  return SectionHeading("Метод узловых потенциалов (оптимальный)") +
         "\nПотенциалы\n"
         "U1=-3.33333+0.00000i\t\t\n"
         "U3=0.00000+0.00000i\t\t\n"
         "\nТоки:\n" +
         WorkedExampleFileCurrents();
}

TEST(OptimalNodePotentialMethod, WorkedExample) {
  CircuitState state = WorkedExample();
  NodalRun run;
  ASSERT_TRUE(run.Run(OptimalNodePotentialMethod, state, 3));
  EXPECT_EQ(run.window.branchValues.lines,
            (Lines{"Y13 =  0.5", "Y*E13 =  0", "Y123 =  0.5", "Y*E123 =  5", "Y341 =  0.5", "Y*E341 =  0"}));
  EXPECT_EQ(run.window.admittanceMatrix.rows, 1);
  EXPECT_EQ(run.window.admittanceMatrix.cols, 1);
  EXPECT_EQ(run.window.sourceCurrentColumn.rows, 1);
  EXPECT_EQ(run.window.admittanceMatrix.widths, (std::map<int, int>{{0, 100}}));
  EXPECT_EQ(run.window.sourceCurrentColumn.widths, (std::map<int, int>{{0, 110}}));
  EXPECT_EQ(run.window.admittanceMatrix.Cell(0, 0), " 1.5");
  EXPECT_EQ(run.window.sourceCurrentColumn.Cell(0, 0), "-5");
  EXPECT_EQ(run.window.potentials.lines, (Lines{"u1 = -3.3333", "u3 =  0"}));
  EXPECT_EQ(run.window.branchCurrents.lines, WorkedExampleCurrentLines());
  EXPECT_EQ(run.window.powerBalance.lines, WorkedExamplePowerLines());
  EXPECT_EQ(run.files.Text("out.txt"), WorkedExampleSection());

  EXPECT_EQ(run.solution.Nodes, (std::vector<int>{1, 3}));
  EXPECT_NEAR(run.solution.Potentials[0].re, -10.0 / 3.0, 1e-12);
  EXPECT_EQ(run.solution.Potentials[1], Complex());
  EXPECT_NEAR(run.solution.SourcePower.re, 100.0 / 3.0, 1e-12);
  EXPECT_NEAR(run.solution.ConsumedPower.re, 100.0 / 3.0, 1e-12);
}

TEST(OptimalNodePotentialMethod, ZeroNodeIsListedLast) {
  CircuitState state = WorkedExample();
  NodalRun run;
  ASSERT_TRUE(run.Run(OptimalNodePotentialMethod, state, 1));
  EXPECT_EQ(run.window.potentials.lines, (Lines{"u3 =  3.3333", "u1 =  0"}));
  EXPECT_NE(run.files.Text("out.txt").find("\nПотенциалы\nU3=3.33333+0.00000i\t\t\nU1=0.00000+0.00000i\t\t\n\nТоки:\n"),
            std::string::npos);
}

TEST(BuildChains, FoldsSeriesBranchesInTableOrder) {
  struct ExpectedChain {
    int from, to;
    std::string label;
    Complex z, e;
  };
  struct Case {
    const char* what;
    CircuitState state;
    std::vector<ExpectedChain> chains;
    std::vector<int> grouped;
  };
  const Case cases[] = {
      {"worked example",
       WorkedExample(),
       {{1, 3, "123", {2, 0}, {10, 0}}, {3, 1, "341", {2, 0}, {0, 0}}},
       {1, 1, 1, 1, 0}},
      // The chain still starts at 3, the real end of its first branch 4->3.
      {"branch 4->3",
       WorkedExample(true),
       {{1, 3, "123", {2, 0}, {10, 0}}, {3, 1, "341", {2, 0}, {0, 0}}},
       {1, 1, 1, 1, 0}},
      {"source against the chain",
       HandCircuit({{1, 2, {1, 0}, {}},
                    {2, 3, {1, 0}, {}},
                    {4, 3, {1, 0}, {6, 0}},
                    {4, 1, {0, 1}, {2, 0}},
                    {1, 3, {2, 0}, {}}}),
       {{1, 3, "123", {2, 0}, {0, 0}}, {3, 1, "341", {1, 1}, {-4, 0}}},
       {1, 1, 1, 1, 0}},
      {"inner points ascending",
       ChainThroughFive({5, 2, {1, 0}, {}}),
       {{1, 3, "1253", {3, 0}, {0, 0}}, {3, 1, "341", {2, 0}, {0, 0}}},
       {1, 1, 1, 0, 1, 1}},
      // The first branch's real end is its To: the chain starts there.
      {"first branch points into the junction",
       HandCircuit(
           {{2, 1, {1, 0}, {3, 0}}, {2, 3, {1, 0}, {}}, {3, 4, {1, 0}, {}}, {4, 1, {1, 0}, {}}, {1, 3, {2, 0}, {}}}),
       {{1, 3, "123", {2, 0}, {-3, 0}}, {3, 1, "341", {2, 0}, {0, 0}}},
       {1, 1, 1, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CircuitState state = c.state;
    const std::vector<Chain> chains = BuildChains(state);
    ASSERT_EQ(chains.size(), c.chains.size()) << c.what;
    for (size_t i = 0; i < chains.size(); ++i) {
      EXPECT_EQ(chains[i].From, c.chains[i].from) << c.what << " chain " << i;
      EXPECT_EQ(chains[i].To, c.chains[i].to) << c.what << " chain " << i;
      EXPECT_EQ(ChainLabel(chains[i]), c.chains[i].label) << c.what << " chain " << i;
      EXPECT_EQ(chains[i].Z, c.chains[i].z) << c.what << " chain " << i;
      EXPECT_EQ(chains[i].E, c.chains[i].e) << c.what << " chain " << i;
    }
    // A branch lies in a chain when one of its ends is an inner point of it.
    for (size_t k = 0; k < c.grouped.size(); ++k) {
      const CircuitBranch& branch = state.Branches[k];
      int grouped = 0;
      for (const Chain& chain : chains) grouped |= chain.Inner.contains(branch.From) || chain.Inner.contains(branch.To);
      EXPECT_EQ(grouped, c.grouped[k]) << c.what << " branch " << k;
    }
  }
}

TEST(OptimalNodePotentialMethod, EachBranchTakesTheChainCurrentWithItsOwnSign) {
  struct Case {
    const char* what;
    CircuitState state;
    Lines currents;
  };
  const Case cases[] = {
      {"branch 4->3 against its chain",
       WorkedExample(true),
       {"I12 =  3.3333", "I23 =  3.3333", "I43 = -1.6667", "I41 =  1.6667", "I13 = -1.6667"}},
      {"first branch 2->1 against its chain",
       HandCircuit(
           {{2, 1, {1, 0}, {-10, 0}}, {2, 3, {1, 0}, {}}, {3, 4, {1, 0}, {}}, {4, 1, {1, 0}, {}}, {1, 3, {2, 0}, {}}}),
       {"I21 = -3.3333", "I23 =  3.3333", "I34 =  1.6667", "I41 =  1.6667", "I13 = -1.6667"}},
      {"source-only branch inside a chain",
       ChainThroughFive({5, 2, {0, 0}, {5, 0}}),
       {"I15 =  1.6667", "I52 =  1.6667", "I23 =  1.6667", "I13 = -0.8333", "I34 =  0.8333", "I41 =  0.8333"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CircuitState state = c.state;
    NodalRun run;
    ASSERT_TRUE(run.Run(OptimalNodePotentialMethod, state, 3)) << c.what;
    EXPECT_EQ(run.window.branchCurrents.lines, c.currents) << c.what;
    EXPECT_NEAR(run.solution.SourcePower.re, run.solution.ConsumedPower.re, 1e-12) << c.what;
  }
}

TEST(OptimalNodePotentialMethod, SourceOnlyBranchIsHarmlessInsideAChain) {
  CircuitState state = ChainThroughFive({5, 2, {0, 0}, {5, 0}});
  NodalRun run;
  ASSERT_TRUE(run.Run(OptimalNodePotentialMethod, state, 3));
  EXPECT_EQ(run.window.branchValues.lines,
            (Lines{"Y13 =  0.5", "Y*E13 =  0", "Y1253 =  0.5", "Y*E1253 =  2.5", "Y341 =  0.5", "Y*E341 =  0"}));
  EXPECT_EQ(run.window.potentials.lines, (Lines{"u1 = -1.6667", "u3 =  0"}));
  EXPECT_EQ(run.window.powerBalance.lines, (Lines{"Мощность источников =  8.3333", "Потребляемая мощность =  8.3333"}));
}

TEST(OptimalNodePotentialMethod, ZeroImpedanceOfADirectBranchOrAWholeChainStopsTheRun) {
  struct Case {
    const char* what;
    CircuitState state;
    std::string quantity;
    Lines shownBefore;
  };
  const Case cases[] = {
      {"direct branch",
       HandCircuit({{1, 2, {1, 0}, {10, 0}},
                    {2, 3, {1, 0}, {}},
                    {3, 4, {1, 0}, {}},
                    {4, 1, {1, 0}, {}},
                    {1, 3, {0, 0}, {4, 0}}}),
       "Y13",
       {}},
      // An inductance and a capacitance that cancel exactly.
      {"whole chain",
       HandCircuit(
           {{1, 2, {0, 5}, {10, 0}}, {2, 3, {0, -5}, {}}, {3, 4, {1, 0}, {}}, {4, 1, {1, 0}, {}}, {1, 3, {2, 0}, {}}}),
       "Y123",
       {"Y13 =  0.5", "Y*E13 =  0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CircuitState state = c.state;
    NodalRun run;
    run.window.potentials.lines = {"earlier"};
    run.window.branchCurrents.lines = {"earlier"};
    try {
      run.Run(OptimalNodePotentialMethod, state, 3);
      ADD_FAILURE() << c.what << ": no division error";
    } catch (const DivisionByZero& error) {
      EXPECT_EQ(error.Quantity(), c.quantity) << c.what;
    }
    EXPECT_EQ(run.window.branchValues.lines, c.shownBefore) << c.what;
    EXPECT_TRUE(run.window.potentials.lines.empty()) << c.what;
    EXPECT_TRUE(run.window.branchCurrents.lines.empty()) << c.what;
    EXPECT_FALSE(run.files.Exists("out.txt")) << c.what;
    EXPECT_FALSE(run.files.Exists("Potential.txt")) << c.what;
  }
}

// The complete graph on 1..4, every branch 1 ohm.
std::vector<HandBranch> CompleteFour() {
  return {{1, 2, {1, 0}, {10, 0}}, {1, 3, {1, 0}, {}}, {1, 4, {1, 0}, {}},
          {2, 3, {1, 0}, {}},      {2, 4, {1, 0}, {}}, {3, 4, {1, 0}, {}}};
}

std::vector<HandBranch> With(std::vector<HandBranch> branches, const std::vector<HandBranch>& more) {
  branches.insert(branches.end(), more.begin(), more.end());
  return branches;
}

TEST(OptimalNodePotentialMethod, RefusesShapesWithoutTwoDistinctChainEnds) {
  struct Case {
    const char* what;
    std::vector<HandBranch> branches;
    int z;
    int node;
  };
  const Case cases[] = {
      {"ring at a junction", With(CompleteFour(), {{1, 5, {1, 0}, {}}, {5, 6, {1, 0}, {}}, {6, 1, {1, 0}, {}}}), 2, 1},
      {"ring at the zero node", With(CompleteFour(), {{1, 5, {1, 0}, {}}, {5, 6, {1, 0}, {}}, {6, 1, {1, 0}, {}}}), 1,
       1},
      {"ring written backwards", With(CompleteFour(), {{6, 4, {1, 0}, {}}, {5, 6, {1, 0}, {}}, {4, 5, {1, 0}, {}}}), 1,
       4},
      {"dangling branch", With(CompleteFour(), {{1, 5, {1, 0}, {}}}), 2, 5},
      {"a piece without junctions", With(CompleteFour(), {{5, 6, {1, 0}, {}}, {6, 7, {1, 0}, {}}, {7, 5, {1, 0}, {}}}),
       1, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CircuitState state = HandCircuit(c.branches);
    NodalRun run;
    run.window.potentials.lines = {"earlier"};
    run.window.branchValues.lines = {"earlier"};
    try {
      run.Run(OptimalNodePotentialMethod, state, c.z);
      ADD_FAILURE() << c.what << ": not refused";
    } catch (const UnsolvableCircuit& error) {
      EXPECT_EQ(error.Node(), c.node) << c.what;
      EXPECT_NE(std::string(error.what()).find(std::to_string(c.node)), std::string::npos) << error.what();
    }
    EXPECT_EQ(run.window.potentials.lines, Lines{"earlier"}) << c.what;
    EXPECT_EQ(run.window.branchValues.lines, Lines{"earlier"}) << c.what;
    EXPECT_FALSE(run.files.Exists("out.txt")) << c.what;
    EXPECT_FALSE(run.files.Exists("Potential.txt")) << c.what;
  }
}

}  // namespace
}  // namespace ohmara
