// The loop search on random circuits of every density, against what it
// found before its independence test and path searches were made
// incremental: the loops of every circuit, in order, digested together.

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "analysis/loop_search.h"
#include "support/results_fixture.h"
#include "support/sha256.h"

namespace ohmara {
namespace {

// A connected circuit: a random spanning tree, then each further pair of
// nodes joined with a probability drawn per circuit, from sparse to complete;
// names shuffled and directions random.
std::vector<std::string> RandomConnectedCircuit(std::mt19937& random) {
  const int nodes = std::uniform_int_distribution<int>(3, 22)(random);
  const double density = std::uniform_real_distribution<double>(0.0, 1.0)(random);
  auto pick = [&](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
  std::set<std::pair<int, int>> edges;
  for (int v = 2; v <= nodes; ++v) edges.insert({1 + pick(v - 1), v});
  for (int a = 1; a <= nodes; ++a)
    for (int b = a + 1; b <= nodes; ++b)
      if (std::bernoulli_distribution(density)(random)) edges.insert({a, b});
  std::vector<std::string> names;
  for (const auto& [a, b] : edges)
    names.push_back(pick(2) ? std::to_string(a) + "->" + std::to_string(b) : std::to_string(b) + "->" + std::to_string(a));
  std::shuffle(names.begin(), names.end(), random);
  return names;
}

// Everything a search leaves: its result, the loops in order and the counts
// of its passes.
std::string SearchRecord(const std::vector<std::string>& names) {
  CircuitState state;
  EXPECT_EQ(ParseBranchTable(names, state.Branches, state.NodeCount), kParseOk);
  BuildAdjacency(state.Branches, state.NodeCount, state.Adjacency);
  ScratchResults files;
  MemoLines conts;
  LoopSearchCounts counts;
  std::string record = std::to_string(FindLoops(state, files.Results(), conts, counts)) + ":";
  for (int count : {counts.firstPass, counts.joined, counts.joinsRefused, counts.completed})
    record += std::to_string(count) + ",";
  for (const TLoop& loop : state.Loops) {
    for (const TBranch& step : loop.Steps) record += std::to_string(step.From) + ">" + std::to_string(step.To) + " ";
    record += ";";
  }
  return record + "\n";
}

TEST(LoopSearchDifferential, RandomCircuitsFindTheLoopsTheyAlwaysFound) {
  std::string records;
  for (unsigned seed = 1; seed <= 600; ++seed) {
    std::mt19937 random(seed);
    records += SearchRecord(RandomConnectedCircuit(random));
  }
  EXPECT_EQ(records.size(), 343243u);
  EXPECT_EQ(Sha256Hex(records), "7dbcf0db3832488d4d8603a5ecee0c60baf30c668e42ea76e81b98730e8116b9");
}

}  // namespace
}  // namespace ohmara
