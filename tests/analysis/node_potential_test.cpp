#include "analysis/node_potential.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/nodal_circuits.h"
#include "analysis/optimal_node_potential.h"
#include "model/errors.h"
#include "model/text_format.h"

namespace ohmara {
namespace {

// The out.txt section of the worked example with zero node 3.
std::string WorkedExampleSection() {
  return SectionHeading("Метод узловых потенциалов (не оптимальный)") +
         "\n\nПотенциалы:\n"
         "U1=-3.33333+0.00000i\t\t\n"
         "U2=3.33333+0.00000i\t\t\n"
         "U3=0.00000+0.00000i\t\t\n"
         "U4=-1.66667+0.00000i\t\t\n"
         "\n\nТоки:\n" +
         WorkedExampleFileCurrents();
}

void ExpectNear(Complex actual, Complex expected, const std::string& what) {
  EXPECT_NEAR(actual.re, expected.re, 1e-12) << what;
  EXPECT_NEAR(actual.im, expected.im, 1e-12) << what;
}

TEST(NodePotentialMethod, WorkedExampleWindow) {
  CircuitState state = WorkedExample();
  NodalRun run;
  ASSERT_TRUE(run.Run(NodePotentialMethod, state, 3));
  const NodeTexts& window = run.window;

  EXPECT_EQ(window.branchValues.lines, (Lines{"Y12 =  1", "E*Y12 = 10", "Y23 =  1", "E*Y23 =  0", "Y34 =  1",
                                              "E*Y34 =  0", "Y41 =  1", "E*Y41 =  0", "Y13 =  0.5", "E*Y13 =  0"}));
  // Rows and columns are the nodes 1, 2, 4; nodes 2 and 4 share no branch.
  EXPECT_EQ(window.admittanceMatrix.rows, 3);
  EXPECT_EQ(window.admittanceMatrix.cols, 3);
  EXPECT_EQ(window.sourceCurrentColumn.rows, 3);
  EXPECT_EQ(window.admittanceMatrix.widths, (std::map<int, int>{{0, 100}, {1, 100}, {2, 100}}));
  EXPECT_EQ(window.sourceCurrentColumn.widths, (std::map<int, int>{{0, 110}}));
  const Lines matrix[] = {{" 2.5", "-1", "-1"}, {"-1", " 2", " 0"}, {"-1", " 0", " 2"}};
  const Lines column = {"-10", "10", " 0"};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) EXPECT_EQ(window.admittanceMatrix.Cell(c, r), matrix[r][c]) << r << "," << c;
    EXPECT_EQ(window.sourceCurrentColumn.Cell(0, r), column[r]) << r;
  }
  EXPECT_EQ(window.potentials.lines, (Lines{"u1 = -3.3333", "u2 =  3.3333", "u3 =  0", "u4 = -1.6667"}));
  EXPECT_EQ(window.branchCurrents.lines, WorkedExampleCurrentLines());
  EXPECT_EQ(window.powerBalance.lines, WorkedExamplePowerLines());
}

TEST(NodePotentialMethod, WorkedExampleFilesAndNumbers) {
  CircuitState state = WorkedExample();
  NodalRun run;
  ASSERT_TRUE(run.Run(NodePotentialMethod, state, 3));
  const NodalSolution& solution = run.solution;

  EXPECT_EQ(run.files.Text("out.txt"), WorkedExampleSection());
  // The trace starts with the assembled system, the right-hand side last;
  // a missing branch is -0 - 0i, and a mutual entry -y has the imaginary
  // part -0, which takes the "+" form and prints as printf prints it.
  const std::string trace = run.files.Text("Potential.txt");
  EXPECT_EQ(trace.substr(0, trace.find("\n\n") + 1),
            " 2.500+0.000i\t-1.000+-0.000i\t-1.000+-0.000i\t-10.000+0.000i\t\n"
            "-1.000+-0.000i\t 2.000+0.000i\t-0.000+-0.000i\t10.000+0.000i\t\n"
            "-1.000+-0.000i\t-0.000+-0.000i\t 2.000+0.000i\t 0.000+0.000i\t\n");

  const double third = 10.0 / 3.0, sixth = 5.0 / 3.0;
  EXPECT_EQ(solution.Nodes, (std::vector<int>{1, 2, 3, 4}));
  const Complex potentials[] = {{-third, 0}, {third, 0}, {0, 0}, {-sixth, 0}};
  const Complex currents[] = {{third, 0}, {third, 0}, {sixth, 0}, {sixth, 0}, {-sixth, 0}};
  ASSERT_EQ(solution.Potentials.size(), 4u);
  ASSERT_EQ(solution.Currents.size(), 5u);
  for (int k = 0; k < 4; ++k) ExpectNear(solution.Potentials[k], potentials[k], Format("u%d", k + 1));
  for (int k = 0; k < 5; ++k) ExpectNear(solution.Currents[k], currents[k], Format("branch %d", k + 1));
  ExpectNear(solution.SourcePower, {100.0 / 3.0, 0}, "source power");
  ExpectNear(solution.ConsumedPower, {100.0 / 3.0, 0}, "consumed power");
}

