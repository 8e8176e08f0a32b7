#pragma once
// The checks that keep a value which is not finite (an infinity or NaN) from
// being shown, written to a file or reported as a success. Each throws
// NonFiniteValue with a Russian message naming what is at fault. Values
// that overflow come from element values at the ends of the double range;
// the student must hear which quantity gave out, not see zeros.

#include <string>
#include <vector>

#include "analysis/linear_solver.h"
#include "model/circuit.h"
#include "model/complex.h"

namespace ohmara {

// `quantity` is the short name ("I11", "Y24"); `described` names it inside
// the message in the genitive ("контурного тока I11", "проводимости Y24").
void RequireFinite(Complex z, const std::string& quantity, const std::string& described);

// Every entry of the n x (n + 1) system a method is about to show and solve.
void RequireFiniteSystem(const ComplexMatrix& rows, int n);

// A row of the n x (n + 1) system changed by the elimination of `column`
// (0-based), before the system is traced.
void RequireFiniteElimination(const std::vector<Complex>& row, int n, int column);

// The potentials (potentials[i] of node nodes[i]), the branch currents and
// both sides of the power balance of a run, before any of it is shown; see
// RequireSoundCurrentsAndPower.
void RequireFiniteNodalRun(const std::vector<int>& nodes, const std::vector<Complex>& potentials,
                           const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents);

// The balance of a sound solution closes to this fraction of BalanceScale.
inline constexpr double kBalanceTolerance = 1e-6;

// The sum of the magnitudes of every term both sides of the balance add up.
double BalanceScale(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents);

// The branch currents and both sides of the power balance are finite, and
// the balance closes to a millionth of the terms it sums. A balance that does
// not close means the elimination lost the solution to rounding (element
// values many decades apart, e.g. a branch of 1e-160 mH beside ones of an
// ohm): the currents would be plainly wrong, so the run is refused.
void RequireSoundCurrentsAndPower(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents);

}  // namespace ohmara
