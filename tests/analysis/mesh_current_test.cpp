#include "analysis/mesh_current.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/errors.h"
#include "model/text_file.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

using NodePair = std::pair<int, int>;

// The five-branch circuit of two loops the course uses for this method:
// 1->2, 2->3, 3->1, 2->4, 4->3, with the loops the loop search finds for it.
const std::vector<NodePair> kBranches = {{1, 2}, {2, 3}, {3, 1}, {2, 4}, {4, 3}};
const std::vector<std::vector<NodePair>> kLoops = {{{2, 3}, {3, 1}, {1, 2}}, {{4, 3}, {3, 2}, {2, 4}}};

// A loop step as the loop search stores it: the branch copied, reversed
// (ends exchanged, E negated) when the loop travels it backwards.
TBranch Step(const std::vector<TBranch>& branches, NodePair step) {
  for (const TBranch& branch : branches) {
    if (branch.From == step.first && branch.To == step.second) return branch;
    if (branch.From == step.second && branch.To == step.first) {
      TBranch reversed = branch;
      std::swap(reversed.From, reversed.To);
      reversed.E = reversed.E * -1.0;
      return reversed;
    }
  }
  ADD_FAILURE() << "no branch " << step.first << "->" << step.second;
  return {};
}

CircuitState TestedCircuit(const std::vector<Complex>& z, const std::vector<Complex>& e) {
  CircuitState state;
  for (size_t k = 0; k < kBranches.size(); ++k) {
    TBranch branch;
    branch.From = kBranches[k].first;
    branch.To = kBranches[k].second;
    branch.Z = z[k];
    branch.E = e[k];
    state.Branches.push_back(branch);
  }
  state.NodeCount = 4;
  for (const auto& loop : kLoops) {
    TLoop tloop;
    for (NodePair step : loop) tloop.Steps.push_back(Step(state.Branches, step));
    state.Loops.push_back(tloop);
  }
  state.LoopCapacity = 2;
  state.NeedsTest = false;
  return state;
}

// R = 1 in every branch, 10 V at 0 degrees in 1->2.
CircuitState NumericCheckCircuit() {
  return TestedCircuit(std::vector<Complex>(5, {1, 0}), {{10, 0}, {}, {}, {}, {}});
}

const char kRule[] = "--------------------------------";

std::string NumericCheckSection() {
  return std::string("\n\n") + kRule + "\nМетод контурных токов\n" + kRule + "\n\n" +
         "\n\nТоки:\n"
         "I12=3.75000+0.00000i\t\t\nI23=2.50000+0.00000i\t\t\nI31=3.75000+0.00000i\t\t\n"
         "I24=1.25000+0.00000i\t\t\nI43=1.25000+0.00000i\t\t\n"
         "\n"
         "\nБаланс мощностей\nМощность источников = 37.50000+0.00000i\n"
         "Потребляемая мощность = 37.50000+0.00000i\n";
}

using Lines = std::vector<std::string>;

TEST(MeshCurrentMethod, NumericCheck) {
  TemporaryResults dir;
  ResultsDirectory& results = dir.Results();
  CircuitState state = NumericCheckCircuit();
  CurrFormTexts texts;
  CurrFormViews views = texts.Views();
  ASSERT_TRUE(MeshCurrentMethod(state, results, views));

  EXPECT_EQ(texts.RGrid.rows, 2);
  EXPECT_EQ(texts.RGrid.cols, 2);
  EXPECT_EQ(texts.RGrid.widths, (std::map<int, int>{{0, 100}, {1, 100}}));
  EXPECT_EQ(texts.RGrid.cells, (std::map<std::pair<int, int>, std::string>{
                                   {{0, 0}, " 3"}, {{1, 0}, "-1"}, {{0, 1}, "-1"}, {{1, 1}, " 3"}}));
  EXPECT_EQ(texts.EGrid.rows, 3);
  EXPECT_EQ(texts.EGrid.cols, 1);
  EXPECT_EQ(texts.EGrid.widths, (std::map<int, int>{{0, 110}}));
  EXPECT_EQ(texts.EGrid.cells, (std::map<std::pair<int, int>, std::string>{{{0, 0}, "10"}, {{0, 1}, " 0"}}));
  EXPECT_EQ(texts.ContCurr.lines, (Lines{"I11 =  3.75", "I22 =  1.25"}));
  EXPECT_EQ(texts.CurMemo.lines,
            (Lines{"I12 =  3.75", "I23 =  2.5", "I31 =  3.75", "I24 =  1.25", "I43 =  1.25"}));
  EXPECT_EQ(texts.PowerMemo.lines, (Lines{"Мощность источников = 37.5", "Потребляемая мощность = 37.5"}));
  EXPECT_TRUE(texts.InValMem.lines.empty());
  EXPECT_TRUE(texts.Conts.lines.empty());

  EXPECT_EQ(ReadTextFile(dir.Directory() / "out.txt").value(), NumericCheckSection());
  const std::string trace = ReadTextFile(dir.Directory() / "Currents.txt").value();
  EXPECT_EQ(trace.rfind(" 3.000+0.000i\t-1.000+0.000i\t10.000+0.000i\t\n-1.000+0.000i\t", 0), 0u) << trace;
  EXPECT_TRUE(trace.ends_with("\n\n\n3.750+0.000i\t1.250+0.000i\t\n\n\n")) << trace;
  EXPECT_TRUE(results.TakeFailedFiles().empty());
}

