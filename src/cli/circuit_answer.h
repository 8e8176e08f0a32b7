#pragma once
// The command line's one meeting point with the analysis: a branch table goes
// through "Тест" and the chosen methods, and comes back as plain values, the
// numbers at full precision and the texts exactly as the windows show them.
// Nothing is written into a results folder: a scripted run must not replace
// the student's own records.

#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/branch_impedances.h"
#include "analysis/solving_method.h"
#include "model/branch.h"
#include "model/circuit.h"
#include "model/complex.h"
#include "printing/printed_report.h"

namespace ohmara {

// "mesh", "nodal", "optimal": the names the command line and JSON use.
const char* MethodName(Method method);
// The caption of the method's button in the main window.
const char* MethodTitle(Method method);

// What a window shows under a caption, in order: a memo's lines, or a
// grid's rows of cells joined by tabs.
struct ShownBlock {
  std::string caption;
  std::vector<std::string> lines;
};

struct MethodAnswer {
  Method method = Method::Mesh;
  std::vector<Complex> loopCurrents;    // the mesh method: one per loop
  std::vector<int> nodes;               // the node methods: the nodes solved for,
  std::vector<Complex> potentials;      //   and their potentials against the zero node
  std::vector<Complex> branchCurrents;  // table order, positive a -> b
  Complex sourcePower;
  Complex consumedPower;
  std::vector<ShownBlock> shown;  // the window's grids and memos
};

struct CircuitAnswer {
  std::vector<std::string> branchNames;
  int realBranches = 0;  // m
  int realNodes = 0;     // n
  int nodeCount = 0;
  int zeroNode = 0;
  std::vector<int> junctions;  // nodes where three or more branches meet
  std::vector<std::vector<LoopStep>> loops;
  std::vector<std::string> loopLines;  // the loops as the mesh window lists them
  std::vector<MethodAnswer> methods;
  std::vector<std::string> notes;  // what was left out and why, in Russian
};

// A refusal worded as the window words it.
class CommandRefusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Tests the circuit and runs `methods` in order with `zeroNode` at zero
// potential. Among several methods the optimal one is left out (with a note)
// when the zero node is no junction; asked for alone it is refused. Throws
// CommandRefusal for a circuit that fails the test, a zero node outside it,
// or a method that stops.
CircuitAnswer SolveCircuit(const BranchTable& table, const FrequencySetting& frequency, int zeroNode,
                           const std::vector<Method>& methods);

// The printed report of the tested circuit solved by `methods` (the node
// potentials by the first node method among them), refused as SolveCircuit
// refuses; there is no drawing of the circuit.
ReportContent SolvedReport(const BranchTable& table, const FrequencySetting& frequency, int zeroNode,
                           const std::vector<Method>& methods);

// The SPICE netlist of the tested circuit, refused as SolveCircuit refuses.
std::string TestedSpiceNetlist(const BranchTable& table, const FrequencySetting& frequency, int zeroNode);

}  // namespace ohmara
