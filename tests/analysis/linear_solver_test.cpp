#include "analysis/linear_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "model/errors.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

using Matrix = std::vector<std::vector<Complex>>;

// The i-th traced matrix (0-based), with its row ends: matrices are separated
// by empty lines.
std::string TracedMatrix(const std::string& trace, int index) {
  size_t start = 0;
  for (int i = 0; i < index; ++i) start = trace.find("\n\n", start) + 2;
  return trace.substr(start, trace.find("\n\n", start) + 1 - start);
}

// The solution line: the text between the last matrix's blank lines and the
// closing "\n\n\n".
std::string SolutionLine(const std::string& trace) {
  const size_t end = trace.size() - 3;
  const size_t start = trace.rfind("\n\n\n", end - 1) + 3;
  return trace.substr(start, end - start);
}

// Matrices end in an empty line; the blank line before the solution makes
// the first "\n\n\n", after which no matrix follows.
int MatrixCount(const std::string& trace) {
  const std::string matrices = trace.substr(0, trace.find("\n\n\n"));
  int count = 0;
  for (size_t at = matrices.find("\n\n"); at != std::string::npos; at = matrices.find("\n\n", at + 2)) ++count;
  return count + (matrices.size() < trace.size() ? 1 : 0);
}

TEST(SolveLinearSystem, OneByOneTraceIsExact) {
  ScratchResults dir;
  ResultsDirectory& results = dir.Results();
  Matrix rows = {{{2, 0}, {4, 2}}};
  const std::vector<Complex> x = SolveLinearSystem(rows, 1, results, "Currents.txt");
  ASSERT_EQ(x.size(), 1u);
  EXPECT_EQ(x[0], Complex(2, 1));
  EXPECT_EQ(
      dir.Bytes("Currents.txt"),
      " 2.000+0.000i\t 4.000+2.000i\t\r\n\r\n 1.000+0.000i\t 2.000+1.000i\t\r\n\r\n\r\n2.000+1.000i\t\r\n\r\n\r\n");
}

TEST(SolveLinearSystem, ReplacesAnEarlierTrace) {
  ScratchResults dir;
  ResultsDirectory& results = dir.Results();
  Matrix first = {{{1, 0}, {7, 0}}, {{0, 0}, {0, 0}}};
  Matrix second = {{{2, 0}, {4, 2}}};
  SolveLinearSystem(first, 1, results, "Potential.txt");
  SolveLinearSystem(second, 1, results, "Potential.txt");
  EXPECT_EQ(dir.Text("Potential.txt"),
            " 2.000+0.000i\t 4.000+2.000i\t\n\n 1.000+0.000i\t 2.000+1.000i\t\n\n\n2.000+1.000i\t\n\n\n");
}

// Every entry goes through the trace's own fast formatter; it must give what
// printf gives for the same formats, rounding, signs and -0 included.
// What the C library's printf makes of one entry: the reference the trace
// must match byte for byte.
std::string PrintfEntry(Complex z, const char* plusFormat, const char* minusFormat) {
  char text[256];
  std::snprintf(text, sizeof text, z.im >= 0.0 ? plusFormat : minusFormat, z.re, z.im);
  return text;
}

TEST(SolveLinearSystem, TraceEntriesAreThoseOfPrintf) {
  const Complex values[] = {{0, 0},
                            {-0.0, -0.0},
                            {1.5, -0.25},
                            {-3, 2},
                            {0.0005, 0.0015},
                            {999.9995, -0.0005},
                            {1e20, -1e20},
                            {-1e-17, 1e-17},
                            {123456.789, 0.1234},
                            {0.0625, -0.0625},
                            {-2.5e-4, 2.5e-4},
                            {7, -0.0},
                            {2.0005, 1e-3},
                            {-99.99949, 5.55555}};
  for (Complex z : values) {
    Matrix rows = {{{1, 0}, z}};
    std::string trace;
    const std::vector<Complex> x = SolveLinearSystemTrace(rows, 1, trace);
    const std::string entry = PrintfEntry(z, "%6.3lf+%5.3lfi\t", "%6.3lf%4.3lfi\t");
    EXPECT_EQ(TracedMatrix(trace, 0), " 1.000+0.000i\t" + entry + "\n") << z.re << " " << z.im;
    EXPECT_EQ(SolutionLine(trace), PrintfEntry(x[0], "%4.3lf+%4.3lfi\t", "%4.3lf%4.3lfi\t")) << z.re << " " << z.im;
  }
}