TEST(NodePotentialMethod, ZeroNodeStandsInItsPlace) {
  struct Case {
    int z;
    Lines potentials;
  };
  const Case cases[] = {
      {1, {"u1 =  0", "u2 =  6.6667", "u3 =  3.3333", "u4 =  1.6667"}},
      {2, {"u1 = -6.6667", "u2 =  0", "u3 = -3.3333", "u4 = -5"}},
      {4, {"u1 = -1.6667", "u2 =  5", "u3 =  1.6667", "u4 =  0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
    CircuitState state = WorkedExample();
    NodalRun run;
    ASSERT_TRUE(run.Run(NodePotentialMethod, state, c.z)) << c.z;
    EXPECT_EQ(run.window.potentials.lines, c.potentials) << c.z;
    EXPECT_EQ(run.window.admittanceMatrix.rows, 3) << c.z;
    // The currents do not depend on which node is grounded.
    EXPECT_EQ(run.window.branchCurrents.lines, WorkedExampleCurrentLines()) << c.z;
  }
}

TEST(NodePotentialMethod, BranchWithoutImpedanceStopsAtItsAdmittance) {
  // 5->2 carries only a source; the branches before it are already shown.
  CircuitState state = ChainThroughFive({5, 2, {0, 0}, {5, 0}});
  NodalRun run;
  NodeTexts& window = run.window;
  window.branchCurrents.lines = {"earlier"};
  window.powerBalance.lines = {"earlier"};
  window.potentials.lines = {"earlier"};
  try {
    run.Run(NodePotentialMethod, state, 3);
    FAIL() << "no division error";
  } catch (const DivisionByZero& error) {
    EXPECT_EQ(error.Quantity(), "Y52");
  }
  EXPECT_EQ(window.branchValues.lines, (Lines{"Y15 =  1", "E*Y15 =  0"}));
  EXPECT_TRUE(window.potentials.lines.empty());
  EXPECT_TRUE(window.branchCurrents.lines.empty());
  EXPECT_TRUE(window.powerBalance.lines.empty());
  EXPECT_FALSE(run.files.Exists("out.txt"));
  EXPECT_FALSE(run.files.Exists("Potential.txt"));
}

TEST(NodePotentialMethod, NodeNumbersRunTogetherInLabels) {
  // A ring through twelve nodes in which 1->12 and 11->2 both read "112".
  std::vector<HandBranch> branches = {{1, 12, {1, 0}, {12, 0}}, {12, 11, {1, 0}, {}}, {11, 2, {1, 0}, {}}};
  for (int k = 2; k < 10; ++k) branches.push_back({k, k + 1, {1, 0}, {}});
  branches.push_back({10, 1, {1, 0}, {}});
  CircuitState state = HandCircuit(branches);
  NodalRun run;
  ASSERT_TRUE(run.Run(NodePotentialMethod, state, 1));
  const NodeTexts& window = run.window;
  ASSERT_EQ(window.branchValues.lines.size(), 24u);
  EXPECT_EQ(window.branchValues.lines[0], "Y112 =  1");
  EXPECT_EQ(window.branchValues.lines[1], "E*Y112 = 12");
  EXPECT_EQ(window.branchValues.lines[4], "Y112 =  1");
  EXPECT_EQ(window.potentials.lines[11], "u12 = 11");
  // Twelve equal resistors in a ring with 12 V: 1 A everywhere.
  EXPECT_EQ(window.branchCurrents.lines[0], "I112 =  1");
  EXPECT_EQ(window.branchCurrents.lines[2], "I112 =  1");
  EXPECT_NE(run.files.Text("out.txt").find("U12=11.00000+0.00000i\t\t\n\n\nТоки:\nI112=1.00000+0.00000i\t\t\n"),
            std::string::npos);
}

TEST(NodePotentialMethod, TwoNodesGiveOneEquation) {
  CircuitState state = HandCircuit({{1, 2, {2, 0}, {10, 0}}});
  NodalRun run;
  ASSERT_TRUE(run.Run(NodePotentialMethod, state, 2));
  const NodeTexts& window = run.window;
  EXPECT_EQ(window.admittanceMatrix.rows, 1);
  EXPECT_EQ(window.admittanceMatrix.Cell(0, 0), " 0.5");
  EXPECT_EQ(window.sourceCurrentColumn.Cell(0, 0), "-5");
  EXPECT_EQ(window.potentials.lines, (Lines{"u1 = -10", "u2 =  0"}));
  EXPECT_EQ(window.branchCurrents.lines, (Lines{"I12 =  0"}));
}

const struct {
  const char* name;
  NodeMethod method;
} kBothMethods[] = {{"basic", NodePotentialMethod}, {"optimal", OptimalNodePotentialMethod}};

TEST(NodeMethods, DoNothingWithoutATestedCircuitOrAUsableZeroNode) {
  struct Case {
    const char* what;
    CircuitState state;
    int z;
    bool basicRuns;  // node 2 has two neighbours: a zero node for the basic method only
  };
  CircuitState untested = WorkedExample();
  untested.NeedsTest = true;
  CircuitState empty;
  empty.NeedsTest = false;
  const Case cases[] = {
      {"circuit not tested", untested, 3, false},
      {"no branches", empty, 1, false},
      {"zero node 0", WorkedExample(), 0, false},
      {"zero node above NodeCount", WorkedExample(), 5, false},
      {"zero node with two neighbours", WorkedExample(), 2, true},
  };
  for (const auto& method : kBothMethods) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      if (c.basicRuns && method.method == NodePotentialMethod) continue;
      const std::string what = std::string(method.name) + ", " + c.what;
      CircuitState state = c.state;
      NodalRun run;
      run.window.potentials.lines = {"earlier"};
      run.window.branchValues.lines = {"earlier"};
      run.window.admittanceMatrix.rows = 7;
      EXPECT_FALSE(run.Run(method.method, state, c.z)) << what;
      EXPECT_EQ(run.window.potentials.lines, Lines{"earlier"}) << what;
      EXPECT_EQ(run.window.branchValues.lines, Lines{"earlier"}) << what;
      EXPECT_EQ(run.window.admittanceMatrix.rows, 7) << what;
      EXPECT_FALSE(run.files.Exists("out.txt")) << what;
      EXPECT_FALSE(run.files.Exists("Potential.txt")) << what;
    }
  }
}

