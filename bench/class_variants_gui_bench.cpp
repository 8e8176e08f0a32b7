// A class set of 30 variants with K = 3 and P = 6: drawn, tested, solved by
// the three methods, written as branch-table files and both PDFs, against
// one solving of the same 30 tables by the three methods. Target: the whole
// set within 5 s (its _ms counter <= 5000).

#include <benchmark/benchmark.h>

#include <iostream>

#include "reference_runs.h"
#include "support/scratch_directory.h"
#include "ui/offscreen_pdf_output.h"
#include "variants/variant_set.h"

namespace ohmara::bench {
namespace {

VariantSettings ClassSet() {
  VariantSettings settings;
  settings.count = 30;
  settings.seed = 7;
  settings.loops = 3;
  settings.points = 6;
  return settings;
}

double SolvingCpuSeconds(const std::vector<Variant>& variants) {
  const double start = ProcessCpuSeconds();
  for (const Variant& variant : variants)
    benchmark::DoNotOptimize(SolveCircuit(variant.table, variant.frequency, variant.zeroNode, ClassSet().methods));
  return ProcessCpuSeconds() - start;
}

void BM_ClassSetWithPdfs(benchmark::State& bench) {
  ScratchDirectory dir("ohmara-variants-bench");
  OffscreenPdfOutput pdf(std::cerr);
  const double reference = SolvingCpuSeconds(MakeVariants(ClassSet()));
  TimeAgainst(bench, reference, [&] {
    if (!WriteVariantSet(dir.Path() / "set", MakeVariants(ClassSet()), pdf).empty())
      bench.SkipWithError("the set was not written");
  });
}

BENCHMARK(BM_ClassSetWithPdfs)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace
}  // namespace ohmara::bench

BENCHMARK_MAIN();
