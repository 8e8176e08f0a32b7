#include "analysis/finite_results.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "analysis/branch_impedances.h"
#include "analysis/power_balance.h"
#include "model/errors.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

constexpr const char* kCause =
    "значения элементов цепи слишком велики или слишком малы для вычислений. Проверьте значения и единицы.";

// True when no part of values[0..count) is an infinity or NaN: no part has
// every exponent bit set. Checked without a branch per entry, since the
// elimination checks every row it changes.
bool AllFinite(const Complex* values, int count) {
  constexpr uint64_t kExponent = 0x7ffULL << 52;
  bool bad = false;
  for (int j = 0; j < count; ++j) {
    bad |= (std::bit_cast<uint64_t>(values[j].re) & kExponent) == kExponent;
    bad |= (std::bit_cast<uint64_t>(values[j].im) & kExponent) == kExponent;
  }
  return !bad;
}

// The first entry of rows 0..n-1 that is not finite, as {row, column}, or {-1, -1}.
std::pair<int, int> FirstNonFiniteEntry(const ComplexMatrix& rows, int n) {
  for (int r = 0; r < n; ++r) {
    if (AllFinite(rows[r].data(), n + 1)) continue;
    for (int c = 0; c <= n; ++c)
      if (!IsFinite(rows[r][c])) return {r, c};
  }
  return {-1, -1};
}

double Magnitude(Complex z) { return std::hypot(z.re, z.im); }

}  // namespace

double BalanceScale(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents) {
  double scale = 0.0;
  for (size_t k = 0; k < branches.size(); ++k) {
    const double current = Magnitude(currents[k]);
    scale += Magnitude(branches[k].E) * current + current * current * Magnitude(branches[k].Z);
  }
  return scale;
}

void RequireFinite(Complex z, const std::string& quantity, const std::string& described) {
  if (IsFinite(z)) return;
  throw NonFiniteValue(quantity,
                       "Вычисления остановлены: значение " + described + " бесконечно или не определено — " + kCause);
}

void RequireFiniteSystem(const ComplexMatrix& rows, int n) {
  const auto [row, column] = FirstNonFiniteEntry(rows, n);
  if (row < 0) return;
  throw NonFiniteValue(Format("(%d, %d)", row + 1, column + 1),
                       Format("Вычисления остановлены: элемент системы уравнений в строке %d, столбце %d "
                              "бесконечен или не определён — %s",
                              row + 1, column + 1, kCause));
}

void RequireFiniteElimination(const std::vector<Complex>& row, int n, int column) {
  if (AllFinite(row.data(), n + 1)) return;
  throw NonFiniteValue(Format("(%d)", column + 1),
                       Format("Вычисления остановлены: при исключении по столбцу %d система уравнений получила "
                              "бесконечное или неопределённое значение — %s",
                              column + 1, kCause));
}

void RequireSoundCurrentsAndPower(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents) {
  for (size_t k = 0; k < branches.size(); ++k) {
    const std::string label = BranchLabel("I", branches[k]);
    RequireFinite(currents[k], label, "тока ветви " + label);
  }
  Complex source, consumed;
  PowerBalance(branches, currents, source, consumed);
  RequireFinite(source, "Pист", "мощности источников");
  RequireFinite(consumed, "Pпотр", "потребляемой мощности");
  if (Magnitude(source - consumed) <= kBalanceTolerance * BalanceScale(branches, currents)) return;
  throw NonFiniteValue("баланс",
                       "Вычисления остановлены: баланс мощностей не сходится — значения элементов цепи различаются "
                       "слишком сильно для точного расчёта. Проверьте значения и единицы.");
}

void RequireFiniteNodalRun(const std::vector<int>& nodes, const std::vector<Complex>& potentials,
                           const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents) {
  for (size_t i = 0; i < nodes.size(); ++i) {
    const std::string label = Format("u%d", nodes[i]);
    RequireFinite(potentials[i], label, "потенциала " + label);
  }
  RequireSoundCurrentsAndPower(branches, currents);
}

}  // namespace ohmara
