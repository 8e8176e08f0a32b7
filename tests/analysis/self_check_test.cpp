// The self-check's core: the student's answers read and marked, and the
// student's own loops checked and solved.

#include "analysis/self_check.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "analysis/answer_marks.h"
#include "analysis/mesh_current.h"
#include "analysis/refusal_text.h"
#include "analysis/student_loops.h"
#include "analysis/table_circuits.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

TEST(ReadAnswer, ReadsEveryFormAStudentWrites) {
  struct Case {
    const char* text;
    Complex value;
  } cases[] = {
      {"2.5", {2.5, 0}},
      {"2,5", {2.5, 0}},
      {" 3 + j 4", {3, 4}},
      {"3-j4", {3, -4}},
      {"-j2,5", {0, -2.5}},
      {"4j", {0, 4}},
      {"3+4i", {3, 4}},
      {"j", {0, 1}},
      {"1e-3-j2e-3", {0.001, -0.002}},
      {"12.5 - j 0.125", {12.5, -0.125}},
      {" - j 2.5", {0, -2.5}},
      {" 0", {0, 0}},
      {"-4J+1", {1, -4}},
      {"5∠-53.13°", PolarDeg(5, -53.13)},
      {"5 ∠ 90", PolarDeg(5, 90)},
      {"2,5∠30,5°", PolarDeg(2.5, 30.5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const Answer answer = ReadAnswer(c.text);
    ASSERT_EQ(answer.kind, Answer::Kind::Value);
    EXPECT_DOUBLE_EQ(answer.value.re, c.value.re);
    EXPECT_DOUBLE_EQ(answer.value.im, c.value.im);
  }
  for (const char* blank : {"", "   ", "\t"}) EXPECT_EQ(ReadAnswer(blank).kind, Answer::Kind::Blank) << blank;
  for (const char* bad : {"abc", "3+j4+5", "3+4", "j3j", "5∠", "∠30", "inf", "1..2", "3+-j4", "--5", "3j+4j", "5∠3∠4"})
    EXPECT_EQ(ReadAnswer(bad).kind, Answer::Kind::Unreadable) << bad;
}

TEST(MarkAnswer, TolerancesHoldAtTheirBoundary) {
  const Tolerance percent{Tolerance::Kind::Percent, 1.0};
  const Tolerance digits{Tolerance::Kind::SignificantDigits, 3.0};
  struct Case {
    Complex answer, expected;
    double scale;
    Tolerance tolerance;
    bool right;
  } cases[] = {
      {{101, 0}, {100, 0}, 100, percent, true},
      {{99, 0}, {100, 0}, 100, percent, true},
      {{101.01, 0}, {100, 0}, 100, percent, false},
      {{3, 4.05}, {3, 4}, 5, percent, true},
      {{3, 4.06}, {3, 4}, 5, percent, false},
      {{-100, 0}, {100, 0}, 100, percent, false},
      {{0, 0}, {3e-16, 0}, 3.75, percent, true},
      {{0.01, 0}, {3e-16, 0}, 3.75, percent, false},
      {{0, 0}, {0, 0}, 0, percent, true},
      {{3.75, 0}, {3.75123, 0}, 3.75, digits, true},
      {{3.7, 0}, {3.75123, 0}, 3.75, digits, false},
      {{0.3125, 0}, {0.31251, 0}, 1, digits, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.answer.re << "+" << c.answer.im << "i for " << c.expected.re << "+"
                                    << c.expected.im << "i");
    EXPECT_EQ(IsRight(c.answer, c.expected, c.scale, c.tolerance), c.right);
  }
}

std::vector<CircuitBranch> Branches(std::initializer_list<std::pair<int, int>> ends) {
  std::vector<CircuitBranch> branches;
  for (auto [from, to] : ends) branches.push_back({from, to, {1, 0}, {}, {}, false, 1});
  return branches;
}

TEST(StudentLoops, EachFaultOfATypedSetIsNamed) {
  using Kind = LoopRefusal::Kind;
  // The five-branch course circuit (two loops) and the complete graph on four nodes (three).
  const std::vector<CircuitBranch> five = Branches({{1, 2}, {2, 3}, {3, 1}, {2, 4}, {4, 3}});
  const std::vector<CircuitBranch> complete = Branches({{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}});
  struct Case {
    const std::vector<CircuitBranch>& branches;
    const char* text;
    Kind kind;
    int loop, other, nodeA, nodeB, needed, given;
  } cases[] = {
      {five, "1-2-3-1\n1-2-3-1", Kind::Repeats, 2, 1, 0, 0, 0, 0},
      {five, "1-2-3-1\n\n3-2-1-3\n", Kind::Repeats, 2, 1, 0, 0, 0, 0},
      {five, "1-2-3-1", Kind::TooFew, 0, 0, 0, 0, 2, 1},
      {five, "1-2-3-1\n2-4-3-2\n1-2-4-3-1", Kind::TooMany, 0, 0, 0, 0, 2, 3},
      {five, "1-2-3-1\n1-2-4-1", Kind::NoBranch, 2, 0, 4, 1, 0, 0},
      {five, "1-2-3", Kind::NotClosed, 1, 0, 0, 0, 0, 0},
      {five, "1-2-1", Kind::TooShort, 1, 0, 0, 0, 0, 0},
      {five, "1-2-9-1", Kind::NoNode, 1, 0, 9, 0, 0, 0},
      {five, "1-2-x-1", Kind::Unreadable, 1, 0, 0, 0, 0, 0},
      {five, "1-2-3-2-4-3-1", Kind::NodeTwice, 1, 0, 2, 0, 0, 0},
      {complete, "1-2-3-1\n1-3-4-1\n1-2-3-4-1", Kind::Dependent, 3, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const StudentLoops loops = ReadStudentLoops(c.text, c.branches, 4);
    ASSERT_FALSE(loops.accepted);
    EXPECT_EQ(loops.refusal.kind, c.kind);
    EXPECT_EQ(loops.refusal.loop, c.loop);
    EXPECT_EQ(loops.refusal.other, c.other);
    EXPECT_EQ(loops.refusal.nodeA, c.nodeA);
    EXPECT_EQ(loops.refusal.nodeB, c.nodeB);
    EXPECT_EQ(loops.refusal.needed, c.needed);
    EXPECT_EQ(loops.refusal.given, c.given);
  }
  const StudentLoops written = ReadStudentLoops("1 – 2 → 3 - 1\r\n4-3-2-4", five, 4);
  ASSERT_TRUE(written.accepted);
  EXPECT_EQ(LoopNodesText(written.loops[1], five), "4-3-2-4");
}

// Two branches between nodes 1 and 2: a step between them names the branch
// it takes by its number, as loops name it (2->1_2), and a step that does not
// is refused with the branches to choose from; the written form reads back.
TEST(StudentLoops, ParallelBranchesAreNamedByTheirNumberAfterTheNodeReached) {
  using Kind = LoopRefusal::Kind;
  std::vector<CircuitBranch> branches = Branches({{1, 2}, {2, 1}, {2, 3}, {3, 1}});
  branches[1].Parallel = 2;
  const StudentLoops taken = ReadStudentLoops("1-2_1-1_2\n1 - 2_2 - 3 - 1", branches, 3);
  ASSERT_TRUE(taken.accepted) << static_cast<int>(taken.refusal.kind);
  auto steps = [](const OrientedLoop& loop) {
    std::vector<std::pair<int, int>> pairs;
    for (const LoopStep& step : loop) pairs.push_back({step.branch, step.direction});
    return pairs;
  };
  EXPECT_EQ(steps(taken.loops[0]), (std::vector<std::pair<int, int>>{{0, 1}, {1, 1}}));
  EXPECT_EQ(steps(taken.loops[1]), (std::vector<std::pair<int, int>>{{1, -1}, {2, 1}, {3, 1}}));
  EXPECT_EQ(LoopNodesText(taken.loops[0], branches), "1-2_1-1_2");
  EXPECT_EQ(LoopNodesText(taken.loops[1], branches), "1-2_2-3-1");

  struct Case {
    const char* text;
    Kind kind;
    const char* said;
  } cases[] = {
      {"1-2_1-1_2\n2-3-1-2", Kind::Ambiguous,
       "Контур 2: узлы 1 и 2 соединяют несколько ветвей — 1->2, 2->1_2. Укажите ветвь номером после узла: 1-2_1 или "
       "1-2_2."},
      {"1-2_3-3-1", Kind::NoBranch, "Между узлами 1 и 2 нет ветви с номером _3 (контур 1)."},
      {"1-2_1-1_1", Kind::TooShort, "Контур 1 должен пройти хотя бы по двум разным ветвям."},
      {"1_2-2-3-1", Kind::Unreadable, "Контур 1: нужны номера узлов через дефис, например 1-2-3-1."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const StudentLoops loops = ReadStudentLoops(c.text, branches, 3);
    ASSERT_FALSE(loops.accepted);
    EXPECT_EQ(loops.refusal.kind, c.kind);
    EXPECT_EQ(LoopRefusalText(loops.refusal), c.said);
  }
}

// Solved over the student's loops, every branch current is the method's.
void ExpectOwnLoopsSolveAsTheMethod(const std::vector<CircuitBranch>& branches, const StudentLoops& own,
                                    const MeshSolution& program) {
  const LoopCurrentSolution solution = SolveByLoops(branches, own.loops);
  const double scale = LargestMagnitude(program.branchCurrents);
  for (size_t b = 0; b < branches.size(); ++b)
    EXPECT_TRUE(
        IsRight(solution.branchCurrents[b], program.branchCurrents[b], scale, {Tolerance::Kind::SignificantDigits, 9}))
        << "branch " << b + 1;
}

// Extended circuits: own loops, the parallel branch named where two join the
// same nodes, give the method's branch currents where a current source stands
// beside a branch's elements; a circuit with an ideal current source, whose
// loop the method fixes itself, is refused by the branch's name.
TEST(StudentLoops, OwnLoopsOfACircuitWithCurrentSourcesSolveAsTheMethodOrAreRefused) {
  struct Case {
    BranchTable table;
    const char* loops;
    const char* refusal;  // empty when accepted
  } cases[] = {
      {{Row("1->2", "4", "15", "", "", ""), Row("2->3", "6", "", "", "", ""), Row("3->1", "2", "", "", "12", "0"),
        Row("1->3", "3", "", "500", "", "")},
       "1-2-3-1_1\n1-3_2-1_1",
       ""},
      {{Row("1->2", "", "", "", "", ""), Row("2->1", "4", "", "", "", ""), Row("2->3", "2", "", "", "12", "10"),
        Row("3->1", "6", "", "", "", "")},
       "1-2_1-1_2\n1-2_2-3-1",
       "В цепи есть идеальный источник тока (ветвь 1->2): свои контуры для неё не проверяются. Оставьте поле пустым — "
       "ответ сверится с контурами программы."},
  };
  cases[0].table[0][kJColumn] = "1.5";
  cases[0].table[0][kJAngleColumn] = "60";
  cases[1].table[0][kJColumn] = "2";
  cases[1].table[0][kJAngleColumn] = "30";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.loops);
    ScratchResults files;
    CircuitState state;
    state.Extended = true;
    ASSERT_TRUE(Tested({"current sources", c.table, {"50", 0}}, state, files.Results()));
    MeshTexts window;
    MeshViews views = window.Views();
    MeshSolution program;
    ASSERT_TRUE(MeshCurrentMethod(state, files.Results(), views, program));
    const StudentLoops own = ReadStudentLoops(c.loops, state.Branches, state.NodeCount);
    if (*c.refusal) {
      ASSERT_FALSE(own.accepted);
      EXPECT_EQ(LoopRefusalText(own.refusal), c.refusal);
      continue;
    }
    ASSERT_TRUE(own.accepted) << LoopRefusalText(own.refusal);
    ExpectOwnLoopsSolveAsTheMethod(state.Branches, own, program);
  }
}

// The fundamental loops of a random spanning tree, each in a random
// direction: a set of loops other than the program's.
std::string RandomLoopsText(const std::vector<CircuitBranch>& branches, int nodeCount, std::mt19937& random) {
  std::vector<int> order(branches.size());
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), random);
  std::vector<int> parent(nodeCount + 1);
  std::iota(parent.begin(), parent.end(), 0);
  auto root = [&](int node) {
    while (parent[node] != node) node = parent[node];
    return node;
  };
  std::vector<std::vector<int>> tree(nodeCount + 1);
  std::vector<int> chords;
  for (int k : order) {
    const int a = root(branches[k].From), b = root(branches[k].To);
    if (a == b) {
      chords.push_back(k);
      continue;
    }
    parent[a] = b;
    tree[branches[k].From].push_back(branches[k].To);
    tree[branches[k].To].push_back(branches[k].From);
  }
  // The tree path from `from` to `to`, by depth-first search.
  auto path = [&](int from, int to) {
    std::vector<int> nodes{from}, next{0};
    std::vector<bool> seen(nodeCount + 1);
    seen[from] = true;
    while (nodes.back() != to) {
      const std::vector<int>& near = tree[nodes.back()];
      if (next.back() == static_cast<int>(near.size())) {
        nodes.pop_back(), next.pop_back();
        continue;
      }
      const int node = near[next.back()++];
      if (!seen[node]) seen[node] = true, nodes.push_back(node), next.push_back(0);
    }
    return nodes;
  };
  std::string text;
  for (int k : chords) {
    std::vector<int> nodes = path(branches[k].To, branches[k].From);
    nodes.insert(nodes.begin(), branches[k].From);
    if (random() % 2) std::reverse(nodes.begin(), nodes.end());
    for (size_t i = 0; i < nodes.size(); ++i) text += std::to_string(nodes[i]) + (i + 1 < nodes.size() ? "-" : "\n");
  }
  return text;
}

