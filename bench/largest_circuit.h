#pragma once
// The largest circuit the program accepts, for the benchmarks: a grid of
// 15 x 17 nodes (255, the node limit) with 478 branches and 224 independent
// loops. Each benchmark writes into a ScratchDirectory of the tests' support.

#include <filesystem>
#include <string>

#include "model/branch.h"
#include "model/circuit.h"
#include "model/results_directory.h"

namespace ohmara::bench {

inline constexpr int kGridRows = 15;
inline constexpr int kGridColumns = 17;

// GridTable of the tests' support at that size.
BranchTable LargestGridTable();

// The grid after a passed circuit test at 50 Hz; throws when the test fails.
CircuitState TestedLargestGrid(ResultsDirectory& results);

// Size of a file in bytes; 0 when it does not exist.
double FileBytes(const std::filesystem::path& path);

}  // namespace ohmara::bench
