// The loop search on random circuits of every density, against what it
// found before its independence test and path searches were made
// incremental: the loops of every circuit, in order, digested together; and
// the independence test against the implementation it replaced, kept here,
// answer for answer.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "analysis/loop_independence.h"
#include "analysis/loop_search.h"
#include "support/results_fixture.h"
#include "support/sha256.h"

namespace ohmara {
namespace {

// The independence test as it was: every prime the Hadamard bound asks for
// kept current with every kept loop, each answer computed afresh.
class WholeBoundIndependence {
 public:
  explicit WholeBoundIndependence(const std::vector<CircuitBranch>& branches) : incidence_(branches) {}

  bool IsIndependent(const Loop& loop) { return IndependentRow(incidence_.Incidence(loop)); }
  bool Add(const Loop& loop) {
    std::vector<int> row = incidence_.Incidence(loop);
    if (!IndependentRow(row)) return false;
    for (Echelon& echelon : echelons_) echelon.Insert(row);
    keptBits_ += HadamardBits(row);
    kept_.push_back(std::move(row));
    return true;
  }

 private:
  struct Echelon {
    uint32_t prime = 0;
    std::vector<std::vector<uint32_t>> rows;
    std::vector<int> pivots;
    std::vector<uint32_t> Residue(const std::vector<int>& row) const {
      std::vector<uint32_t> residue(row.size());
      for (size_t c = 0; c < row.size(); ++c) {
        const int64_t r = static_cast<int64_t>(row[c]) % static_cast<int64_t>(prime);
        residue[c] = static_cast<uint32_t>(r < 0 ? r + prime : r);
      }
      for (size_t i = 0; i < rows.size(); ++i) {
        const uint64_t factor = residue[pivots[i]];
        if (factor == 0) continue;
        for (size_t c = 0; c < residue.size(); ++c)
          residue[c] = static_cast<uint32_t>((residue[c] + prime - factor * rows[i][c] % prime) % prime);
      }
      return residue;
    }
    void Insert(const std::vector<int>& row) {
      std::vector<uint32_t> residue = Residue(row);
      int pivot = 0;
      while (pivot < static_cast<int>(residue.size()) && residue[pivot] == 0) ++pivot;
      if (pivot == static_cast<int>(residue.size())) return;
      uint64_t inverse = 1, base = residue[pivot];
      for (uint32_t e = prime - 2; e; e >>= 1, base = base * base % prime)
        if (e & 1) inverse = inverse * base % prime;
      for (uint32_t& entry : residue) entry = static_cast<uint32_t>(entry * inverse % prime);
      rows.push_back(std::move(residue));
      pivots.push_back(pivot);
    }
  };

  static double HadamardBits(const std::vector<int>& row) {
    double squares = 0.0;
    for (int entry : row) squares += static_cast<double>(entry) * entry;
    return squares > 0.0 ? 0.5 * std::log2(squares) : 0.0;
  }
  static uint32_t NthPrime(size_t index) {
    static std::vector<uint32_t> primes;
    auto isPrime = [](uint32_t n) {
      for (uint32_t d = 3; d <= n / d; d += 2)
        if (n % d == 0) return false;
      return true;
    };
    uint32_t candidate = primes.empty() ? 0x7FFFFFFFu : primes.back() - 2;
    while (primes.size() <= index) {
      while (!isPrime(candidate)) candidate -= 2;
      primes.push_back(candidate);
      candidate -= 2;
    }
    return primes[index];
  }
  bool IndependentRow(const std::vector<int>& row) {
    const double bits = keptBits_ + HadamardBits(row) + 1.0;
    while (static_cast<int>(echelons_.size()) < static_cast<int>(bits / 30) + 1) {
      Echelon echelon;
      echelon.prime = NthPrime(echelons_.size());
      for (const std::vector<int>& kept : kept_) echelon.Insert(kept);
      echelons_.push_back(std::move(echelon));
    }
    for (const Echelon& echelon : echelons_)
      if (echelon.rows.size() == kept_.size() && echelon.Residue(row) != std::vector<uint32_t>(row.size(), 0))
        return true;
    return false;
  }

