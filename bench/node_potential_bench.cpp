// Both node-potential methods on the largest circuit the program accepts: a
// grid of 15 x 17 nodes (255, the node limit), tested as "Тест" does. Every
// run also writes the solver's trace of Potential.txt, which at this size is
// a few hundred megabytes and dominates the time.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "analysis/circuit_test.h"
#include "analysis/node_potential.h"
#include "analysis/optimal_node_potential.h"

namespace ohmara {
namespace {

constexpr int kRows = 15;
constexpr int kColumns = 17;

constexpr int GridNode(int row, int column) { return row * kColumns + column + 1; }

// Element cells that vary from branch to branch, with a source on every
// fifth branch, so that no two equations look alike.
BranchRow GridBranch(int from, int to, int k) {
  const std::string e = k % 5 == 0 ? std::to_string(5 + k % 11) : "";
  return {std::to_string(from) + "->" + std::to_string(to), std::to_string(1 + k % 7), k % 3 ? "2.5" : "",
          k % 4 ? "" : "470", e, e.empty() ? "" : std::to_string((k * 37) % 360)};
}

BranchTable GridTable() {
  BranchTable table;
  auto join = [&](int from, int to) { table.push_back(GridBranch(from, to, static_cast<int>(table.size()))); };
  for (int row = 0; row < kRows; ++row)
    for (int column = 0; column < kColumns; ++column) {
      if (column + 1 < kColumns) join(GridNode(row, column), GridNode(row, column + 1));
      if (row + 1 < kRows) join(GridNode(row, column), GridNode(row + 1, column));
    }
  return table;
}

// A results directory of its own under the system's temporary directory.
class BenchResults {
 public:
  BenchResults()
      : path_(std::filesystem::temp_directory_path() / "ohmara-node-potential-bench"), results_(path_) {}
  ~BenchResults() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ResultsDirectory& Results() { return results_; }
  double PotentialFileBytes() const {
    std::error_code error;
    const auto size = std::filesystem::file_size(path_ / "Potential.txt", error);
    return error ? 0.0 : static_cast<double>(size);
  }

 private:
  std::filesystem::path path_;
  ResultsDirectory results_;
};

CircuitState TestedGrid(ResultsDirectory& results) {
  CircuitState state;
  CurrFormTexts window;
  CurrFormViews views = window.Views();
  if (!RunCircuitTest(state, GridTable(), {"50", 0}, results, views).passed)
    throw std::runtime_error("the 15 x 17 grid does not pass the circuit test");
  return state;
}

// The middle node of the grid: real, with four neighbours.
constexpr int kZeroNode = GridNode(kRows / 2, kColumns / 2);

template <bool (*Method)(CircuitState&, int, ResultsDirectory&, PotFormViews&, NodalSolution*)>
void BM_NodeMethod(benchmark::State& bench) {
  BenchResults files;
  CircuitState state = TestedGrid(files.Results());
  for (auto _ : bench) {
    PotFormTexts window;
    PotFormViews views = window.Views();
    benchmark::DoNotOptimize(Method(state, kZeroNode, files.Results(), views, nullptr));
  }
  bench.counters["nodes"] = state.NodeCount;
  bench.counters["branches"] = state.BranchCount();
  bench.counters["trace_MB"] = files.PotentialFileBytes() / 1e6;
}

void BM_NodePotentialMethod(benchmark::State& bench) { BM_NodeMethod<NodePotentialMethod>(bench); }
void BM_OptimalNodePotentialMethod(benchmark::State& bench) { BM_NodeMethod<OptimalNodePotentialMethod>(bench); }

// The chain walk of the optimal method alone.
void BM_BuildChains(benchmark::State& bench) {
  BenchResults files;
  CircuitState state = TestedGrid(files.Results());
  for (auto _ : bench) benchmark::DoNotOptimize(BuildChains(state));
}

BENCHMARK(BM_NodePotentialMethod)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OptimalNodePotentialMethod)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildChains)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ohmara

BENCHMARK_MAIN();
