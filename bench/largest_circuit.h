#pragma once
// The largest circuit the program accepts, for the benchmarks: a grid of
// 15 x 17 nodes (255, the node limit) with 478 branches and 224 independent
// loops, and a results directory of its own under the system's temporary
// directory.

#include <filesystem>
#include <string>

#include "model/branch.h"
#include "model/circuit.h"
#include "model/results_directory.h"

namespace ohmara::bench {

inline constexpr int kGridRows = 15;
inline constexpr int kGridColumns = 17;

// Branches between neighbouring grid nodes, row by row, with element cells
// that vary from branch to branch (R everywhere, some L and C, a source on
// every fifth branch at its own phase) so that no two equations look alike.
BranchTable LargestGridTable();

// The grid after a passed circuit test at 50 Hz; throws when the test fails.
CircuitState TestedLargestGrid(ResultsDirectory& results);

// A fresh directory removed with its contents at the end.
class BenchDirectory {
 public:
  explicit BenchDirectory(const std::string& name);
  ~BenchDirectory();
  BenchDirectory(const BenchDirectory&) = delete;
  BenchDirectory& operator=(const BenchDirectory&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Size of a file of the directory in bytes; 0 when it does not exist.
  double FileBytes(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace ohmara::bench