// Entries that print as zero are copied from texts written once, and runs
// of exact zeros as one piece: every sign, the margin below half a unit of
// the third decimal, and runs broken by other entries must still come out
// as printf writes them. One line holds them all: the first row of a unit
// upper-triangular system.
TEST(SolveLinearSystem, ZeroLikeEntriesInRunsAreThoseOfPrintf) {
  const double half = 0.0005;
  const Complex values[] = {{0, 0},
                            {0, 0},
                            {0, 0},
                            {-0.0, 0},
                            {0, -0.0},
                            {-0.0, -0.0},
                            {0, 0},
                            {1e-300, -1e-300},
                            {-1e-300, 0},
                            {0.00048999, -0.00048999},
                            {0.00049, -0.00049},
                            {std::nextafter(half, 0.0), -std::nextafter(half, 0.0)},
                            {half, -half},
                            {0, 0},
                            {0, 0},
                            {3, -0.0},
                            {-0.0, 1e-300},
                            {0, 0}};
  const int n = static_cast<int>(std::size(values));
  Matrix rows(n, std::vector<Complex>(n + 1));
  for (int i = 0; i < n; ++i) rows[i][i] = {1, 0};
  for (int j = 1; j <= n; ++j) rows[0][j] = values[j - 1];
  std::string expected = " 1.000+0.000i\t";
  for (const Complex z : values) expected += PrintfEntry(z, "%6.3lf+%5.3lfi\t", "%6.3lf%4.3lfi\t");
  std::string trace;
  SolveLinearSystemTrace(rows, n, trace);
  const std::string first = TracedMatrix(trace, 0);
  EXPECT_EQ(first.substr(0, first.find('\n')), expected);
}

TEST(SolveLinearSystem, ZeroFirstPivotExchangesRowsWhole) {
  std::string trace;
  Matrix rows = {{{0, 0}, {2, 0}, {4, 0}}, {{2, 0}, {2, 0}, {10, 0}}};
  const std::vector<Complex> x = SolveLinearSystemTrace(rows, 2, trace);
  EXPECT_EQ(x[0], Complex(3, 0));
  EXPECT_EQ(x[1], Complex(2, 0));
  EXPECT_EQ(TracedMatrix(trace, 1),
            " 1.000+0.000i\t 1.000+0.000i\t 5.000+0.000i\t\n"
            " 0.000+0.000i\t 2.000+0.000i\t 4.000+0.000i\t\n");
  EXPECT_EQ(MatrixCount(trace), 3);
}

// No pivoting by magnitude: the tiny pivot is divided by, and the rounding
// it causes (x comes out 0 instead of about 1) is what the trace shows.
TEST(SolveLinearSystem, TinyPivotIsUsedUnchanged) {
  std::string trace;
  Matrix rows = {{{1e-20, 0}, {1, 0}, {1, 0}}, {{1, 0}, {1, 0}, {2, 0}}};
  const std::vector<Complex> x = SolveLinearSystemTrace(rows, 2, trace);
  EXPECT_EQ(x[0], Complex(0, 0));
  EXPECT_EQ(x[1], Complex(1, 0));
  EXPECT_EQ(TracedMatrix(trace, 1).substr(0, 14), " 1.000+0.000i\t");
  EXPECT_NE(TracedMatrix(trace, 1).find("100000000000000000000.000+0.000i"), std::string::npos);
}

