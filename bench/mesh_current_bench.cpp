// The circuit test and the mesh-current method on the largest circuit the
// program accepts (the 15 x 17 grid: 255 nodes, 224 loops), and what the
// solver's trace costs: its size, building its text, and writing it beside a
// plain write of the same bytes.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/circuit_check.h"
#include "analysis/linear_solver.h"
#include "analysis/mesh_current.h"
#include "largest_circuit.h"
#include "model/text_file.h"
#include "support/scratch_directory.h"

namespace ohmara::bench {
namespace {

// The trace of the grid's loop system, as the method writes it.
std::string GridTrace(const CircuitState& state) {
  ComplexMatrix rows = LoopSystem(state);
  std::string trace;
  SolveLinearSystemTrace(rows, state.LoopCount(), trace);
  return trace;
}

void BM_CircuitTest(benchmark::State& bench) {
  ScratchDirectory dir("ohmara-mesh-bench-test");
  ResultsDirectory results(dir.Path());
  const BranchTable table = LargestGridTable();
  for (auto _ : bench) {
    CircuitState state;
    MeshTexts window;
    MeshViews views = window.Views();
    benchmark::DoNotOptimize(RunCircuitCheck(state, table, {"50", 0}, results, views).passed);
  }
}

// The whole method with Currents.txt and out.txt written.
void BM_MeshCurrentMethodWritten(benchmark::State& bench) {
  ScratchDirectory dir("ohmara-mesh-bench-written");
  ResultsDirectory results(dir.Path());
  CircuitState state = TestedLargestGrid(results);
  for (auto _ : bench) {
    MeshTexts window;
    MeshViews views = window.Views();
    benchmark::DoNotOptimize(MeshCurrentMethod(state, results, views));
  }
  bench.counters["loops"] = state.LoopCount();
  bench.counters["trace_MB"] = FileBytes(dir.Path() / "Currents.txt") / 1e6;
}

// The same run with the results directory blocked by a file of that name:
// Currents.txt cannot be opened, so its trace is not even formatted.
void BM_MeshCurrentMethodTraceNotWritten(benchmark::State& bench) {
  ScratchDirectory dir("ohmara-mesh-bench-blocked");
  ResultsDirectory tested(dir.Path());
  CircuitState state = TestedLargestGrid(tested);
  std::ofstream(dir.Path() / "blocked") << "a file, not a directory";
  ResultsDirectory results(dir.Path() / "blocked" / "Results");
  for (auto _ : bench) {
    MeshTexts window;
    MeshViews views = window.Views();
    benchmark::DoNotOptimize(MeshCurrentMethod(state, results, views));
  }
  if (results.TakeFailedFiles().empty()) bench.SkipWithError("the blocked directory was written after all");
}

// Gauss–Jordan with the trace text built, nothing else.
void BM_SolveWithTraceText(benchmark::State& bench) {
  ScratchDirectory dir("ohmara-mesh-bench-solve");
  ResultsDirectory results(dir.Path());
  const CircuitState state = TestedLargestGrid(results);
  const ComplexMatrix system = LoopSystem(state);
  size_t bytes = 0;
  for (auto _ : bench) {
    ComplexMatrix rows = system;
    std::string trace;
    benchmark::DoNotOptimize(SolveLinearSystemTrace(rows, state.LoopCount(), trace));
    bytes = trace.size();
  }
  bench.SetBytesProcessed(static_cast<int64_t>(bench.iterations() * bytes));
}

// One traced matrix (the grid's loop system, 224 x 225 entries) in three
// ways that give the same text: the solver's own std::to_chars path, the
// program's general printf-style formatter, and the C library's snprintf.
void ByGeneralFormatter(std::string& text, const ComplexMatrix& rows, int n) {
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j <= n; ++j) text += ComplexFileText(rows[i][j], "%6.3lf", "+%5.3lfi\t", "%4.3lfi\t");
    text += '\n';
  }
  text += '\n';
}

void BySnprintf(std::string& text, const ComplexMatrix& rows, int n) {
  char buffer[700];
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j <= n; ++j) {
      const Complex z = rows[i][j];
      int length = std::snprintf(buffer, sizeof buffer, "%6.3lf", z.re);
      if (z.im >= 0) length += std::snprintf(buffer + length, sizeof buffer - length, "+%5.3lfi\t", z.im);
      else length += std::snprintf(buffer + length, sizeof buffer - length, "%4.3lfi\t", z.im);
      text.append(buffer, length);
    }
    text += '\n';
  }
  text += '\n';
}

template <void (*Append)(std::string&, const ComplexMatrix&, int)>
void BM_TraceMatrix(benchmark::State& bench) {
  ScratchDirectory dir("ohmara-mesh-bench-matrix");
  ResultsDirectory results(dir.Path());
  const CircuitState state = TestedLargestGrid(results);
  const ComplexMatrix system = LoopSystem(state);
  std::string expected;
  BySnprintf(expected, system, state.LoopCount());
  size_t bytes = 0;
  for (auto _ : bench) {
    std::string text;
    Append(text, system, state.LoopCount());
    if (text != expected) bench.SkipWithError("the text differs from snprintf's");
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  bench.SetBytesProcessed(static_cast<int64_t>(bench.iterations() * bytes));
}

void BM_TraceMatrixBySolver(benchmark::State& bench) { BM_TraceMatrix<AppendTraceMatrix>(bench); }
void BM_TraceMatrixByGeneralFormatter(benchmark::State& bench) { BM_TraceMatrix<ByGeneralFormatter>(bench); }
void BM_TraceMatrixBySnprintf(benchmark::State& bench) { BM_TraceMatrix<BySnprintf>(bench); }

// Writing the trace as the program does (UTF-8 to cp1251, LF to CR LF, one
// file write) against a plain write of the bytes the file ends up with.
void BM_WriteTraceAsResultsFile(benchmark::State& bench) {
  ScratchDirectory dir("ohmara-mesh-bench-write");
  ResultsDirectory results(dir.Path());
  const std::string trace = GridTrace(TestedLargestGrid(results));
  for (auto _ : bench) results.Rewrite("Currents.txt", trace);
  bench.SetBytesProcessed(static_cast<int64_t>(bench.iterations() * trace.size()));
  bench.counters["trace_MB"] = trace.size() / 1e6;
}

void BM_PlainWriteOfSameBytes(benchmark::State& bench) {
  ScratchDirectory dir("ohmara-mesh-bench-plain");
  ResultsDirectory results(dir.Path());
  const std::string bytes = ToFileBytes(GridTrace(TestedLargestGrid(results)));
  for (auto _ : bench) {
    std::ofstream file(dir.Path() / "Currents.txt", std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  bench.SetBytesProcessed(static_cast<int64_t>(bench.iterations() * bytes.size()));
}

BENCHMARK(BM_CircuitTest)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MeshCurrentMethodWritten)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MeshCurrentMethodTraceNotWritten)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SolveWithTraceText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TraceMatrixBySolver)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TraceMatrixByGeneralFormatter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TraceMatrixBySnprintf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteTraceAsResultsFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PlainWriteOfSameBytes)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace ohmara::bench

BENCHMARK_MAIN();
