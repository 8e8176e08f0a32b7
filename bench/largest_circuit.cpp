#include "largest_circuit.h"

#include <stdexcept>
#include <system_error>

#include "analysis/circuit_check.h"
#include "support/grid_circuit.h"

namespace ohmara::bench {

BranchTable LargestGridTable() { return GridTable(kGridRows, kGridColumns); }

CircuitState TestedLargestGrid(ResultsDirectory& results) {
  CircuitState state;
  MeshTexts window;
  MeshViews views = window.Views();
  if (!RunCircuitCheck(state, LargestGridTable(), {"50", 0}, results, views).passed)
    throw std::runtime_error("the 15 x 17 grid does not pass the circuit test");
  return state;
}

double FileBytes(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0.0 : static_cast<double>(size);
}

}  // namespace ohmara::bench
