#pragma once
// A student's attempt at one method's solution, laid out as that method's
// window (matrix, source column, loop currents or node potentials, branch
// currents, the two power lines), marked cell by cell against the program's
// solution, and kept in a small text file to be opened again.

#include <optional>
#include <string>
#include <vector>

#include "analysis/answer_marks.h"
#include "analysis/linear_solver.h"
#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "analysis/solving_method.h"
#include "analysis/student_loops.h"
#include "model/branch.h"

namespace ohmara {

// What the student typed, cell by cell, exactly as typed.
struct AttemptForm {
  Method method = Method::Mesh;
  Tolerance tolerance;
  std::string ownLoops;  // mesh only: the student's loops, one a line; blank for the program's
  std::vector<std::vector<std::string>> matrix;
  std::vector<std::string> sources;
  std::vector<std::string> unknowns;  // loop currents or node potentials
  std::vector<std::string> branchCurrents;
  std::string sourcePower;
  std::string consumedPower;
};

// An empty form for a system of `equations` equations, `unknowns` loop
// currents or node potentials (the node methods list the zero node too) and
// `branches` branch currents.
AttemptForm EmptyAttempt(Method method, int equations, int unknowns, int branches);

// The program's values for the same cells.
struct ExpectedSolution {
  ComplexMatrix matrix;  // equations x equations
  std::vector<Complex> sources;
  std::vector<Complex> unknowns;
  std::vector<Complex> branchCurrents;
  Complex sourcePower;
  Complex consumedPower;
};

// The same cells for the student's own loops: the matrix, sources and loop
// currents of those loops; branch currents and powers do not depend on the
// loops.
ExpectedSolution WithOwnLoops(const ExpectedSolution& program, const LoopCurrentSolution& own);

// What checking one method's solution needs: the program's solution, the
// names its window gives the values, and the circuit the student's own loops
// run along.
struct SelfCheckSubject {
  Method method = Method::Mesh;
  ExpectedSolution program;
  std::vector<std::string> unknownNames;  // "I11", "u1"
  std::vector<std::string> branchNames;   // "I12"
  std::vector<CircuitBranch> branches;
  int nodeCount = 0;
};

// The self-check of a mesh-current run that went to the end, and of a
// node-potential run (basic or optimal), on the circuit they solved.
SelfCheckSubject MeshSelfCheck(const CircuitState& circuit, const MeshSolution& solution);
SelfCheckSubject NodeSelfCheck(Method method, const CircuitState& circuit, const NodalSolution& solution);

struct CellMark {
  enum class Kind { Blank, Right, Wrong, Unreadable };
  Kind kind = Kind::Blank;
  Complex expected;
  double difference = 0.0;  // relative, for a wrong value
};

struct AttemptMarks {
  std::vector<std::vector<CellMark>> matrix;
  std::vector<CellMark> sources;
  std::vector<CellMark> unknowns;
  std::vector<CellMark> branchCurrents;
  CellMark sourcePower;
  CellMark consumedPower;
  int right = 0;
  int filled = 0;  // cells that are not blank
};

// Marks every filled cell of `form` against `expected` (whose sizes it must
// have) under the form's tolerance; each group (matrix, sources, unknowns,
// currents, powers) is its own scale for what counts as zero.
AttemptMarks MarkAttempt(const AttemptForm& form, const ExpectedSolution& expected);

// The marked attempt as the report prints it: the count of right answers and
// the tolerance, then every filled cell with its mark (and the program's
// value where it is wrong).
std::vector<std::string> AttemptReportLines(const SelfCheckSubject& subject, const AttemptForm& form,
                                            const AttemptMarks& marks);

// The attempt file: a heading line, then one line of tab-separated cells per
// row of each group. "∠", which Windows-1251 lacks, is written as "/_".
std::string AttemptFileText(const AttemptForm& form);

struct AttemptRead {
  std::optional<AttemptForm> form;
  int faultLine = 0;  // 1-based line of the first fault, when there is no form
};
AttemptRead ReadAttemptText(const std::string& text);

}  // namespace ohmara