TEST(StudentLoops, AnyCompleteSetOfIndependentLoopsGivesTheProgramsBranchCurrents) {
  std::mt19937 random(20261209);
  for (int loops = 2; loops <= 5; ++loops) {
    for (int points = 4; points <= 8; points += 2) {
      SCOPED_TRACE(testing::Message() << loops << " loops, " << points << " points");
      ScratchResults files;
      EngineRandomSource source(random());
      const TableCircuit circuit =
          GeneratedCircuit("random", GenerateRandomCircuit(loops, points, source, files.Results()), 0);
      CircuitState state;
      ASSERT_TRUE(Tested(circuit, state, files.Results()));
      MeshTexts window;
      MeshViews views = window.Views();
      MeshSolution program;
      ASSERT_TRUE(MeshCurrentMethod(state, files.Results(), views, program));

      const std::string text = RandomLoopsText(state.Branches, state.NodeCount, random);
      SCOPED_TRACE(text);
      const StudentLoops own = ReadStudentLoops(text, state.Branches, state.NodeCount);
      ASSERT_TRUE(own.accepted) << static_cast<int>(own.refusal.kind) << " in loop " << own.refusal.loop;
      ExpectOwnLoopsSolveAsTheMethod(state.Branches, own, program);
    }
  }
}

TEST(StudentLoops, ReversedLoopsNegateTheLoopCurrentsAndKeepTheMatrixDiagonal) {
  const BranchTable table = {Row("1->2", "1", "", "", "10", "0"), Row("2->3", "1", "", "", "", ""),
                             Row("3->1", "1", "", "", "", ""), Row("2->4", "1", "", "", "", ""),
                             Row("4->3", "1", "", "", "", "")};
  ScratchResults files;
  CircuitState state;
  ASSERT_TRUE(Tested({"five branches", table, {"50", 0}}, state, files.Results()));
  const StudentLoops forward = ReadStudentLoops("1-2-3-1\n2-4-3-2", state.Branches, state.NodeCount);
  const StudentLoops backward = ReadStudentLoops("1-3-2-1\n2-3-4-2", state.Branches, state.NodeCount);
  ASSERT_TRUE(forward.accepted && backward.accepted);
  const LoopCurrentSolution a = SolveByLoops(state.Branches, forward.loops);
  const LoopCurrentSolution b = SolveByLoops(state.Branches, backward.loops);
  EXPECT_EQ(a.system[0][0], (Complex{3, 0}));
  EXPECT_EQ(a.system[0][1], (Complex{-1, 0}));
  EXPECT_EQ(a.system[0][2], (Complex{10, 0}));
  EXPECT_EQ(b.system[0][1], a.system[0][1]);
  for (int p = 0; p < 2; ++p) {
    EXPECT_NEAR(b.loopCurrents[p].re, -a.loopCurrents[p].re, 1e-12);
    EXPECT_NEAR(b.loopCurrents[p].im, -a.loopCurrents[p].im, 1e-12);
  }
  EXPECT_NEAR(a.loopCurrents[0].re, 3.75, 1e-12);
  EXPECT_NEAR(a.branchCurrents[3].re, 1.25, 1e-12);
  EXPECT_NEAR(b.branchCurrents[3].re, 1.25, 1e-12);
}

