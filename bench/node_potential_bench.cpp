// Both node-potential methods on the largest circuit the program accepts (the
// 15 x 17 grid of largest_circuit.h). Every run also writes the solver's
// trace of Potential.txt, which at this size is a few hundred megabytes and
// dominates the time.

#include <benchmark/benchmark.h>

#include "analysis/node_potential.h"
#include "analysis/optimal_node_potential.h"
#include "largest_circuit.h"
#include "support/scratch_directory.h"

namespace ohmara {
namespace {

// The middle node of the grid: real, with four neighbours.
constexpr int kZeroNode = (bench::kGridRows / 2) * bench::kGridColumns + bench::kGridColumns / 2 + 1;

void RunNodeMethod(benchmark::State& run, NodeMethod method) {
  ScratchDirectory directory("ohmara-node-potential-bench");
  ResultsDirectory results(directory.Path());
  CircuitState state = bench::TestedLargestGrid(results);
  for (auto _ : run) {
    NodeTexts window;
    NodeViews views = window.Views();
    benchmark::DoNotOptimize(method(state, kZeroNode, results, views, nullptr));
  }
  run.counters["nodes"] = state.NodeCount;
  run.counters["branches"] = state.BranchCount();
  run.counters["trace_MB"] = bench::FileBytes(directory.Path() / "Potential.txt") / 1e6;
}

void BM_NodePotentialMethod(benchmark::State& run) { RunNodeMethod(run, NodePotentialMethod); }
void BM_OptimalNodePotentialMethod(benchmark::State& run) { RunNodeMethod(run, OptimalNodePotentialMethod); }

// The chain walk of the optimal method alone.
void BM_BuildChains(benchmark::State& run) {
  ScratchDirectory directory("ohmara-build-chains-bench");
  ResultsDirectory results(directory.Path());
  CircuitState state = bench::TestedLargestGrid(results);
  for (auto _ : run) benchmark::DoNotOptimize(BuildChains(state));
}

BENCHMARK(BM_NodePotentialMethod)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OptimalNodePotentialMethod)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildChains)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ohmara

BENCHMARK_MAIN();
