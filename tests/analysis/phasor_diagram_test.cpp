// Readouts and phasor diagrams drawn from the numbers a method hands back.

#include "analysis/phasor_diagram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/mesh_current.h"
#include "analysis/table_circuits.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

double Distance(ViewPoint a, ViewPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The circuit solved by loop currents, as the diagram window gets it.
MeshSolution SolvedByLoops(const TableCircuit& circuit, CircuitState& state, MeshTexts& texts) {
  ScratchResults dir;
  EXPECT_TRUE(Tested(circuit, state, dir.Results())) << circuit.what;
  MeshViews views = texts.Views();
  MeshSolution solution;
  EXPECT_TRUE(MeshCurrentMethod(state, dir.Results(), views, solution)) << circuit.what;
  return solution;
}

TableCircuit FiveBranches() {
  return {"five branches, two loops",
          {Row("1->2", "1", "", "", "10", "0"), Row("2->3", "1", "", "", "", ""), Row("3->1", "1", "", "", "", ""),
           Row("2->4", "1", "", "", "", ""), Row("4->3", "1", "", "", "", "")},
          {"15", 0}};
}

// The currents 3.75, 2.5, 3.75, 1.25, 1.25 A all lie on the real axis.
TEST(PhasorDiagram, FiveBranchExample) {
  CircuitState state;
  MeshTexts texts;
  const MeshSolution solution = SolvedByLoops(FiveBranches(), state, texts);

  const std::vector<LabelledPhasor> currents = BranchCurrentPhasors(state.Branches, solution.branchCurrents);
  EXPECT_EQ(PolarLines(currents), (std::vector<std::string>{"I12 = 3.75 ∠ 0°", "I23 = 2.5 ∠ 0°", "I31 = 3.75 ∠ 0°",
                                                            "I24 = 1.25 ∠ 0°", "I43 = 1.25 ∠ 0°"}));
  EXPECT_EQ(PolarLines(LoopCurrentPhasors(solution.loopCurrents)),
            (std::vector<std::string>{"I11 = 3.75 ∠ 0°", "I22 = 1.25 ∠ 0°"}));
  // The readouts name the values as the memos do.
  ASSERT_EQ(texts.loopCurrents.lines.size(), 2u);
  EXPECT_EQ(texts.loopCurrents.lines[1].substr(0, 6), "I22 = ");

  // 400 x 300 less a margin of 20: the longest arrow, 3.75 A, is 130 px long.
  const PhasorDiagram diagram = LayOutPhasors(currents, {400, 300}, ArrowLength::Linear, 20);
  const double scale = 130 / 3.75;
  EXPECT_NEAR(diagram.scale, scale, 1e-12);
  ASSERT_EQ(diagram.arrows.size(), 5u);
  for (size_t k = 0; k < 5; ++k) {
    SCOPED_TRACE(currents[k].label);
    EXPECT_EQ(diagram.arrows[k].label, currents[k].label);
    EXPECT_LE(Distance(diagram.arrows[k].tail, {200, 150}), 1e-12);
    EXPECT_LE(Distance(diagram.arrows[k].tip, {200 + solution.branchCurrents[k].re * scale, 150}), 1e-9);
  }
  EXPECT_NEAR(diagram.arrows[0].tip.x, 330, 1e-9);
  EXPECT_EQ(diagram.gridStep, 1.0);
  EXPECT_NEAR(diagram.gridStepPixels, scale, 1e-12);
  EXPECT_EQ(diagram.scaleBarValue, 2.0);  // a quarter of the width is 2.88 A

  // Node 2: 1->2 enters, 2->3 and 2->4 leave.
  const NodeBalance balance = KirchhoffAtNode(2, state.Branches, solution.branchCurrents);
  ASSERT_EQ(balance.terms.size(), 3u);
  EXPECT_EQ(balance.terms[0].label, "I12");
  EXPECT_EQ(balance.terms[1].label, "-I23");
  EXPECT_EQ(balance.terms[2].label, "-I24");
  ASSERT_EQ(balance.vertices.size(), 4u);
  EXPECT_NEAR(balance.vertices[1].re, 3.75, 1e-12);
  EXPECT_NEAR(balance.vertices[2].re, 1.25, 1e-12);
  EXPECT_LE(std::hypot(balance.vertices[3].re, balance.vertices[3].im), 1e-12);

  const PhasorDiagram polygon = LayOutNodeBalance(balance, {400, 300}, 20);
  ASSERT_EQ(polygon.arrows.size(), 3u);
  EXPECT_LE(Distance(polygon.arrows[0].tail, polygon.origin), 1e-12);
  EXPECT_NEAR(polygon.arrows[0].tip.x, 330, 1e-9);
  for (size_t i = 1; i < 3; ++i) EXPECT_LE(Distance(polygon.arrows[i].tail, polygon.arrows[i - 1].tip), 1e-12);
  EXPECT_LE(Distance(polygon.arrows[2].tip, polygon.origin), 1e-9);
}

// Complex currents at every node: each branch at the node is taken once with
// the sign of its direction, so the polygon closes.
TEST(PhasorDiagram, EveryNodePolygonCloses) {
  for (const TableCircuit& circuit : {RlcWithPhases(), CompleteGraphAtMegahertz()}) {
    CircuitState state;
    MeshTexts texts;
    const MeshSolution solution = SolvedByLoops(circuit, state, texts);
    for (int node = 1; node <= state.NodeCount; ++node) {
      SCOPED_TRACE(circuit.what + ", node " + std::to_string(node));
      const NodeBalance balance = KirchhoffAtNode(node, state.Branches, solution.branchCurrents);
      int degree = 0;
      for (const CircuitBranch& branch : state.Branches) degree += branch.From == node || branch.To == node;
      EXPECT_EQ(static_cast<int>(balance.terms.size()), degree);
      double largest = 0.0;
      for (const LabelledPhasor& term : balance.terms)
        largest = std::max(largest, std::hypot(term.value.re, term.value.im));
      const Complex closure = balance.vertices.back();
      EXPECT_LE(std::hypot(closure.re, closure.im), 1e-9 * largest);
      const PhasorDiagram polygon = LayOutNodeBalance(balance, {500, 500});
      EXPECT_LE(Distance(polygon.arrows.back().tip, polygon.origin), 1e-6);
    }
  }
}

// 100, 1 and 0.01 span four decades: five, three and one decade long, each
// in its own direction; a zero value stays at the origin.
TEST(PhasorDiagram, LogarithmicLengthsKeepDirection) {
  const std::vector<LabelledPhasor> phasors = {{"a", {100, 0}}, {"b", {0, 1}}, {"c", {-0.01, 0}}, {"d", {0, 0}}};
  const PhasorDiagram log = LayOutPhasors(phasors, {200, 240}, ArrowLength::Logarithmic, 0);
  EXPECT_NEAR(log.scale, 20, 1e-12);  // 100 px for 5 decades
  EXPECT_EQ(log.smallestMagnitude, 0.01);
  EXPECT_NEAR(log.gridStepPixels, 20, 1e-12);
  EXPECT_EQ(log.scaleBarValue, 10.0);
  const ViewPoint tips[] = {{200, 120}, {100, 60}, {80, 120}, {100, 120}};
  for (size_t k = 0; k < 4; ++k) EXPECT_LE(Distance(log.arrows[k].tip, tips[k]), 1e-9) << phasors[k].label;

  const PhasorDiagram linear = LayOutPhasors(phasors, {200, 240}, ArrowLength::Linear, 0);
  EXPECT_LE(Distance(linear.arrows[2].tip, {99.99, 120}), 1e-9);
  EXPECT_EQ(linear.smallestMagnitude, 0.0);

  const PhasorDiagram zero = LayOutPhasors({{"d", {0, 0}}}, {200, 240});
  EXPECT_GT(zero.scale, 0.0);
  EXPECT_LE(Distance(zero.arrows[0].tip, zero.origin), 0.0);
}

// Round-off beside real currents counts as zero on both scales: no arrow, no
// direction, not the shortest arrow of the logarithmic scale, and "0" in the
// polar readout, as the memo shows it. A small current that is real stays.
TEST(PhasorDiagram, RoundOffCountsAsZero) {
  const std::vector<LabelledPhasor> phasors = {
      {"I12", {2.0, 0.0}}, {"I23", {1.8e-16, 2.6e-16}}, {"I34", {0.0, -0.002}}, {"I41", {0.0, 0.0}}};
  for (ArrowLength length : {ArrowLength::Linear, ArrowLength::Logarithmic}) {
    SCOPED_TRACE(static_cast<int>(length));
    const PhasorDiagram diagram = LayOutPhasors(phasors, {400, 400}, length);
    for (size_t k = 0; k < phasors.size(); ++k) {
      const PhasorArrow& arrow = diagram.arrows[k];
      SCOPED_TRACE(arrow.label);
      const bool zero = k == 1 || k == 3;
      EXPECT_EQ(arrow.zero, zero);
      if (zero) {
        EXPECT_EQ(arrow.tip.x, diagram.origin.x);
        EXPECT_EQ(arrow.tip.y, diagram.origin.y);
      } else {
        EXPECT_GT(std::hypot(arrow.tip.x - arrow.tail.x, arrow.tip.y - arrow.tail.y), 0.0);
      }
    }
    if (length == ArrowLength::Logarithmic) {
      EXPECT_EQ(diagram.smallestMagnitude, 0.002);
      EXPECT_NEAR(diagram.arrows[0].tip.x - diagram.origin.x, 4 * diagram.scale, 1e-9);  // 1 + 3 decades
    }
  }
  EXPECT_EQ(PolarLines(phasors),
            (std::vector<std::string>{"I12 = 2 ∠ 0°", "I23 = 0 ∠ 0°", "I34 = 0.002 ∠ -90°", "I41 = 0 ∠ 0°"}));
}

TEST(PhasorDiagram, NiceNumbers) {
  const struct {
    double value, atLeast, atMost;
  } rows[] = {
      {1, 1, 1},     {0.75, 1, 0.5},        {1.01, 2, 1},          {2.5, 5, 2},
      {7, 10, 5},    {0.003, 0.005, 0.002}, {0.001, 0.001, 0.001}, {12, 20, 10},
      {9.99, 10, 5}, {1000, 1000, 1000},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value);
    EXPECT_DOUBLE_EQ(NiceAtLeast(row.value), row.atLeast);
    EXPECT_DOUBLE_EQ(NiceAtMost(row.value), row.atMost);
  }
  EXPECT_THROW(NiceAtLeast(0), std::invalid_argument);
}

}  // namespace
}  // namespace ohmara