TEST(SolveLinearSystem, SnapsOnlyWhenBothPartsAreTiny) {
  struct Case {
    Complex computed;
    Complex returned;
    const char* line;
  };
  const Case cases[] = {
      {{3e-11, -2e-11}, {0, 0}, "0.000+0.000i\t"},     {{3e-11, 5}, {3e-11, 5}, "0.000+5.000i\t"},
      {{-9.9e-11, 9.9e-11}, {0, 0}, "0.000+0.000i\t"}, {{1e-10, 0}, {1e-10, 0}, "0.000+0.000i\t"},
      {{0, -1e-9}, {0, -1e-9}, "0.000-0.000i\t"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
    std::string trace;
    Matrix rows = {{{1, 0}, c.computed}};
    const std::vector<Complex> x = SolveLinearSystemTrace(rows, 1, trace);
    EXPECT_EQ(x[0], c.returned) << c.line;
    EXPECT_EQ(SolutionLine(trace), c.line);
  }
}

TEST(SolveLinearSystem, SolvesAComplexSystem) {
  const Matrix a = {{{4, 1}, {-1, 0}, {0, -2}}, {{-1, 0}, {3, -1}, {-1, 0.5}}, {{0, -2}, {-1, 0.5}, {5, 3}}};
  const std::vector<Complex> expected = {{1, -1}, {0.5, 2}, {-3, 0.25}};
  Matrix rows = a;
  for (int i = 0; i < 3; ++i) {
    Complex b;
    for (int j = 0; j < 3; ++j) b += a[i][j] * expected[j];
    rows[i].push_back(b);
  }
  std::string trace;
  const std::vector<Complex> x = SolveLinearSystemTrace(rows, 3, trace);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(x[i].re, expected[i].re, 1e-12);
    EXPECT_NEAR(x[i].im, expected[i].im, 1e-12);
  }
  EXPECT_EQ(MatrixCount(trace), 4);
}

TEST(SolveLinearSystem, SingularSystemKeepsTheMatricesSoFar) {
  struct Case {
    Matrix rows;
    int column;
    int matrices;
  };
  const Case cases[] = {
      {{{{0, 0}, {0, 0}, {1, 0}}, {{0, 0}, {1, 0}, {1, 0}}}, 0, 1},
      {{{{1, 0}, {1, 0}, {1, 0}}, {{2, 0}, {2, 0}, {3, 0}}}, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
    ScratchResults dir;
    ResultsDirectory& results = dir.Results();
    Matrix rows = c.rows;
    const int n = static_cast<int>(rows.size());
    try {
      SolveLinearSystem(rows, n, results, "Currents.txt");
      ADD_FAILURE() << "no SingularSystem for column " << c.column;
    } catch (const SingularSystem& error) {
      EXPECT_EQ(error.Column(), c.column);
    }
    const std::string trace = dir.Text("Currents.txt");
    EXPECT_EQ(MatrixCount(trace), c.matrices) << trace;
    EXPECT_EQ(trace.find("nan"), std::string::npos);
    EXPECT_EQ(trace.find("inf"), std::string::npos);
  }
}

// A tiny pivot is divided by accurately; a step whose result overflows stops
// the solver before it is traced, so the file holds only finite matrices.
TEST(SolveLinearSystem, TinyPivotsSolveAndOverflowStopsBeforeTheTrace) {
  std::string trace;
  Matrix tiny = {{{1e-170, 0}, {1, 0}}};
  EXPECT_EQ(SolveLinearSystemTrace(tiny, 1, trace)[0], Complex(1e170, 0));

  ScratchResults dir;
  Matrix overflowing = {{{1e-300, 0}, {0, 1e300}}};
  try {
    SolveLinearSystem(overflowing, 1, dir.Results(), "Currents.txt");
    ADD_FAILURE() << "an overflowing step must throw";
  } catch (const NonFiniteValue& error) {
    EXPECT_EQ(error.Quantity(), "(1)");
    EXPECT_NE(std::string(error.what()).find("по столбцу 1"), std::string::npos) << error.what();
  }
  const std::string written = dir.Text("Currents.txt");
  EXPECT_EQ(MatrixCount(written), 1) << written;
  EXPECT_EQ(written.find("inf"), std::string::npos);
}

}  // namespace
}  // namespace ohmara
