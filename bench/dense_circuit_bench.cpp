// "Тест" on the densest circuit worth trying, the complete graph on 40 nodes
// (780 branches, 741 loops): nearly all of it is the loop search. Target:
// cpu_ms <= 1000.

#include <benchmark/benchmark.h>

#include <string>

#include "analysis/circuit_check.h"
#include "reference_runs.h"
#include "support/scratch_directory.h"

namespace ohmara::bench {
namespace {

BranchTable CompleteGraph(int nodes) {
  BranchTable table;
  for (int a = 1; a <= nodes; ++a)
    for (int b = a + 1; b <= nodes; ++b)
      table.push_back({std::to_string(a) + "->" + std::to_string(b), std::to_string(1 + (a * b) % 9), "", "", "", ""});
  return table;
}

void BM_CircuitTestOnCompleteGraph(benchmark::State& bench) {
  ScratchDirectory dir("ohmara-dense-bench");
  ResultsDirectory results(dir.Path());
  const BranchTable table = CompleteGraph(static_cast<int>(bench.range(0)));
  bool passed = true;
  TimeAgainst(bench, 0.0, [&] {
    CircuitState state;
    MeshTexts window;
    MeshViews views = window.Views();
    passed = passed && RunCircuitCheck(state, table, {"50", 0}, results, views).passed;
  });
  if (!passed) bench.SkipWithError("the complete graph did not pass the test");
}

BENCHMARK(BM_CircuitTestOnCompleteGraph)->Arg(40)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace ohmara::bench

BENCHMARK_MAIN();
