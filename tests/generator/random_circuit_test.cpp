#include "generator/random_circuit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "analysis/circuit_check.h"
#include "model/circuit.h"
#include "support/results_fixture.h"
#include "support/scripted_random.h"

namespace ohmara {
namespace {

using testing::ScriptedRandom;

using RandomCircuitTest = ResultsFixture;

// True when a and b stay connected without branch `skipped`.
bool ConnectedWithout(const std::vector<CircuitBranch>& branches, size_t skipped, int a, int b) {
  std::set<int> reached = {a};
  for (bool grew = true; grew;) {
    grew = false;
    for (size_t i = 0; i < branches.size(); ++i) {
      if (i == skipped) continue;
      const bool from = reached.count(branches[i].From), to = reached.count(branches[i].To);
      if (from != to) {
        reached.insert(from ? branches[i].To : branches[i].From);
        grew = true;
      }
    }
  }
  return reached.count(b) > 0;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The grid row that a "From->To\tR\tL\tC\tE\tAngle" line of the file stands for.
BranchRow RowOfFileLine(const std::string& line) {
  std::istringstream in(line);
  BranchRow row;
  int r = 0, l = 0, c = 0, e = 0, angle = 0;
  in >> row[kNameColumn] >> r >> l >> c >> e >> angle;
  EXPECT_FALSE(in.fail()) << line;
  auto cell = [](int v) { return v ? std::to_string(v) : std::string(); };
  row[kRColumn] = cell(r);
  row[kLColumn] = cell(l);
  row[kCColumn] = cell(c);
  row[kEColumn] = cell(e);
  row[kAngleColumn] = e ? std::to_string(angle) : std::string();
  return row;
}

void ExpectClosedSimpleLoop(const RandomLoop& loop) {
  ASSERT_GE(loop.Count(), 3);
  std::set<int> nodes;
  for (int i = 0; i < loop.Count(); ++i) {
    const CircuitBranch& b = loop.LoopBranches[i];
    const CircuitBranch& next = loop.LoopBranches[(i + 1) % loop.Count()];
    EXPECT_EQ(b.To, next.From);
    EXPECT_TRUE(nodes.insert(b.From).second) << "node " << b.From << " twice in a loop";
    EXPECT_TRUE(loop.Nodes.contains(b.From));
  }
}

// The whole of "Тест" on the generated table at the generated frequency: the
// student must never be handed an exercise it rejects.
void ExpectPassesCircuitTest(const RandomCircuit& circuit, ResultsDirectory& results) {
  CircuitState state;
  MeshTexts texts;
  MeshViews views = texts.Views();
  const FrequencySetting frequency{std::to_string(circuit.Frequency), 0};
  const CircuitCheckOutcome outcome = RunCircuitCheck(state, circuit.Table, frequency, results, views);
  EXPECT_TRUE(outcome.passed) << "parse code " << static_cast<int>(outcome.parseResult) << ", loop search "
                              << static_cast<int>(outcome.loopResult) << "\n"
                              << circuit.Description;
}

void ExpectSoundCircuit(const RandomCircuit& circuit, int loops, int points) {
  const BranchTable& table = circuit.Table;
  std::vector<CircuitBranch> branches;
  int nodeCount = 0;
  // One connected piece, no node pair twice in either orientation, nodes without gaps.
  ASSERT_EQ(ParseBranchTable(BranchNames(table), branches, nodeCount), ParseResult::Ok);
  EXPECT_EQ(nodeCount, points);
  for (size_t i = 0; i < branches.size(); ++i)
    EXPECT_TRUE(ConnectedWithout(branches, i, branches[i].From, branches[i].To))
        << table[i][kNameColumn] << " lies on no loop";
  for (const BranchRow& row : table) {
    EXPECT_TRUE(!row[kRColumn].empty() || !row[kCColumn].empty()) << row[kNameColumn];
    EXPECT_EQ(row[kEColumn].empty(), row[kAngleColumn].empty()) << row[kNameColumn];
  }
  ASSERT_EQ(static_cast<int>(circuit.Loops.size()), loops);
  for (const RandomLoop& loop : circuit.Loops) ExpectClosedSimpleLoop(loop);
  EXPECT_GE(circuit.Frequency, 10);
  EXPECT_LE(circuit.Frequency, 24);

  // The file: a line per loop, an empty line, "Ветви:", a line per grid row.
  const std::vector<std::string> lines = Lines(circuit.Description);
  ASSERT_EQ(lines.size(), loops + 2 + table.size());
  EXPECT_EQ(lines[loops], "");
  EXPECT_EQ(lines[loops + 1], "Ветви:");
  for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(RowOfFileLine(lines[loops + 2 + i]), table[i]);
}

TEST_F(RandomCircuitTest, EveryAcceptedSettingGivesASoundCircuit) {
  // Four points and two loops fold one loop onto the other in about one
  // drawing in seven: enough seeds that a generator keeping such a drawing
  // is caught.
  constexpr std::uint64_t kSeeds = 40;
  ResultsDirectory& results = Results();
  for (int points = 4; points <= 19; ++points)
    for (int loops = 2; loops <= 9; ++loops)
      for (std::uint64_t seed = 1; seed <= kSeeds; ++seed) {
        SCOPED_TRACE(::testing::Message() << "K " << loops << ", P " << points << ", seed " << seed);
        EngineRandomSource random(seed * 1000 + points * 10 + loops);
        const RandomCircuit circuit = GenerateRandomCircuit(loops, points, random, results);
        ExpectSoundCircuit(circuit, loops, points);
        ExpectPassesCircuitTest(circuit, results);
        if (::testing::Test::HasFailure()) return;
      }
  EXPECT_TRUE(results.TakeFailedFiles().empty());
}

TEST_F(RandomCircuitTest, ExactDrawsThreadingAndFile) {
  std::vector<int> answers = {
      0, 0, 1, 1, 2,     // loop 0: 3 branches; end of 1->? redrawn from 1 to 2; 2->? redrawn from 2 to 3
      1, 2, 3, 3, 4,     // loop 1: 4 branches sharing 3->1; 1->4; 4->? redrawn from 4 to 5
      2, 0, 1, 1, 3, 1,  // first branch: unused draw, E 15 at 35 degrees,
      0, 0, 0, 0, 0, 0,  //   no C, no L,
      1, 2,              //   R 22
  };
  for (int i = 0; i < 7 * 12; ++i) answers.push_back(0);  // the other branches: R 10 only
  answers.push_back(14);                                  // frequency
  ScriptedRandom random(answers);
  const RandomCircuit circuit = GenerateRandomCircuit(2, 7, random, Results());

  EXPECT_TRUE(random.ScriptUsedUp());
  const std::vector<int> topology(random.asked.begin(), random.asked.begin() + 10);
  EXPECT_EQ(topology, (std::vector<int>{2, 7, 7, 7, 7, 2, 3, 7, 7, 7}));
  EXPECT_EQ(random.asked.size(), 10u + 8 * 12 + 2 + 1);  // the first branch draws an angle too
  EXPECT_EQ(random.asked.back(), 15);

  const std::string expected =
      "1->2\t2->3\t3->1\t\n"
      "3->1\t1->4\t4->5\t5->6\t6->7\t7->3\t\n"
      "\nВетви:\n"
      "1->2\t22\t0\t0\t15\t35\n"
      "2->3\t10\t0\t0\t0\t0\n3->1\t10\t0\t0\t0\t0\n1->4\t10\t0\t0\t0\t0\n4->5\t10\t0\t0\t0\t0\n"
      "5->6\t10\t0\t0\t0\t0\n6->7\t10\t0\t0\t0\t0\n7->3\t10\t0\t0\t0\t0\n";
  EXPECT_EQ(circuit.Description, expected);
  EXPECT_EQ(Text("randomCir.txt"), expected);
  EXPECT_EQ(circuit.Frequency, 24);
  ASSERT_EQ(circuit.Table.size(), 8u);
  EXPECT_EQ(circuit.Table[0], (BranchRow{"1->2", "22", "", "", "15", "35"}));
  EXPECT_EQ(circuit.Table[2], (BranchRow{"3->1", "10", "", "", "", ""}));
}

// At four points a loop of four may cover every point, so the next loop
// finds none outside it and runs over the same four nodes: the circuit is a
// single ring, which the loop search rejects.
const std::vector<int> kFoldingAttempt = {
    1, 1, 2, 3,  // loop 0: 4 branches 1->2->3->4->1
    1, 0, 2, 3,  // loop 1: 4 branches sharing 1->2; nodes 3 and 4 only lie outside it
};
// The draws the folding attempt asks for.
const std::vector<int> kFoldingDraws = {2, 4, 4, 4, 2, 4, 4, 4};

TEST_F(RandomCircuitTest, AnAttemptFailingTheTestIsDrawnAgainBeforeAnyValue) {
  std::vector<int> answers = kFoldingAttempt;
  answers.insert(answers.end(), {0, 1, 2, /* loop 1 */ 0, 0, 3});  // two triangles sharing 1->2
  for (int i = 0; i < 5 * 12; ++i) answers.push_back(0);           // every branch R 10 only
  answers.push_back(3);                                            // frequency
  ScriptedRandom random(answers);
  const RandomCircuit circuit = GenerateRandomCircuit(2, 4, random, Results());

  EXPECT_TRUE(random.ScriptUsedUp());
  std::vector<int> shapeDraws = kFoldingDraws;
  shapeDraws.insert(shapeDraws.end(), {2, 4, 4, 2, 3, 4});
  EXPECT_EQ(std::vector<int>(random.asked.begin(), random.asked.begin() + shapeDraws.size()), shapeDraws);
  EXPECT_EQ(random.asked.size(), shapeDraws.size() + 5 * 12 + 1);

  const std::string expected =
      "1->2\t2->3\t3->1\t\n"
      "1->2\t2->4\t4->1\t\n"
      "\nВетви:\n"
      "1->2\t10\t0\t0\t0\t0\n2->3\t10\t0\t0\t0\t0\n3->1\t10\t0\t0\t0\t0\n"
      "2->4\t10\t0\t0\t0\t0\n4->1\t10\t0\t0\t0\t0\n";
  EXPECT_EQ(circuit.Description, expected);
  EXPECT_EQ(Text("randomCir.txt"), expected);
  EXPECT_EQ(circuit.Frequency, 13);
  EXPECT_FALSE(Exists("out.txt"));  // the dry runs leave the last real test's record alone
  ExpectPassesCircuitTest(circuit, Results());
}

TEST_F(RandomCircuitTest, NoPassingAttemptWritesNothing) {
  std::vector<int> answers;
  for (int i = 0; i < kRandomCircuitAttempts; ++i)
    answers.insert(answers.end(), kFoldingAttempt.begin(), kFoldingAttempt.end());
  ScriptedRandom random(answers);
  Results().Rewrite("randomCir.txt", "the last exercise\n");
  EXPECT_THROW(GenerateRandomCircuit(2, 4, random, Results()), NoTestableRandomCircuit);
  EXPECT_TRUE(random.ScriptUsedUp());
  EXPECT_EQ(random.asked.size(), kFoldingDraws.size() * kRandomCircuitAttempts);  // no value, no frequency
  EXPECT_EQ(Text("randomCir.txt"), "the last exercise\n");
  EXPECT_FALSE(Exists("out.txt"));
  EXPECT_FALSE(Exists("adjTable.txt"));
}

TEST_F(RandomCircuitTest, SettingsAndImpossibleRequests) {
  struct Case {
    int loops, points;
    bool accepted;
  };
  const Case cases[] = {{4, 7, true},   {2, 2, true},   {9, 19, true}, {1, 7, false},
                        {10, 7, false}, {4, 20, false}, {4, 1, false}, {-4, 7, false}};
  for (const Case& c : cases)
    EXPECT_EQ(RandomSettingsAccepted(c.loops, c.points), c.accepted) << c.loops << " " << c.points;

  // Two points make one branch on no loop, three a lone triangle, and a
  // single loop is a ring: the circuit test rejects all three.
  EXPECT_FALSE(RandomCircuitPossible(2));
  EXPECT_FALSE(RandomCircuitPossible(3));
  EXPECT_TRUE(RandomCircuitPossible(4));
  const std::pair<int, int> impossible[] = {{4, 2}, {4, 3}, {9, 3}, {1, 7}};  // loops, points
  for (const auto& [loops, points] : impossible) {
    EngineRandomSource random(1);
    EXPECT_THROW(GenerateRandomCircuit(loops, points, random, Results()), std::invalid_argument)
        << loops << " " << points;
  }
  EXPECT_FALSE(Exists("randomCir.txt"));
}

TEST_F(RandomCircuitTest, UnwritableResultsDoNotStopTheGeneration) {
  std::ofstream(Path() / "blocker") << "x";
  ResultsDirectory results(Path() / "blocker" / "Results");
  EngineRandomSource random(5);
  const RandomCircuit circuit = GenerateRandomCircuit(4, 7, random, results);
  ExpectSoundCircuit(circuit, 4, 7);
  EXPECT_EQ(results.TakeFailedFiles(), std::vector<std::string>{"randomCir.txt"});
}

}  // namespace
}  // namespace ohmara
