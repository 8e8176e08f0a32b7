// The editor's long commands at the sizes the issue names: "Нарисовать по
// таблице" for the largest grid (255 nodes, 478 branches) and for a table of
// 1000 rows, "Загрузить схему" for a drawing of 8000 branches, and one undo
// step on that drawing. The reference is a plain write of the scheme file's
// bytes, measured in the same run: the ratio says how many such writes the
// command costs.

#include <benchmark/benchmark.h>

#include "editor/scheme_file.h"
#include "editor/sheet_editor.h"
#include "editor/table_to_drawing.h"
#include "largest_circuit.h"
#include "reference_runs.h"
#include "support/grid_circuit.h"
#include "support/scratch_directory.h"

namespace ohmara {
namespace {

// 8000 vertical branches side by side in rows, each joined to its neighbour
// by a short wire: the bands and wires of a very large scheme.
SheetDrawing LargeDrawing() {
  SheetDrawing drawing;
  int node = 1;
  for (int row = 0; row < 80; ++row)
    for (int column = 0; column < 100; ++column) {
      const SheetBranch b = MakeSheetBranch(20 + 40 * column, 20 + 160 * row, node, node + 1, true, {1, 0, 0, 0, 0});
      drawing.AppendBranch(b);
      drawing.BlockFootprint(b);
      node += 2;
    }
  return drawing;
}

double SchemeWriteReference(const SheetDrawing& drawing) {
  ScratchDirectory scratch;
  return bench::PlainWriteCpuSeconds(scratch.Path(), SchemeFileText(drawing).size(), bench::PlainWrite::kReplacing);
}

void BM_DrawLargestGridTable(benchmark::State& state) {
  const BranchTable table = bench::LargestGridTable();
  const double reference = SchemeWriteReference(LayOutBranchTable(table).drawing);
  size_t wires = 0;
  bench::TimeAgainst(state, reference, [&] { wires = LayOutBranchTable(table).drawing.Connections().size(); });
  state.counters["wires"] = static_cast<double>(wires);
}

void BM_DrawTableOf1000Rows(benchmark::State& state) {
  const BranchTable table = RingWithChordsTable(1000);
  const double reference = SchemeWriteReference(LayOutBranchTable(table).drawing);
  size_t wires = 0;
  bench::TimeAgainst(state, reference, [&] { wires = LayOutBranchTable(table).drawing.Connections().size(); });
  state.counters["wires"] = static_cast<double>(wires);
}

void BM_LoadSchemeOf8000Branches(benchmark::State& state) {
  const SheetDrawing drawing = LargeDrawing();
  const std::string text = SchemeFileText(drawing);
  const double reference = SchemeWriteReference(drawing);
  bench::TimeAgainst(state, reference, [&] { benchmark::DoNotOptimize(ParseSchemeText(text, "large.sch")); });
}

void BM_UndoOneStepOf8000Branches(benchmark::State& state) {
  ScratchDirectory scratch;
  const auto path = scratch.Path() / "large.sch";
  SaveSchemeFile(path, LargeDrawing());
  SheetEditor editor;
  editor.LoadScheme(path);
  editor.Select(SheetSelection{SheetSelection::Kind::Branch, 0});
  double value = 1;
  for (auto _ : state) {
    state.PauseTiming();
    editor.SetSelectedValues({++value, 0, 0, 0, 0});
    state.ResumeTiming();
    editor.Undo();
  }
}

BENCHMARK(BM_DrawLargestGridTable)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_DrawTableOf1000Rows)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadSchemeOf8000Branches)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_UndoOneStepOf8000Branches)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace ohmara

BENCHMARK_MAIN();
