#pragma once
// The complex linear solver shared by the three solving methods, with the
// step-by-step trace the course asks students to compare against.

#include <string>
#include <string_view>
#include <vector>

#include "model/complex.h"
#include "model/results_directory.h"

namespace ohmara {

// An augmented system: n rows of n coefficients and the right-hand side.
using ComplexMatrix = std::vector<std::vector<Complex>>;

// Gauss–Jordan on the augmented n x (n+1) matrix `rows` (changed in place),
// tracing every intermediate matrix and the solution into the results file
// `fileName` ("Currents.txt" / "Potential.txt"), which is rewritten matrix by
// matrix as the elimination goes (the whole trace is never held). Throws
// SingularSystem when a pivot is still 0+0i after the row search, and
// NonFiniteValue when a step overflows; the file then holds the matrices
// traced so far.
std::vector<Complex> SolveLinearSystem(ComplexMatrix& rows, int n, ResultsDirectory& results,
                                       std::string_view fileName);

// The same elimination without a trace, for a method that computes its
// numbers first and writes its files afterwards.
std::vector<Complex> SolveLinearSystem(ComplexMatrix& rows, int n);
// Writes the trace of solving `rows` to `fileName` as SolveLinearSystem
// does. A system the elimination refuses leaves the matrices traced up to
// the refusal, and the refusal itself is the caller's to report (the run
// that built the system met it already), so it is not thrown again.
void WriteSolverTrace(ComplexMatrix rows, int n, ResultsDirectory& results, std::string_view fileName);
// The same elimination with the trace appended to `trace` instead of written;
// on SingularSystem `trace` holds the matrices traced so far.
std::vector<Complex> SolveLinearSystemTrace(ComplexMatrix& rows, int n, std::string& trace);

// One matrix of the trace: per row, every one of its n+1 entries as "%6.3lf"
// and "+%5.3lfi\t" (imaginary part >= 0) or "%4.3lfi\t", then "\n"; one
// more "\n" after the last row.
void AppendTraceMatrix(std::string& trace, const ComplexMatrix& rows, int n);

}  // namespace ohmara