AttemptForm FilledAttempt() {
  AttemptForm form = EmptyAttempt(Method::Mesh, 2, 2, 3);
  form.tolerance = {Tolerance::Kind::SignificantDigits, 3};
  form.ownLoops = "1-2-3-1\n2-4-3-2";
  form.matrix = {{"3", "-1"}, {"", "3 + j0"}};
  form.sources = {"10∠0°", "0"};
  form.unknowns = {"3,75", "1.3"};
  form.branchCurrents = {"3.75", "x", ""};
  form.sourcePower = "37.5";
  return form;
}

TEST(SelfCheckAttempt, MarksEveryFilledCellAndCountsThem) {
  const ExpectedSolution expected{{{{3, 0}, {-1, 0}}, {{-1, 0}, {3, 0}}}, {{10, 0}, {0, 0}}, {{3.75, 0}, {1.25, 0}},
                                  {{3.75, 0}, {2.5, 0}, {1.25, 0}},       {37.5, 0},         {37.5, 0}};
  const AttemptMarks marks = MarkAttempt(FilledAttempt(), expected);
  using Kind = CellMark::Kind;
  EXPECT_EQ(marks.matrix[0][1].kind, Kind::Right);
  EXPECT_EQ(marks.matrix[1][0].kind, Kind::Blank);
  EXPECT_EQ(marks.sources[0].kind, Kind::Right);
  EXPECT_EQ(marks.sources[1].kind, Kind::Right);
  EXPECT_EQ(marks.unknowns[1].kind, Kind::Wrong);
  EXPECT_NEAR(marks.unknowns[1].difference, 0.04, 1e-12);
  EXPECT_EQ(marks.unknowns[1].expected, (Complex{1.25, 0}));
  EXPECT_EQ(marks.branchCurrents[1].kind, Kind::Unreadable);
  EXPECT_EQ(marks.consumedPower.kind, Kind::Blank);
  EXPECT_EQ(marks.filled, 10);
  EXPECT_EQ(marks.right, 8);
}

