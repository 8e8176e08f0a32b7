#include "analysis/mesh_current.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/circuit_check.h"
#include "analysis/method_sections.h"
#include "model/errors.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

BranchRow Row(const char* name, const char* r, const char* l, const char* e) {
  return {name, r, l, "", e, e[0] ? "0" : ""};
}

// The five-branch circuit of two loops the course uses for this method:
// 1->2, 2->3, 3->1, 2->4, 4->3. The test finds the loops 2->3, 3->1, 1->2 and
// 4->3, 3->2, 2->4 for it.
BranchTable FiveBranches(const char* r12, const char* r23, const char* r31, const char* r24, const char* r43) {
  return {Row("1->2", r12, "", "10"), Row("2->3", r23, "", ""), Row("3->1", r31, "", ""), Row("2->4", r24, "", ""),
          Row("4->3", r43, "", "")};
}

// The circuit after a passed "Тест" at 50 Hz.
CircuitState Tested(const BranchTable& table, ResultsDirectory& results) {
  CircuitState state;
  MeshTexts window;
  MeshViews views = window.Views();
  EXPECT_TRUE(RunCircuitCheck(state, table, {"50", 0}, results, views).passed);
  return state;
}

// R = 1 in every branch, 10 V at 0 degrees in 1->2.
BranchTable NumericCheckTable() { return FiveBranches("1", "1", "1", "1", "1"); }

std::string NumericCheckSection() {
  return SectionHeading("Метод контурных токов") +
         "\n\nТоки:\n"
         "I12=3.75000+0.00000i\t\t\nI23=2.50000+0.00000i\t\t\nI31=3.75000+0.00000i\t\t\n"
         "I24=1.25000+0.00000i\t\t\nI43=1.25000+0.00000i\t\t\n"
         "\n"
         "\nБаланс мощностей\nМощность источников = 37.50000+0.00000i\n"
         "Потребляемая мощность = 37.50000+0.00000i\n";
}

// A circuit after its test, in a results directory of its own, with the
// out.txt lines the test wrote and a window for the method.
struct MeshFixture {
  explicit MeshFixture(const BranchTable& table)
      : state(Tested(table, files.Results())), testLines(files.Text("out.txt")) {
    EXPECT_TRUE(files.Exists("out.txt")) << "the test wrote no out.txt";
  }
  bool Run() {
    MeshViews views = texts.Views();
    return MeshCurrentMethod(state, files.Results(), views);
  }

  ScratchResults files;
  CircuitState state;
  const std::string testLines;
  MeshTexts texts;
};

// Every current of a resistive circuit is in phase with its source, so the
// consumed power is real whatever the phase: I·conj(I) must stay exactly real
// and the memo show no "j" part. (The source power E·conj(I) keeps a rounding
// residue of order 1e-15, which the screen form shows as "- j 0".)
TEST(MeshCurrentMethod, ResistiveCircuitWithAPhasedSourceConsumesRealPower) {
  BranchTable table = NumericCheckTable();
  table[0][kAngleColumn] = "30";
  MeshFixture run(table);
  ASSERT_TRUE(run.Run());
  ASSERT_EQ(run.texts.powerBalance.lines.size(), 2u);
  EXPECT_EQ(run.texts.powerBalance.lines[0].rfind("Мощность источников = 37.5", 0), 0u)
      << run.texts.powerBalance.lines[0];
  EXPECT_EQ(run.texts.powerBalance.lines[1], "Потребляемая мощность = 37.5");
}

TEST(MeshCurrentMethod, NumericCheck) {
  MeshFixture run(NumericCheckTable());
  ASSERT_TRUE(run.Run());
  const MeshTexts& texts = run.texts;

  EXPECT_EQ(texts.impedanceMatrix.rows, 2);
  EXPECT_EQ(texts.impedanceMatrix.cols, 2);
  EXPECT_EQ(texts.impedanceMatrix.widths, (std::map<int, int>{{0, 100}, {1, 100}}));
  EXPECT_EQ(texts.impedanceMatrix.cells, (std::map<std::pair<int, int>, std::string>{
                                             {{0, 0}, " 3"}, {{1, 0}, "-1"}, {{0, 1}, "-1"}, {{1, 1}, " 3"}}));
  EXPECT_EQ(texts.emfColumn.rows, 3);
  EXPECT_EQ(texts.emfColumn.cols, 1);
  EXPECT_EQ(texts.emfColumn.widths, (std::map<int, int>{{0, 110}}));
  EXPECT_EQ(texts.emfColumn.cells, (std::map<std::pair<int, int>, std::string>{{{0, 0}, "10"}, {{0, 1}, " 0"}}));
  EXPECT_EQ(texts.loopCurrents.lines, (Lines{"I11 =  3.75", "I22 =  1.25"}));
  EXPECT_EQ(texts.branchCurrents.lines,
            (Lines{"I12 =  3.75", "I23 =  2.5", "I31 =  3.75", "I24 =  1.25", "I43 =  1.25"}));
  EXPECT_EQ(texts.powerBalance.lines, (Lines{"Мощность источников = 37.5", "Потребляемая мощность = 37.5"}));
  EXPECT_TRUE(texts.branchValues.lines.empty());
  EXPECT_TRUE(texts.loops.lines.empty());

  EXPECT_EQ(run.files.Text("out.txt"), run.testLines + NumericCheckSection());
  EXPECT_NE(run.testLines.find("\nКонтуры в цепи\n2->3\t3->1\t1->2\t\n4->3\t3->2\t2->4\t\n"), std::string::npos);
  const std::string trace = run.files.Text("Currents.txt");
  EXPECT_EQ(trace.rfind(" 3.000+0.000i\t-1.000+0.000i\t10.000+0.000i\t\n-1.000+0.000i\t", 0), 0u) << trace;
  EXPECT_TRUE(trace.ends_with("\n\n\n3.750+0.000i\t1.250+0.000i\t\n\n\n")) << trace;
  EXPECT_TRUE(run.files.Results().TakeFailedFiles().empty());
}

