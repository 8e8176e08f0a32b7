// The largest exercise the generator hands out (9 loops over 19 points):
// "Тест", the three methods and all their files, against one `ngspice -b`
// run of the same circuit. Target: ratio <= 0.1.

#include <benchmark/benchmark.h>

#include <stdexcept>

#include "analysis/circuit_check.h"
#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "analysis/optimal_node_potential.h"
#include "analysis/spice_netlist.h"
#include "generator/random_circuit.h"
#include "reference_runs.h"
#include "support/scratch_directory.h"
#include "support/spice_oracle.h"

namespace ohmara::bench {
namespace {

// Test, then every method on the tested circuit, as a student runs them.
void TestAndSolve(const RandomCircuit& circuit, ResultsDirectory& results) {
  CircuitState state;
  MeshTexts meshWindow;
  MeshViews meshViews = meshWindow.Views();
  const FrequencySetting frequency{std::to_string(circuit.Frequency), 0};
  if (!RunCircuitCheck(state, circuit.Table, frequency, results, meshViews).passed)
    throw std::runtime_error("the generated circuit failed the test");
  MeshCurrentMethod(state, results, meshViews);
  int zero = 1;
  while (!state.RealNodes.contains(zero)) ++zero;
  NodeTexts nodalWindow;
  NodeViews nodalViews = nodalWindow.Views();
  NodePotentialMethod(state, zero, results, nodalViews);
  OptimalNodePotentialMethod(state, zero, results, nodalViews);
}

void BM_TestAndThreeMethods(benchmark::State& bench) {
  ScratchDirectory dir("ohmara-classroom-bench");
  ResultsDirectory results(dir.Path());
  EngineRandomSource random(2024);
  const RandomCircuit circuit = GenerateRandomCircuit(9, 19, random, results);
  CircuitState parsed;
  int nodes = 0;
  ParseBranchTable(BranchNames(circuit.Table), parsed.Branches, nodes);
  const FrequencySetting frequency{std::to_string(circuit.Frequency), 0};
  const double spice =
      SpiceCpuSeconds(SpiceNetlist(parsed.Branches, circuit.Table, frequency, parsed.Branches[0].From));
  TimeAgainst(bench, spice, [&] { TestAndSolve(circuit, results); });
  bench.counters["branches"] = static_cast<double>(circuit.Table.size());
  if (!results.TakeFailedFiles().empty()) bench.SkipWithError("a results file was not written");
}

BENCHMARK(BM_TestAndThreeMethods)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace
}  // namespace ohmara::bench

BENCHMARK_MAIN();