TEST(SelfCheckAttempt, FileKeepsEveryCellAndNamesTheLineOfAFault) {
  const AttemptForm form = FilledAttempt();
  const std::string text = AttemptFileText(form);
  EXPECT_EQ(text.find("∠"), std::string::npos) << "the file must stay within Windows-1251";
  const AttemptRead read = ReadAttemptText(text);
  ASSERT_TRUE(read.form);
  EXPECT_EQ(read.form->method, form.method);
  EXPECT_EQ(read.form->tolerance.kind, form.tolerance.kind);
  EXPECT_EQ(read.form->tolerance.amount, form.tolerance.amount);
  EXPECT_EQ(read.form->ownLoops, form.ownLoops);
  EXPECT_EQ(read.form->matrix, form.matrix);
  EXPECT_EQ(read.form->sources, form.sources);
  EXPECT_EQ(read.form->unknowns, form.unknowns);
  EXPECT_EQ(read.form->branchCurrents, form.branchCurrents);
  EXPECT_EQ(read.form->sourcePower, form.sourcePower);
  EXPECT_EQ(read.form->consumedPower, form.consumedPower);

  // Cut after each line, and with one row of the matrix a cell short: the
  // first line that cannot be what it should is named.
  std::vector<size_t> ends;
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) ends.push_back(at);
  for (size_t k = 0; k + 1 < ends.size(); ++k) {
    const AttemptRead cut = ReadAttemptText(text.substr(0, ends[k] + 1));
    EXPECT_FALSE(cut.form) << "cut after line " << k + 1;
    EXPECT_EQ(cut.faultLine, static_cast<int>(k) + 2) << "cut after line " << k + 1;
  }
  std::string shortRow = text;
  shortRow.replace(shortRow.find("3\t-1"), 4, "3");
  EXPECT_EQ(ReadAttemptText(shortRow).faultLine, 8);
}

}  // namespace
}  // namespace ohmara
