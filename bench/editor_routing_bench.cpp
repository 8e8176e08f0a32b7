// The router at the worst its limits allow: terminals in opposite corners of
// a crowded sheet, so the search box is the whole sheet (84 x 60 cells
// inside), with wires to jump. One run that reaches its target across the
// sheet, one whose target is walled in, so the search takes every cell of the
// box before it gives up, and one whose way is longer than a wire may be.

#include <benchmark/benchmark.h>

#include <random>

#include "editor/random_sheets.h"
#include "editor/wire_router.h"

namespace ohmara {
namespace {

SheetDrawing CrowdedSheet() {
  std::mt19937 random(2024);
  SheetDrawing drawing = sheets::RandomBranches(random, 30);
  sheets::AddRandomWires(random, drawing, 20);
  return drawing;
}

// Free cells near the top-left and bottom-right corners that a route joins.
std::pair<GridCell, GridCell> FarApartCells(const OccupiedCells& occupied) {
  for (int a = 1; a < 20; ++a)
    for (int b = 1; b < 20; ++b) {
      const GridCell start{a, a}, target{85 - b, 61 - b};
      if (occupied.Contains(start) || occupied.Contains(target)) continue;
      OccupiedCells trial = occupied;
      if (RouteConnection(trial, start, target).result == RouteResult::Routed) return {start, target};
    }
  return {{1, 1}, {84, 60}};
}

void BM_RouteCornerToCornerOnACrowdedSheet(benchmark::State& run) {
  const OccupiedCells base = CrowdedSheet().Occupied();
  const auto [start, target] = FarApartCells(base);
  RouteResult result = RouteResult::NoRoute;
  size_t points = 0;
  for (auto _ : run) {
    run.PauseTiming();
    OccupiedCells occupied = base;
    run.ResumeTiming();
    const RouteOutcome outcome = RouteConnection(occupied, start, target);
    result = outcome.result;
    points = outcome.points.size();
  }
  run.counters["occupied"] = base.Count();
  run.counters["routed"] = result == RouteResult::Routed;
  run.counters["points"] = static_cast<double>(points);
}

void BM_RouteToAWalledInTarget(benchmark::State& run) {
  // A ring two cells deep round the target: nothing can jump it.
  OccupiedCells base = CrowdedSheet().Occupied();
  const auto [start, free] = FarApartCells(base);
  const GridCell target = free;
  for (int x = target.X - 3; x <= target.X + 3; ++x)
    for (int y = target.Y - 3; y <= target.Y + 3; ++y)
      if (std::max(std::abs(x - target.X), std::abs(y - target.Y)) >= 2) base.Insert({x, y});
  run.counters["occupied"] = base.Count();
  RouteResult result = RouteResult::Routed;
  for (auto _ : run) {
    run.PauseTiming();
    OccupiedCells occupied = base;
    run.ResumeTiming();
    result = RouteConnection(occupied, start, target).result;
  }
  run.counters["routed"] = result == RouteResult::Routed;
}

// Walls two cells thick across the whole sheet with openings at alternate
// ends: the way is longer than a wire may be, so the trace runs to its
// limit of 299 steps and is undone.
void BM_RouteThroughAMazeToTheTraceLimit(benchmark::State& run) {
  OccupiedCells base;
  for (int wall = 0; wall < 8; ++wall)
    for (int x = 1; x <= 84; ++x)
      if (wall % 2 == 0 ? x > 3 : x < 82)
        for (int y = 8 + 6 * wall; y <= 9 + 6 * wall; ++y) base.Insert({x, y});
  RouteResult result = RouteResult::Routed;
  for (auto _ : run) {
    run.PauseTiming();
    OccupiedCells occupied = base;
    run.ResumeTiming();
    result = RouteConnection(occupied, {2, 3}, {83, 58}).result;
  }
  run.counters["guard"] = result == RouteResult::GuardTripped;
}

BENCHMARK(BM_RouteCornerToCornerOnACrowdedSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RouteToAWalledInTarget)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RouteThroughAMazeToTheTraceLimit)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ohmara

BENCHMARK_MAIN();
