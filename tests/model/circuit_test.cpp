#include "model/circuit.h"

#include <gtest/gtest.h>

namespace ohmara {
namespace {

ParseResult Parse(const std::vector<std::string>& names, int* nodeCount = nullptr) {
  std::vector<CircuitBranch> branches;
  int count = -1;
  const ParseResult code = ParseBranchTable(names, branches, count);
  if (nodeCount) *nodeCount = count;
  return code;
}

TEST(ParseBranchName, Syntax) {
  struct Case {
    const char* name;
    bool ok;
    int from, to;
  };
  const Case cases[] = {
      {"1->2", true, 1, 2},   {"10->2", true, 10, 2}, {"1->2->3", true, 2, 3}, {"255->1", true, 255, 1},
      {"01->2", false, 0, 0}, {"1->02", false, 0, 0}, {"1-2", false, 0, 0},    {"1 ->2", false, 0, 0},
      {"1->", false, 0, 0},   {"->2", false, 0, 0},   {"-1->2", false, 0, 0},  {"1->2x", false, 0, 0},
      {"", false, 0, 0},      {"3->3", false, 0, 0},  {"256->1", false, 0, 0}, {"1->99999999999999", false, 0, 0},
      {"1", false, 0, 0},     {" 1->2", false, 0, 0}, {"1->2 ", false, 0, 0},  {"1-", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
    int from = 0, to = 0;
    EXPECT_EQ(ParseBranchName(c.name, from, to), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(from, c.from) << c.name;
      EXPECT_EQ(to, c.to) << c.name;
    }
  }
}

TEST(ParseBranchTable, OutcomesInTheirOrder) {
  struct Case {
    std::vector<std::string> names;
    ParseResult code;
  };
  const Case cases[] = {
      {{"1->2", "2->3", "3->1"}, ParseResult::Ok},
      {{"1->2", "2->1", "2->3", "3->1"}, ParseResult::Malformed},                             // repeated crosswise
      {{"1->2", "1->2", "2->3", "3->1"}, ParseResult::Malformed},                             // repeated
      {{"1->2", "2->3", "3->1", "4->5", "5->6", "6->4"}, ParseResult::Disconnected},          // two triangles
      {{"1->2", "2->3", "3->1", "4->5", "5->6", "6->4", "1->2"}, ParseResult::Disconnected},  // repeat comes later
      {{"1->2", "2->3", "3->1", "5->6", "6->7", "7->5"}, ParseResult::Disconnected},          // gap comes later
      {{"4->5", "5->6", "6->4", "1->2", "2->3", "3->1", "1-2"}, ParseResult::Malformed},      // a bad name comes first
      {{"1->2", "3->4", "3->1"}, ParseResult::Ok},
      {{"1->2", "3->4", "1->3"}, ParseResult::Ok},
      {{"1->2", "2->4", "4->1"}, ParseResult::Malformed},  // node 3 missing
      {{"1->2", "2->300"}, ParseResult::Malformed},
      {{"1->2", "", "2->1"}, ParseResult::Malformed},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.names), c.code) << ::testing::PrintToString(c.names);
}

TEST(ParseBranchTable, SetsNodeCountOnlyOnSuccess) {
  int count = 0;
  EXPECT_EQ(Parse({}, &count), ParseResult::Ok);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(Parse({"1->2", "2->3", "3->1", "3->4", "4->1"}, &count), ParseResult::Ok);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(Parse({"1->2", "1-2"}, &count), ParseResult::Malformed);
  EXPECT_EQ(count, -1);
}

TEST(ParseBranchTable, FailingTableKeepsNodesOfRowsBeforeTheFailure) {
  std::vector<CircuitBranch> branches;
  int count = 0;
  EXPECT_EQ(ParseBranchTable({"1->2", "2->3", "x", "3->1"}, branches, count), ParseResult::Malformed);
  ASSERT_EQ(branches.size(), 4u);
  EXPECT_EQ(branches[1].From, 2);
  EXPECT_EQ(branches[1].To, 3);
  EXPECT_EQ(branches[3].From, 0);
}

TEST(CircuitModel, AdjacencyRealNodesAndFindBranch) {
  CircuitState state;
  ASSERT_EQ(ParseBranchTable({"1->2", "2->3", "3->1", "3->4", "4->1"}, state.Branches, state.NodeCount),
            ParseResult::Ok);
  BuildAdjacency(state.Branches, state.NodeCount, state.Adjacency);
  const std::vector<std::vector<int>> expected = {{0, 1, 1, 1}, {1, 0, 1, 0}, {1, 1, 0, 1}, {1, 0, 1, 0}};
  EXPECT_EQ(state.Adjacency, expected);
  int m = 0, n = 0;
  CountRealNodes(state, m, n);
  EXPECT_EQ(m, 3);
  EXPECT_EQ(n, 2);
  EXPECT_TRUE(state.RealNodes.contains(1));
  EXPECT_TRUE(state.RealNodes.contains(3));
  EXPECT_FALSE(state.RealNodes.contains(2));
  EXPECT_EQ(FindBranch(state.Branches, 1, 3), 2);
  EXPECT_EQ(FindBranch(state.Branches, 3, 1), 2);
  EXPECT_EQ(FindBranch(state.Branches, 4, 3), 3);
  EXPECT_EQ(FindBranch(state.Branches, 1, 2), 0);  // the first branch is found, not taken for "none"
  EXPECT_EQ(FindBranch(state.Branches, 2, 4), std::nullopt);
}

TEST(IntSet, MembershipAndOperations) {
  IntSet a, b;
  a.add(0);
  a.add(255);
  a.add(256);
  a.add(-1);
  EXPECT_TRUE(a.contains(0));
  EXPECT_TRUE(a.contains(255));
  EXPECT_FALSE(a.contains(256));
  EXPECT_FALSE(a.contains(-1));
  b.add(255);
  b.add(9);
  const IntSet both = IntSet::intersect(a, b);
  EXPECT_TRUE(both.contains(255));
  EXPECT_FALSE(both.contains(9));
  a.unite(b);
  EXPECT_TRUE(a.contains(9));
  a.remove(9);
  a.remove(300);
  EXPECT_FALSE(a.contains(9));
  IntSet c = a;
  EXPECT_TRUE(c == a);
  c.clear();
  EXPECT_TRUE(c.empty());
}

}  // namespace
}  // namespace ohmara
