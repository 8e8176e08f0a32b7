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

// The system after the elimination of `column` (0-based), before it is traced.
void RequireFiniteElimination(const ComplexMatrix& rows, int n, int column);

// The potentials (potentials[i] of node nodes[i]), the branch currents and
// both sides of the power balance of a run, before any of it is shown.
void RequireFiniteNodalRun(const std::vector<int>& nodes, const std::vector<Complex>& potentials,
                           const std::vector<TBranch>& branches, const std::vector<Complex>& currents);

// The branch currents and the power balance alone.
void RequireFiniteCurrentsAndPower(const std::vector<TBranch>& branches, const std::vector<Complex>& currents);

}  // namespace ohmara