TEST(NodeMethods, EveryRunAppendsOneSectionAndRefillsTheWindow) {
  for (const auto& method : kBothMethods) {
    CircuitState state = WorkedExample();
    NodalRun run;
    ASSERT_TRUE(run.Run(method.method, state, 3)) << method.name;
    const std::string section = run.files.Text("out.txt");
    const NodeTexts first = run.window;
    ASSERT_TRUE(run.Run(method.method, state, 3)) << method.name;
    EXPECT_EQ(run.files.Text("out.txt"), section + section) << method.name;
    EXPECT_EQ(run.window.branchValues.lines, first.branchValues.lines) << method.name;
    EXPECT_EQ(run.window.potentials.lines, first.potentials.lines) << method.name;
    EXPECT_EQ(run.window.branchCurrents.lines, first.branchCurrents.lines) << method.name;
    EXPECT_EQ(run.window.powerBalance.lines, first.powerBalance.lines) << method.name;
  }
}

// The window and Potential.txt show whichever method ran last.
TEST(NodeMethods, TheLaterMethodOwnsThePotentialTrace) {
  CircuitState state = WorkedExample();
  NodalRun run;
  ASSERT_TRUE(run.Run(NodePotentialMethod, state, 3));
  ASSERT_TRUE(run.Run(OptimalNodePotentialMethod, state, 3));
  EXPECT_EQ(run.files.Text("Potential.txt").substr(0, 30), " 1.500+0.000i\t-5.000+0.000i\t\n\n");
  EXPECT_EQ(run.window.potentials.lines, (Lines{"u1 = -3.3333", "u3 =  0"}));
  EXPECT_EQ(run.window.admittanceMatrix.rows, 1);
}

}  // namespace
}  // namespace ohmara
