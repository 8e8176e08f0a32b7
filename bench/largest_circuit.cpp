#include "largest_circuit.h"

#include <stdexcept>
#include <system_error>

#include "analysis/circuit_check.h"

namespace ohmara::bench {

namespace {

constexpr int GridNode(int row, int column) { return row * kGridColumns + column + 1; }

BranchRow GridBranch(int from, int to, int k) {
  const std::string e = k % 5 == 0 ? std::to_string(5 + k % 11) : "";
  return {std::to_string(from) + "->" + std::to_string(to), std::to_string(1 + k % 7), k % 3 ? "2.5" : "",
          k % 4 ? "" : "470", e, e.empty() ? "" : std::to_string((k * 37) % 360)};
}

}  // namespace

BranchTable LargestGridTable() {
  BranchTable table;
  auto join = [&](int from, int to) { table.push_back(GridBranch(from, to, static_cast<int>(table.size()))); };
  for (int row = 0; row < kGridRows; ++row)
    for (int column = 0; column < kGridColumns; ++column) {
      if (column + 1 < kGridColumns) join(GridNode(row, column), GridNode(row, column + 1));
      if (row + 1 < kGridRows) join(GridNode(row, column), GridNode(row + 1, column));
    }
  return table;
}

CircuitState TestedLargestGrid(ResultsDirectory& results) {
  CircuitState state;
  CurrFormTexts window;
  CurrFormViews views = window.Views();
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
