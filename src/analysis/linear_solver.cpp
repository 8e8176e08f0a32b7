#include "analysis/linear_solver.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

#include "analysis/finite_results.h"
#include "model/errors.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

// printf's "%W.Pf" of `value`, with `prefix` written before it. The trace of
// a large circuit holds millions of entries, so the conversion goes straight
// to std::to_chars (which rounds as printf does) instead of parsing a format
// string per number.
void AppendFixed(std::string& out, std::string_view prefix, double value, int width, int precision) {
  out.append(prefix);
  if (!std::isfinite(value)) {
    std::string format = "%";
    format.append(std::to_string(width)).append(".").append(std::to_string(precision)).append("lf");
    AppendFormat(out, format, value);
    return;
  }
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  const int length = static_cast<int>(result.ptr - buffer);
  if (length < width) out.append(width - length, ' ');
  out.append(buffer, length);
}

// One complex value of the trace: the real part by "%<realWidth>.3lf", then
// "+%<plusWidth>.3lfi\t" for an imaginary part >= 0 (-0 included, printed
// "+-0.000" as printf prints it) or
// "%4.3lfi\t" for a negative one.
void AppendTraceValue(std::string& out, Complex z, int realWidth, int plusWidth) {
  AppendFixed(out, "", z.re, realWidth, 3);
  if (z.im >= 0.0) AppendFixed(out, "+", z.im, plusWidth, 3);
  else AppendFixed(out, "", z.im, 4, 3);
  out.append("i\t");
}

void CheckShape(const ComplexMatrix& rows, int n) {
  if (n < 0 || rows.size() < static_cast<size_t>(n)) throw std::invalid_argument("SolveLinearSystem: too few rows");
  for (int i = 0; i < n; ++i)
    if (rows[i].size() < static_cast<size_t>(n) + 1) throw std::invalid_argument("SolveLinearSystem: row too short");
}

// Rows are exchanged only for an exactly zero pivot, with the first later row
// that has a non-zero entry in the column; there is no pivoting by magnitude,
// so the trace shows the steps a student does by hand.
void ExchangeForZeroPivot(ComplexMatrix& rows, int n, int c) {
  if (!IsZero(rows[c][c])) return;
  for (int r = c + 1; r < n; ++r) {
    if (!IsZero(rows[r][c])) {
      std::swap(rows[c], rows[r]);
      return;
    }
  }
}

void NormaliseRow(std::vector<Complex>& row, int n, int c) {
  const Complex g = Complex(1.0, 0.0) / row[c];
  for (int j = 0; j <= n; ++j) row[j] = row[j] * g;
}

// target + f·source, entry by entry. The product is written out with the
// operands in the order of Complex's own multiplication, so the results are
// the same bits; inline, the O(n³) loop runs several times faster than
// through the out-of-line operator.
void AddMultiple(std::vector<Complex>& target, Complex f, const std::vector<Complex>& source, int n) {
  for (int j = 0; j <= n; ++j) {
    const Complex s = source[j];
    target[j].re = target[j].re + (f.re * s.re - f.im * s.im);
    target[j].im = target[j].im + (f.re * s.im + f.im * s.re);
  }
}

void EliminateColumn(ComplexMatrix& rows, int n, int c) {
  for (int h = 0; h < n; ++h) {
    if (h == c) continue;
    const Complex f = (rows[h][c] / rows[c][c]) * -1.0;
    AddMultiple(rows[h], f, rows[c], n);
  }
}

// A pivot still 0 + 0i after the row search makes the system unsolvable
// here. A step that overflows is refused before it is traced, so neither the
// trace nor the solution ever holds an infinity or NaN.
void ReduceColumn(ComplexMatrix& rows, int n, int c) {
  ExchangeForZeroPivot(rows, n, c);
  if (IsZero(rows[c][c])) throw SingularSystem(c);
  try {
    NormaliseRow(rows[c], n, c);
    EliminateColumn(rows, n, c);
  } catch (const DivisionByZero&) {
    throw SingularSystem(c);
  }
  RequireFiniteElimination(rows, n, c);
}

// Entries that are rounding residue of an exact zero become exactly 0, so the
// windows show " 0" rather than a value of order 1e-16.
Complex Snapped(Complex z) {
  if (std::fabs(z.re) < 1e-10 && std::fabs(z.im) < 1e-10) return {};
  return z;
}

std::vector<Complex> ReadSolution(const ComplexMatrix& rows, int n, std::string& trace) {
  std::vector<Complex> solution(n);
  for (int i = 0; i < n; ++i) {
    solution[i] = Snapped(rows[i][n]);
    AppendTraceValue(trace, solution[i], 4, 4);
  }
  return solution;
}

}  // namespace

void AppendTraceMatrix(std::string& trace, const ComplexMatrix& rows, int n) {
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j <= n; ++j) AppendTraceValue(trace, rows[i][j], 6, 5);
    trace.push_back('\n');
  }
  trace.push_back('\n');
}

std::vector<Complex> SolveLinearSystemTrace(ComplexMatrix& rows, int n, std::string& trace) {
  CheckShape(rows, n);
  // The trace of the largest circuits runs to a hundred megabytes or more;
  // growing it step by step would copy it over and over. An entry of a
  // matrix below 100 in both parts takes 14 characters.
  const size_t size = static_cast<size_t>(n);
  trace.reserve(trace.size() + (size + 1) * (size * ((size + 1) * 14 + 1) + 1) + (size + 1) * 14 + 4);
  AppendTraceMatrix(trace, rows, n);
  for (int c = 0; c < n; ++c) {
    ReduceColumn(rows, n, c);
    AppendTraceMatrix(trace, rows, n);
  }
  trace.push_back('\n');
  std::vector<Complex> solution = ReadSolution(rows, n, trace);
  trace.append("\n\n\n");
  return solution;
}

std::vector<Complex> SolveLinearSystem(ComplexMatrix& rows, int n, ResultsDirectory& results,
                                       std::string_view fileName) {
  std::string trace;
  try {
    std::vector<Complex> solution = SolveLinearSystemTrace(rows, n, trace);
    results.Rewrite(fileName, trace);
    return solution;
  } catch (const SingularSystem&) {
    results.Rewrite(fileName, trace);
    throw;
  } catch (const NonFiniteValue&) {
    results.Rewrite(fileName, trace);
    throw;
  }
}

}  // namespace ohmara
