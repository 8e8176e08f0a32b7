#pragma once
// The circuit a student works on, from the table as typed to the solutions.
// The document is what the main window shows; "Тест" turns it into a tested
// circuit that stays as it was tested whatever is typed afterwards; each
// method solves the tested circuit, and the windows, the printed report and
// the SPICE export read what the session holds, never each other's widgets.

#include <memory>
#include <string>

#include "analysis/branch_impedances.h"
#include "analysis/circuit_check.h"
#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "analysis/result_views.h"
#include "model/branch.h"
#include "model/circuit.h"
#include "model/results_directory.h"
#include "printing/printed_report.h"

namespace ohmara {

// The task as typed: the branch rows, the frequency and its unit, the zero node.
struct CircuitDocument {
  BranchTable table;
  FrequencySetting frequency;
  std::string zeroNode;
  bool extended = false;  // "Вид" → "Расширенные схемы"
  bool operator==(const CircuitDocument&) const = default;
};

// What a passed "Тест" accepted; never changed afterwards.
struct TestedCircuit {
  CircuitDocument document;  // as it was when tested
  CircuitState state;        // parsed branches, impedances and sources, loops, real nodes
  int m = 0;                 // real branches
  int n = 0;                 // real nodes
};

// Whether a method may run now.
enum class Readiness {
  Ready,
  NotTested,  // never tested, or the last test did not pass
  Stale,      // the table, the frequency or its unit changed after the test
};

// The last run of a method: the circuit it solved and, when it went to the
// end, its numbers. The texts it left on screen are the session's too.
struct MeshResult {
  std::shared_ptr<const TestedCircuit> circuit;
  MeshSolution solution;
  bool complete = false;
};

struct NodeResult {
  std::shared_ptr<const TestedCircuit> circuit;
  int zeroNode = 0;
  bool optimal = false;  // solved by the optimal variant
  NodalSolution solution;
  bool complete = false;
};

class CircuitSession {
 public:
  // `state` is the working model the check rebuilds (the last test's parse,
  // passed or not); `results` receives the results files.
  CircuitSession(CircuitState& state, ResultsDirectory& results) : state_(state), results_(results) {}
  CircuitSession(const CircuitSession&) = delete;
  CircuitSession& operator=(const CircuitSession&) = delete;

  const CircuitDocument& document() const { return document_; }
  // The model the last check rebuilt, passed or not.
  const CircuitState& checkedState() const { return state_; }
  // Takes the document as the main window now shows it.
  void Edit(const CircuitDocument& document) { document_ = document; }

  // "Тест" on the document. The texts of the mesh-current window it fills
  // (and the memos of the last solution it empties) are kept whether it
  // passes, fails or throws; only a passed test makes a tested circuit.
  CircuitCheckOutcome Test();

  Readiness MethodReadiness() const;
  // The circuit of the last passed test; null when the last test did not pass.
  const std::shared_ptr<const TestedCircuit>& tested() const { return tested_; }
  // The table, the frequency or its unit differ from the tested ones.
  bool ChangedSinceTest() const;

  // Solve the tested circuit (MethodReadiness must be Ready). The texts are
  // updated in the order the method writes them, so a run that throws
  // leaves them as far as it got; true when it went to the end.
  bool SolveMesh();
  bool SolveNodes(NodeMethod method, int zeroNode);

  const MeshTexts& meshTexts() const { return meshTexts_; }
  const NodeTexts& nodeTexts() const { return nodeTexts_; }
  const MeshResult& mesh() const { return mesh_; }
  const NodeResult& nodes() const { return nodes_; }

  // Whether what each result window shows belongs to an older circuit than
  // the one on screen: false while it shows nothing yet.
  bool MeshShownIsStale() const;
  bool NodesShownIsStale() const;

  // The report's content: the tested task (or, before any passed test, the
  // task as typed) and the solutions of the tested circuit that went to the
  // end. `available` says which parts exist.
  ReportContent Report() const;

 private:
  // The zero node typed now, when it is a whole number.
  bool TypedZeroNodeIs(int node) const;

  CircuitState& state_;
  ResultsDirectory& results_;
  CircuitDocument document_;
  std::shared_ptr<const TestedCircuit> tested_;
  bool everTested_ = false;
  MeshTexts meshTexts_;
  NodeTexts nodeTexts_;
  MeshResult mesh_;
  NodeResult nodes_;
};

// The grid the report prints for a table: the title row, then the branches.
GridCells PrintedTable(const BranchTable& table);

}  // namespace ohmara
