#include "analysis/circuit_check.h"

#include <gtest/gtest.h>

#include "model/errors.h"
#include "model/text_file.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

BranchTable TableOf(const std::vector<std::string>& names, const char* r = "1") {
  BranchTable table;
  for (const std::string& name : names) table.push_back({name, r, "", "", "", ""});
  return table;
}

// A memo that notes every clearing in one log shared by the window's memos.
class LoggingMemo : public MemoLines {
 public:
  LoggingMemo(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
  void Clear() override {
    log_.push_back(name_);
    MemoLines::Clear();
  }

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

struct LoggingWindow {
  std::vector<std::string> clears;
  GridCells impedanceMatrix, emfColumn;
  LoggingMemo branchValues{"InValMem", clears}, loops{"Conts", clears}, loopCurrents{"ContCurr", clears},
      branchCurrents{"CurMemo", clears}, powerBalance{"PowerMemo", clears};
  MeshViews views{impedanceMatrix, emfColumn, branchValues, loops, loopCurrents, branchCurrents, powerBalance};

  // Lines a previous test and solution left behind.
  void FillWithOldLines() {
    for (MemoLines* memo : {&branchValues, &loops, &loopCurrents, &branchCurrents, &powerBalance}) memo->Add("old");
  }
};

class CircuitCheckTest : public ResultsFixture {
 protected:
  CircuitCheckOutcome Run(const BranchTable& table) { return Run(table, window); }
  CircuitCheckOutcome Run(const BranchTable& table, LoggingWindow& target) {
    target.FillWithOldLines();
    Results().Rewrite("out.txt", "older test\n");
    return RunCircuitCheck(state, table, {"15", 0}, Results(), target.views);
  }
  CircuitState state;
  LoggingWindow window;
};

TEST_F(CircuitCheckTest, OutcomeOfEachCheck) {
  struct Case {
    const char* what;
    std::vector<std::string> names;
    ParseResult parseResult;
    LoopSearchResult loopResult;
    bool passed;
    int m, n;
  };
  const Case cases[] = {
      {"malformed name", {"1-2", "2->3", "3->1"}, ParseResult::Malformed, LoopSearchResult::Found, false, 0, 0},
      {"two separate triangles",
       {"1->2", "2->3", "3->1", "4->5", "5->6", "6->4"},
       ParseResult::Disconnected,
       LoopSearchResult::Found,
       false,
       0,
       0},
      {"dangling branch", {"1->2", "2->3", "3->1", "3->4"}, ParseResult::Ok, LoopSearchResult::NotClosed, false, 0, 0},
      {"single triangle", {"1->2", "2->3", "3->1"}, ParseResult::Ok, LoopSearchResult::RealNodeRuleBroken, false, 0, 0},
      {"triangle with a detour",
       {"1->2", "2->3", "3->1", "3->4", "4->1"},
       ParseResult::Ok,
       LoopSearchResult::Found,
       true,
       3,
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    state.NeedsTest = false;    // as a passed test before this one left it
    LoggingWindow freshWindow;  // each case starts from its own memos
    const CircuitCheckOutcome outcome = Run(TableOf(c.names), freshWindow);
    EXPECT_EQ(outcome.parseResult, c.parseResult) << c.what;
    EXPECT_EQ(outcome.passed, c.passed) << c.what;
    EXPECT_EQ(state.NeedsTest, !c.passed) << c.what;
    if (c.parseResult != ParseResult::Ok) {
      EXPECT_TRUE(freshWindow.clears.empty()) << c.what;
      EXPECT_EQ(freshWindow.loops.lines, std::vector<std::string>{"old"}) << c.what;
      EXPECT_EQ(Bytes("out.txt"), "") << c.what;
      continue;
    }
    EXPECT_EQ(outcome.loopResult, c.loopResult) << c.what;
    EXPECT_EQ(freshWindow.clears, (std::vector<std::string>{"Conts", "InValMem", "ContCurr", "PowerMemo", "CurMemo"}))
        << c.what;
    EXPECT_EQ(freshWindow.branchValues.lines.size(), 2 * c.names.size()) << c.what;
    EXPECT_EQ(freshWindow.loopCurrents.lines.empty() && freshWindow.powerBalance.lines.empty() &&
                  freshWindow.branchCurrents.lines.empty(),
              true)
        << c.what;
    EXPECT_EQ(freshWindow.loops.lines.empty(), !c.passed) << c.what;
    if (c.passed) {
      EXPECT_EQ(outcome.m, c.m) << c.what;
      EXPECT_EQ(outcome.n, c.n) << c.what;
    }
  }
}

// The five-branch circuit with R = 1 in every branch, byte for byte.
TEST_F(CircuitCheckTest, FiveBranchCircuitFiles) {
  const CircuitCheckOutcome outcome = Run(TableOf({"1->2", "2->3", "3->1", "2->4", "4->3"}));
  ASSERT_TRUE(outcome.passed);
  EXPECT_EQ(outcome.m, 3);
  EXPECT_EQ(outcome.n, 2);
  EXPECT_EQ(Bytes("out.txt"),
            "1)\tZ12=1.00000+0.00000i\t\tE12=0.00000+0.00000i\t\t\r\n"
            "2)\tZ23=1.00000+0.00000i\t\tE23=0.00000+0.00000i\t\t\r\n"
            "3)\tZ31=1.00000+0.00000i\t\tE31=0.00000+0.00000i\t\t\r\n"
            "4)\tZ24=1.00000+0.00000i\t\tE24=0.00000+0.00000i\t\t\r\n"
            "5)\tZ43=1.00000+0.00000i\t\tE43=0.00000+0.00000i\t\t\r\n"
            "\r\n"
            "\xCA\xEE\xED\xF2\xF3\xF0\xFB \xE2 \xF6\xE5\xEF\xE8\r\n"  // Контуры в цепи
            "2->3\t3->1\t1->2\t\r\n"
            "4->3\t3->2\t2->4\t\r\n");
  EXPECT_EQ(Bytes("adjTable.txt"), "0\t1\t1\t0\t\r\n1\t0\t1\t1\t\r\n1\t1\t0\t1\t\r\n0\t1\t1\t0\t\r\n");
  EXPECT_EQ(window.loops.lines, (std::vector<std::string>{"1)   2->3  3->1  1->2  ", "2)   4->3  3->2  2->4  "}));
  EXPECT_EQ(window.branchValues.lines.front(), "Z12 =  1");
}

TEST_F(CircuitCheckTest, DanglingBranchKeepsWhatWasWrittenBeforeTheFailure) {
  const CircuitCheckOutcome outcome = Run(TableOf({"1->2", "2->3", "3->1", "3->4"}, ""));
  EXPECT_EQ(outcome.loopResult, LoopSearchResult::NotClosed);
  EXPECT_EQ(Bytes("out.txt"), ToFileBytes("1)\tZ12=0.00000+0.00000i\t\tE12=0.00000+0.00000i\t\t\n"
                                          "2)\tZ23=0.00000+0.00000i\t\tE23=0.00000+0.00000i\t\t\n"
                                          "3)\tZ31=0.00000+0.00000i\t\tE31=0.00000+0.00000i\t\t\n"
                                          "4)\tZ34=0.00000+0.00000i\t\tE34=0.00000+0.00000i\t\t\n"
                                          "\nКонтуры в цепи\n"
                                          "2->3\t3->1\t1->2\t\n"));
}

TEST_F(CircuitCheckTest, BadCellStopsTheTestWithTheMethodsLocked) {
  ASSERT_TRUE(Run(TableOf({"1->2", "2->3", "3->1", "3->4", "4->1"})).passed);
  ASSERT_FALSE(state.NeedsTest);
  EXPECT_THROW(Run(TableOf({"1->2", "2->3", "3->1", "3->4", "4->1"}, "1,2x")), ConversionError);
  EXPECT_TRUE(state.NeedsTest);
  EXPECT_EQ(Bytes("out.txt"), "");
  EXPECT_TRUE(window.branchValues.lines.empty());
}

TEST_F(CircuitCheckTest, MissingResultsDirectoryIsCreated) {
  ResultsDirectory nested(Path() / "Results");
  const CircuitCheckOutcome outcome =
      RunCircuitCheck(state, TableOf({"1->2", "2->3", "3->1", "3->4", "4->1"}), {"15", 0}, nested, window.views);
  EXPECT_TRUE(outcome.passed);
  EXPECT_TRUE(nested.TakeFailedFiles().empty());
  EXPECT_FALSE(Bytes("Results/out.txt").empty());
}

// The zero node of a tested circuit: any of its nodes for the node method
// and the export, a junction for the optimal method; a circuit without
// junctions is refused as such whatever node is typed in it.
TEST_F(CircuitCheckTest, ZeroNodeRefusalsInTheirOrder) {
  using Z = ZeroNodeRefusal;
  struct Case {
    std::vector<std::string> names;
    int zeroNode;
    Z anyNode, junction;
  };
  const std::vector<std::string> twoJunctions = {"1->2", "2->3", "3->1", "3->4", "4->1"};  // junctions 1 and 3
  const std::vector<std::string> oneExtendedLoop = {"1->2", "2->3", "3->1"};               // no junction
  const Case cases[] = {
      {twoJunctions, 1, Z::None, Z::None},           {twoJunctions, 2, Z::None, Z::NotAJunction},
      {twoJunctions, 4, Z::None, Z::NotAJunction},   {twoJunctions, 0, Z::NotANode, Z::NotANode},
      {twoJunctions, 5, Z::NotANode, Z::NotANode},   {twoJunctions, -3, Z::NotANode, Z::NotANode},
      {oneExtendedLoop, 2, Z::None, Z::NoJunctions}, {oneExtendedLoop, 4, Z::NotANode, Z::NotANode},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.names.size() << " branches, zero node " << c.zeroNode);
    // One loop alone is a circuit only where extended circuits are on.
    state.Extended = c.names == oneExtendedLoop;
    ASSERT_TRUE(Run(TableOf(c.names)).passed);
    EXPECT_EQ(ZeroNodeRefusalOf(state, c.zeroNode, false), c.anyNode);
    EXPECT_EQ(ZeroNodeRefusalOf(state, c.zeroNode, true), c.junction);
  }
}

}  // namespace
}  // namespace ohmara