  LoopIndependence incidence_;  // only for the incidence rows
  std::vector<std::vector<int>> kept_;
  double keptBits_ = 0.0;
  std::vector<Echelon> echelons_;
};

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
    names.push_back(pick(2) ? std::to_string(a) + "->" + std::to_string(b)
                            : std::to_string(b) + "->" + std::to_string(a));
  std::shuffle(names.begin(), names.end(), random);
  return names;
}

// Everything a search leaves: its result, the loops in order and the counts
// of its passes.
std::string SearchRecord(const std::vector<std::string>& names) {
  CircuitState state;
  EXPECT_EQ(ParseBranchTable(names, state.Branches, state.NodeCount), ParseResult::Ok);
  BuildAdjacency(state.Branches, state.NodeCount, state.Adjacency);
  ScratchResults files;
  MemoLines conts;
  LoopSearchCounts counts;
  std::string record = std::to_string(static_cast<int>(FindLoops(state, files.Results(), conts, counts))) + ":";
  for (int count : {counts.firstPass, counts.joined, counts.joinsRefused, counts.completed})
    record += std::to_string(count) + ",";
  for (const Loop& loop : state.Loops) {
    for (const CircuitBranch& step : loop.Steps)
      record += std::to_string(step.From) + ">" + std::to_string(step.To) + " ";
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

// Loops a circuit offers in plenty, many of them dependent on the others:
// the shortest loop through every branch and the fundamental loops of its
// breadth-first tree, each also reversed, in random order.
std::vector<Loop> CandidateLoops(const CircuitState& state, std::mt19937& random) {
  std::vector<Loop> loops;
  const std::vector<bool> inTree = BreadthFirstTree(state);
  for (int i = 0; i < state.BranchCount(); ++i) {
    const CircuitBranch& branch = state.Branches[i];
    std::vector<std::vector<int>> around = state.Adjacency, tree(state.NodeCount, std::vector<int>(state.NodeCount, 0));
    around[branch.From - 1][branch.To - 1] = around[branch.To - 1][branch.From - 1] = 0;
    for (int j = 0; j < state.BranchCount(); ++j)
      if (inTree[j])
        tree[state.Branches[j].From - 1][state.Branches[j].To - 1] =
            tree[state.Branches[j].To - 1][state.Branches[j].From - 1] = 1;
    for (auto* work : {&around, &tree}) {
      Loop loop;
      if (!ShortestPath(*work, state.NodeCount, branch.From - 1, branch.To - 1, state.Branches, loop)) continue;
      loops.push_back(loop);
      std::reverse(loop.Steps.begin(), loop.Steps.end());
      std::reverse(loop.Branches.begin(), loop.Branches.end());
      for (CircuitBranch& step : loop.Steps) std::swap(step.From, step.To);
      loops.push_back(loop);
    }
  }
  std::shuffle(loops.begin(), loops.end(), random);
  return loops;
}

TEST(LoopSearchDifferential, IndependenceAnswersAsTheWholeBoundTestDid) {
  int dependent = 0;
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 random(seed);
    CircuitState state;
    ASSERT_EQ(ParseBranchTable(RandomConnectedCircuit(random), state.Branches, state.NodeCount), ParseResult::Ok);
    BuildAdjacency(state.Branches, state.NodeCount, state.Adjacency);
    LoopIndependence incremental(state.Branches);
    WholeBoundIndependence whole(state.Branches);
    const std::vector<Loop> loops = CandidateLoops(state, random);
    for (size_t k = 0; k < loops.size(); ++k) {
      ASSERT_EQ(incremental.IsIndependent(loops[k]), whole.IsIndependent(loops[k])) << "seed " << seed << " loop " << k;
      const bool added = incremental.Add(loops[k]);
      ASSERT_EQ(added, whole.Add(loops[k])) << "seed " << seed << " loop " << k;
      dependent += !added;
    }
  }
  EXPECT_GT(dependent, 1000);  // the confirming primes were asked often
}

}  // namespace
}  // namespace ohmara
