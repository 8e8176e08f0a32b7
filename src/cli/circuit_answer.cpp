#include "cli/circuit_answer.h"

#include <algorithm>
#include <map>

#include "analysis/circuit_check.h"
#include "analysis/circuit_faults.h"
#include "analysis/circuit_session.h"
#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "analysis/optimal_node_potential.h"
#include "analysis/refusal_text.h"
#include "analysis/result_views.h"
#include "analysis/spice_netlist.h"
#include "model/branch_table_file.h"
#include "model/errors.h"
#include "model/results_directory.h"

namespace ohmara {

namespace {

ShownBlock Memo(std::string caption, const MemoLines& memo) { return {std::move(caption), memo.lines}; }

// The rows a grid shows, its cells joined by tabs; a row without a written
// cell (the spare last row of EGrid) shows nothing and is left out.
ShownBlock Grid(std::string caption, const GridCells& grid) {
  std::map<int, std::map<int, std::string>> rows;
  int columns = grid.cols;
  for (const auto& [place, text] : grid.cells) {
    rows[place.second][place.first] = text;
    columns = std::max(columns, place.first + 1);
  }
  ShownBlock block{std::move(caption), {}};
  for (const auto& [row, cells] : rows) {
    std::string line;
    for (int col = 0; col < columns; ++col) line.append(col ? "\t" : "").append(grid.Cell(col, row));
    block.lines.push_back(line);
  }
  return block;
}

// "Тест" on the typed circuit, refusing with the line the test report shows.
void Test(CircuitSession& session) {
  const CircuitCheckOutcome outcome = session.Test();
  if (outcome.passed) return;
  std::string message = CircuitFaultLine(outcome.fault);
  if (outcome.parseResult == ParseResult::Ok && outcome.loopResult == LoopSearchResult::NotClosed)
    message = std::string(kNotClosedText) + "\n" + message;
  throw CommandRefusal(message);
}

std::vector<LoopStep> StepsOf(const CircuitState& state, const Loop& loop) {
  std::vector<LoopStep> steps;
  for (int k = 0; k < loop.StepCount(); ++k)
    steps.push_back({loop.Branches[k], loop.Forward(state.Branches, k) ? 1 : -1});
  return steps;
}

MethodAnswer Mesh(CircuitSession& session) {
  session.SolveMesh();
  const MeshSolution& solution = session.mesh().solution;
  const MeshTexts& window = session.meshTexts();
  MethodAnswer answer{Method::Mesh,    solution.loopCurrents, {}, {}, solution.branchCurrents,
                      solution.source, solution.consumed,     {}};
  answer.shown = {Grid("Матрица сопротивлений контуров", window.impedanceMatrix),
                  Grid("Контурные ЭДС", window.emfColumn), Memo("Контурные токи", window.loopCurrents),
                  Memo("Токи ветвей", window.branchCurrents), Memo("Баланс мощностей", window.powerBalance)};
  return answer;
}

MethodAnswer Nodal(Method method, CircuitSession& session, int zeroNode) {
  session.SolveNodes(method == Method::Nodal ? NodePotentialMethod : OptimalNodePotentialMethod, zeroNode);
  const NodalSolution& solution = session.nodes().solution;
  const NodeTexts& window = session.nodeTexts();
  MethodAnswer answer{
      method, {}, solution.Nodes, solution.Potentials, solution.Currents, solution.SourcePower, solution.ConsumedPower,
      {}};
  answer.shown = {Grid("Матрица проводимостей", window.admittanceMatrix),
                  Grid("Узловые токи", window.sourceCurrentColumn),
                  Memo("Проводимости и токи источников", window.branchValues),
                  Memo("Потенциалы узлов", window.potentials),
                  Memo("Токи ветвей", window.branchCurrents),
                  Memo("Баланс мощностей", window.powerBalance)};
  return answer;
}

bool NeedsZeroNode(const std::vector<Method>& methods) {
  for (Method method : methods)
    if (method != Method::Mesh) return true;
  return false;
}

template <class Run>
auto Refusing(Run run) {
  try {
    return run();
  } catch (const CommandRefusal&) {
    throw;
  } catch (const std::exception& error) {
    throw CommandRefusal(RefusalText(error));
  }
}

void CheckZeroNode(const CircuitState& state, int zeroNode) {
  if (ZeroNodeRefusalOf(state, zeroNode, false) != ZeroNodeRefusal::None)
    throw CommandRefusal(ZeroNodeOutsideText(std::to_string(zeroNode), state.NodeCount));
}

}  // namespace

namespace {

struct MethodWords {
  const char* name;
  const char* title;
};

const MethodWords& WordsOf(Method method) {
  static const MethodWords kWords[] = {{"mesh", "Метод контурных токов"},
                                       {"nodal", "Метод узловых потенциалов"},
                                       {"optimal", "Метод узловых потенциалов оптимальный"}};
  return kWords[static_cast<int>(method)];
}

}  // namespace

const char* MethodName(Method method) { return WordsOf(method).name; }

const char* MethodTitle(Method method) { return WordsOf(method).title; }

namespace {

// A session over a results folder that keeps nothing: a scripted run must
// not replace the student's own records.
struct CommandSession {
  CommandSession(const BranchTable& table, const FrequencySetting& frequency, int zeroNode) {
    // A table that needs extended circuits is solved as one, as its file says.
    session.Edit({table, frequency, std::to_string(zeroNode), UsesExtendedFeatures(table)});
    Test(session);
  }
  const CircuitState& state() const { return session.tested()->state; }

