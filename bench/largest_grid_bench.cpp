// The largest circuit the program accepts (the 15 x 17 grid: 255 nodes, 478
// branches) solved by each method with its files written, against one
// `ngspice -b` run of the same grid; the solver's trace written against a
// plain write of as many bytes; and the peak memory of a fresh process that
// tests the grid and runs one method. Targets: ratio <= 2 for the methods,
// <= 3 for the trace, peak <= 40 MiB.

#include <benchmark/benchmark.h>

#include <string>

#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "analysis/optimal_node_potential.h"
#include "analysis/spice_netlist.h"
#include "largest_circuit.h"
#include "reference_runs.h"
#include "support/scratch_directory.h"
#include "support/spice_oracle.h"

namespace ohmara::bench {
namespace {

// The middle node of the grid: real, with four neighbours.
constexpr int kZeroNode = (kGridRows / 2) * kGridColumns + kGridColumns / 2 + 1;

bool RunMethod(const std::string& method, CircuitState& state, ResultsDirectory& results) {
  if (method == "mesh") {
    MeshTexts window;
    MeshViews views = window.Views();
    return MeshCurrentMethod(state, results, views);
  }
  NodeTexts window;
  NodeViews views = window.Views();
  const NodeMethod run = method == "basic" ? NodePotentialMethod : OptimalNodePotentialMethod;
  return run(state, kZeroNode, results, views, nullptr);
}

double GridSpiceSeconds() {
  static const double seconds = [] {
    ScratchDirectory dir("ohmara-grid-bench-netlist");
    ResultsDirectory results(dir.Path());
    const CircuitState state = TestedLargestGrid(results);
    return SpiceCpuSeconds(SpiceNetlist(state.Branches, LargestGridTable(), FrequencySetting{"50", 0}, kZeroNode));
  }();
  return seconds;
}

// Each method with Currents.txt or Potential.txt and out.txt written.
void BM_MethodWithFiles(benchmark::State& bench, const std::string& method) {
  ScratchDirectory dir("ohmara-grid-bench-method");
  ResultsDirectory results(dir.Path());
  CircuitState state = TestedLargestGrid(results);
  TimeAgainst(bench, GridSpiceSeconds(), [&] { benchmark::DoNotOptimize(RunMethod(method, state, results)); });
  bench.counters["peak_MiB"] = PeakMiBOfRun(method);
  if (!results.TakeFailedFiles().empty()) bench.SkipWithError("a results file was not written");
}

// The elimination of the loop system with its trace streamed to
// Currents.txt, against a plain write of the bytes the file ends up with
// (ratio), and against the same bytes written over the file in place
// (in_place_ratio: what formatting and solving add to the least the bytes
// cost).
void BM_TraceWritten(benchmark::State& bench) {
  ScratchDirectory dir("ohmara-grid-bench-trace");
  ResultsDirectory results(dir.Path());
  const CircuitState state = TestedLargestGrid(results);
  const ComplexMatrix system = LoopSystem(state);
  ComplexMatrix first = system;
  SolveLinearSystem(first, state.LoopCount(), results, "Currents.txt");
  const size_t bytes = static_cast<size_t>(FileBytes(dir.Path() / "Currents.txt"));
  TimeAgainst(bench, PlainWriteCpuSeconds(dir.Path(), bytes, PlainWrite::kReplacing), [&] {
    ComplexMatrix rows = system;
    benchmark::DoNotOptimize(SolveLinearSystem(rows, state.LoopCount(), results, "Currents.txt"));
  });
  const double inPlace = PlainWriteCpuSeconds(dir.Path(), bytes, PlainWrite::kInPlace);
  bench.counters["in_place_ref_ms"] = inPlace * 1e3;
  bench.counters["in_place_ratio"] = bench.counters["cpu_ms"] / (inPlace * 1e3);
  bench.counters["trace_MB"] = static_cast<double>(bytes) / 1e6;
}

BENCHMARK_CAPTURE(BM_MethodWithFiles, mesh, std::string("mesh"))->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_MethodWithFiles, basic_nodal, std::string("basic"))->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_MethodWithFiles, optimal_nodal, std::string("optimal"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_TraceWritten)->Unit(benchmark::kMillisecond)->Iterations(3);

int PeakRun(const std::string& method) {
  ScratchDirectory dir("ohmara-grid-bench-peak");
  ResultsDirectory results(dir.Path());
  CircuitState state = TestedLargestGrid(results);
  return RunMethod(method, state, results) && results.TakeFailedFiles().empty() ? 0 : 1;
}

}  // namespace
}  // namespace ohmara::bench

int main(int argc, char** argv) {
  ohmara::bench::RunPeakChildIfAsked(argc, argv, ohmara::bench::PeakRun);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