TEST(MeshCurrentMethod, SecondRunAddsAnIdenticalSection) {
  MeshFixture run(NumericCheckTable());
  ASSERT_TRUE(run.Run());
  const std::string firstTrace = run.files.Bytes("Currents.txt");
  ASSERT_TRUE(run.Run());

  EXPECT_EQ(run.files.Text("out.txt"), run.testLines + NumericCheckSection() + NumericCheckSection());
  EXPECT_EQ(run.files.Bytes("Currents.txt"), firstTrace);
  EXPECT_EQ(run.texts.loopCurrents.lines.size(), 2u);
  EXPECT_EQ(run.texts.branchCurrents.lines.size(), 5u);
  EXPECT_EQ(run.texts.powerBalance.lines.size(), 2u);
}

// Entries of the loop matrix and source column in terms of the branches:
// each branch gets a distinct impedance and source so that a wrong sign or a
// missed shared branch shows.
TEST(MeshCurrentMethod, LoopMatrixFromBranches) {
  ScratchResults dir;
  const BranchTable table = {{"1->2", "1", "", "", "1", "0"},
                             {"2->3", "", "6.366", "", "1", "90"},
                             {"3->1", "4", "", "", "", ""},
                             {"2->4", "", "", "20", "3", "0"},
                             {"4->3", "16", "", "", "5", "-90"}};
  const CircuitState state = Tested(table, dir.Results());
  ASSERT_EQ(state.LoopCount(), 2);
  auto z = [&](int k) { return state.Branches[k].Z; };
  auto e = [&](int k) { return state.Branches[k].E; };
  const int b12 = 0, b23 = 1, b31 = 2, b24 = 3, b43 = 4;
  EXPECT_EQ(LoopImpedance(state, 0, 0), z(b23) + z(b31) + z(b12));
  EXPECT_EQ(LoopImpedance(state, 0, 1), Complex() - z(b23));
  EXPECT_EQ(LoopImpedance(state, 1, 0), Complex() - z(b23));
  EXPECT_EQ(LoopImpedance(state, 1, 1), z(b43) + z(b23) + z(b24));
  EXPECT_EQ(LoopEmf(state, 0), e(b23) + e(b31) + e(b12));
  EXPECT_EQ(LoopEmf(state, 1), e(b43) + e(b23) * -1.0 + e(b24));
}

TEST(MeshCurrentMethod, DoesNothingWithoutAPassedTest) {
  struct Case {
    const char* what;
    CircuitState state;
  };
  ScratchResults tested;
  CircuitState untested = Tested(NumericCheckTable(), tested.Results());
  untested.NeedsTest = true;
  CircuitState empty;
  empty.NeedsTest = false;
  const Case cases[] = {{"NeedsTest set", untested}, {"no branches", empty}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDirectory dir;
    ResultsDirectory results(dir.Path() / "Results");
    CircuitState state = c.state;
    MeshTexts texts;
    texts.loopCurrents.Add("earlier");
    MeshViews views = texts.Views();
    EXPECT_FALSE(MeshCurrentMethod(state, results, views)) << c.what;
    EXPECT_EQ(texts.loopCurrents.lines, Lines{"earlier"}) << c.what;
    EXPECT_TRUE(texts.impedanceMatrix.cells.empty() && texts.impedanceMatrix.rows == 0) << c.what;
    EXPECT_FALSE(dir.Exists("Results")) << c.what;
  }
}

// A loop whose branches have no impedance at all leaves a zero column in the
// loop matrix.
TEST(MeshCurrentMethod, ZeroImpedanceLoopIsSingular) {
  MeshFixture run(FiveBranches("", "", "", "1", "1"));
  MeshTexts& texts = run.texts;
  for (MemoLines* memo : {&texts.loopCurrents, &texts.branchCurrents, &texts.powerBalance}) memo->Add("last run");

  EXPECT_THROW(run.Run(), SingularSystem);
  EXPECT_EQ(texts.impedanceMatrix.Cell(0, 0), " 0");
  EXPECT_EQ(texts.impedanceMatrix.Cell(1, 1), " 2");
  EXPECT_EQ(texts.emfColumn.Cell(0, 0), "10");
  EXPECT_TRUE(texts.loopCurrents.lines.empty());
  EXPECT_TRUE(texts.branchCurrents.lines.empty());
  EXPECT_TRUE(texts.powerBalance.lines.empty());
  EXPECT_EQ(run.files.Text("out.txt"), run.testLines);
  EXPECT_EQ(run.files.Text("Currents.txt"),
            " 0.000+0.000i\t 0.000+0.000i\t10.000+0.000i\t\n 0.000+0.000i\t 2.000+0.000i\t 0.000+0.000i\t\n\n");
}

}  // namespace
}  // namespace ohmara