  CircuitState working;
  ResultsDirectory results = ResultsDirectory::Discarding();
  CircuitSession session{working, results};
};

}  // namespace

CircuitAnswer SolveCircuit(const BranchTable& table, const FrequencySetting& frequency, int zeroNode,
                           const std::vector<Method>& methods) {
  return Refusing([&] {
    CommandSession command(table, frequency, zeroNode);
    const CircuitState& state = command.state();
    if (NeedsZeroNode(methods)) CheckZeroNode(state, zeroNode);
    CircuitAnswer answer;
    answer.branchNames = BranchNames(table);
    answer.realBranches = command.session.tested()->m;
    answer.realNodes = command.session.tested()->n;
    answer.nodeCount = state.NodeCount;
    answer.zeroNode = zeroNode;
    for (int node = 1; node <= state.NodeCount; ++node)
      if (state.RealNodes.contains(node)) answer.junctions.push_back(node);
    for (const Loop& loop : state.Loops) answer.loops.push_back(StepsOf(state, loop));
    answer.loopLines = command.session.meshTexts().loops.lines;
    for (Method method : methods) {
      if (method == Method::Mesh) {
        answer.methods.push_back(Mesh(command.session));
      } else if (method == Method::Optimal && ZeroNodeRefusalOf(state, zeroNode, true) != ZeroNodeRefusal::None) {
        if (methods.size() == 1) throw CommandRefusal(kZeroNotJunctionText);
        answer.notes.push_back(std::string(kZeroNotJunctionText) + ": оптимальный метод узловых потенциалов пропущен.");
      } else {
        answer.methods.push_back(Nodal(method, command.session, zeroNode));
      }
    }
    return answer;
  });
}

ReportContent SolvedReport(const BranchTable& table, const FrequencySetting& frequency, int zeroNode,
                           const std::vector<Method>& methods) {
  return Refusing([&] {
    CommandSession command(table, frequency, zeroNode);
    if (NeedsZeroNode(methods)) CheckZeroNode(command.state(), zeroNode);
    bool nodesSolved = false;
    for (Method method : methods) {
      if (method == Method::Mesh) {
        Mesh(command.session);
      } else if (!nodesSolved) {
        if (method == Method::Optimal && ZeroNodeRefusalOf(command.state(), zeroNode, true) != ZeroNodeRefusal::None)
          throw CommandRefusal(kZeroNotJunctionText);
        Nodal(method, command.session, zeroNode);
        nodesSolved = true;
      }
    }
    ReportContent content = command.session.Report();
    content.available.drawing = false;
    return content;
  });
}

std::string TestedSpiceNetlist(const BranchTable& table, const FrequencySetting& frequency, int zeroNode) {
  return Refusing([&] {
    CommandSession command(table, frequency, zeroNode);
    CheckZeroNode(command.state(), zeroNode);
    return SpiceNetlist(command.state().Branches, table, frequency, zeroNode);
  });
}

}  // namespace ohmara