TEST(MeshCurrentMethod, SecondRunAddsAnIdenticalSection) {
  TemporaryResults dir;
  ResultsDirectory& results = dir.Results();
  CircuitState state = NumericCheckCircuit();
  CurrFormTexts texts;
  CurrFormViews views = texts.Views();
  ASSERT_TRUE(MeshCurrentMethod(state, results, views));
  const std::string firstTrace = dir.Bytes("Currents.txt");
  ASSERT_TRUE(MeshCurrentMethod(state, results, views));

  EXPECT_EQ(ReadTextFile(dir.Directory() / "out.txt").value(), NumericCheckSection() + NumericCheckSection());
  EXPECT_EQ(dir.Bytes("Currents.txt"), firstTrace);
  EXPECT_EQ(texts.ContCurr.lines.size(), 2u);
  EXPECT_EQ(texts.CurMemo.lines.size(), 5u);
  EXPECT_EQ(texts.PowerMemo.lines.size(), 2u);
}

// Entries of the loop matrix and source column in terms of the branches:
// each branch gets a distinct value so that a wrong sign or a missed shared
// branch shows.
TEST(MeshCurrentMethod, LoopMatrixFromBranches) {
  const std::vector<Complex> z = {{1, 0}, {0, 2}, {4, 0}, {0, -8}, {16, 0}};
  const std::vector<Complex> e = {{1, 0}, {0, 1}, {0, 0}, {3, 0}, {0, -5}};
  const CircuitState state = TestedCircuit(z, e);
  const Complex z12 = z[0], z23 = z[1], z31 = z[2], z24 = z[3], z43 = z[4];
  const Complex e12 = e[0], e23 = e[1], e31 = e[2], e24 = e[3], e43 = e[4];
  EXPECT_EQ(LoopImpedance(state, 0, 0), z23 + z31 + z12);
  EXPECT_EQ(LoopImpedance(state, 0, 1), Complex() - z23);
  EXPECT_EQ(LoopImpedance(state, 1, 0), Complex() - z23);
  EXPECT_EQ(LoopImpedance(state, 1, 1), z43 + z23 + z24);
  EXPECT_EQ(LoopEmf(state, 0), e23 + e31 + e12);
  EXPECT_EQ(LoopEmf(state, 1), e43 - e23 + e24);
}

TEST(MeshCurrentMethod, DoesNothingWithoutAPassedTest) {
  struct Case {
    const char* what;
    CircuitState state;
  };
  CircuitState untested = NumericCheckCircuit();
  untested.NeedsTest = true;
  CircuitState empty;
  empty.NeedsTest = false;
  const Case cases[] = {{"NeedsTest set", untested}, {"no branches", empty}};
  for (const Case& c : cases) {
    TemporaryResults dir;
    ResultsDirectory results(dir.Directory() / "Results");
    CircuitState state = c.state;
    CurrFormTexts texts;
    texts.ContCurr.Add("earlier");
    CurrFormViews views = texts.Views();
    EXPECT_FALSE(MeshCurrentMethod(state, results, views)) << c.what;
    EXPECT_EQ(texts.ContCurr.lines, Lines{"earlier"}) << c.what;
    EXPECT_TRUE(texts.RGrid.cells.empty() && texts.RGrid.rows == 0) << c.what;
    EXPECT_FALSE(dir.Exists("Results")) << c.what;
  }
}

// A loop whose branches have no impedance at all leaves a zero column in the
// loop matrix.
TEST(MeshCurrentMethod, ZeroImpedanceLoopIsSingular) {
  TemporaryResults dir;
  ResultsDirectory& results = dir.Results();
  results.Append("out.txt", "test lines\n");
  CircuitState state = TestedCircuit({{0, 0}, {0, 0}, {0, 0}, {1, 0}, {1, 0}}, {{10, 0}, {}, {}, {}, {}});
  CurrFormTexts texts;
  for (MemoLines* memo : {&texts.ContCurr, &texts.CurMemo, &texts.PowerMemo}) memo->Add("last run");
  CurrFormViews views = texts.Views();

  EXPECT_THROW(MeshCurrentMethod(state, results, views), SingularSystem);
  EXPECT_EQ(texts.RGrid.Cell(0, 0), " 0");
  EXPECT_EQ(texts.RGrid.Cell(1, 1), " 2");
  EXPECT_EQ(texts.EGrid.Cell(0, 0), "10");
  EXPECT_TRUE(texts.ContCurr.lines.empty());
  EXPECT_TRUE(texts.CurMemo.lines.empty());
  EXPECT_TRUE(texts.PowerMemo.lines.empty());
  EXPECT_EQ(ReadTextFile(dir.Directory() / "out.txt").value(), "test lines\n");
  EXPECT_EQ(ReadTextFile(dir.Directory() / "Currents.txt").value(),
            " 0.000+0.000i\t 0.000+0.000i\t10.000+0.000i\t\n 0.000+0.000i\t 2.000+0.000i\t 0.000+0.000i\t\n\n");
}

}  // namespace
}  // namespace ohmara
