#pragma once
// The main window: the branch table that is the master copy of the circuit,
// the frequency and zero-node boxes, the counts found by the check, and one
// button or menu item per command. Its rows are the branch count: the label
// beside the grid only shows it.

#include <QMainWindow>

#include "analysis/branch_impedances.h"
#include "analysis/node_potential.h"
#include "model/branch.h"
#include "model/circuit.h"
#include "model/results_directory.h"
#include "printing/printed_report.h"
#include "ui/command_guard.h"
#include "ui/random_settings_dialog.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace ohmara {

class AppWindows;
struct BranchFileReading;
class Prompts;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(Prompts& prompts, CircuitState& circuit, ResultsDirectory& results);

  // The other windows of the application, made when first needed.
  void SetWindows(AppWindows& windows);

  // The branch rows of the grid as texts.
  BranchTable ReadBranchTable() const;
  // Replaces every branch row by `table` (rows 20 pixels high).
  void SetBranchTable(const BranchTable& table);
  // Appends one branch row after the last one.
  void AppendBranchRow(const BranchRow& row);
  // Reads a branch-table file into the grid, as "Открыть" does: true when
  // the grid now holds it; otherwise an error box names the fault and the
  // grid stays as it was.
  bool LoadBranchTableFile(const QString& fileName);
  // The same for a table already read (from a file of that name, or made
  // by the editor): the grid shows it, or an error box says why not.
  bool ShowBranchTable(const BranchFileReading& reading, const QString& fileName);
  int BranchCount() const;

  // The frequency as typed and its unit.
  FrequencySetting Frequency() const;
  // The chosen unit: 0 "Гц", 1 "кГц", 2 "МГц".
  int UnitIndex() const;
  // The task as the grid, the frequency edit and the unit box show it, for
  // the printed report: every row (the title row 0 too) and column.
  TaskContent PrintedTask() const;
  // The settings the next random circuit is drawn with.
  RandomSettings RandomCircuitSettings() const { return randomSettings_; }

  // Runs a command inside the error guard: an exception becomes an error box
  // and the program goes on; results files that could not be written are
  // reported once afterwards.
  void Guarded(const Command& command);
  CommandGuard Guard();

  const CircuitState& circuit() const { return circuit_; }

  // The message boxes of the methods stand at the window's left + 200, top + 200.
  QPoint MessagePosition() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls(QWidget* client);
  void BuildMenu();
  void ConnectCommands();
  void SetTabOrder();
  void ShowInitialState();
  void ShowBranchCount();
  void SetBranchRowCount(int branches);
  // Grid row `row` (1 = first branch) from `texts`, at the height of an added row.
  void FillBranchRow(int row, const BranchRow& texts);
  void ReportUnwrittenFiles();

  // The commands, one per button or menu item.
  void AddBranch();
  void DeleteBranch();
  void CheckCircuit();
  void SolveByMeshCurrents();
  void SolveByNodePotentials();
  void SolveByOptimalNodePotentials();
  // Either node-potential method with its window and success message.
  void SolveByNodeMethod(NodeMethod method, int zeroNode);
  void CreateRandomCircuit();
  void OpenBranchFile();
  void SaveBranchFile();
  void ShowPrintDialog();
  void ExportSpiceNetlist();
  void ShowAbout();
  void ShowEditor();

  Prompts& prompts_;
  CircuitState& circuit_;
  ResultsDirectory& results_;
  AppWindows* windows_ = nullptr;
  RandomSettings randomSettings_;
  // The branch rows and the frequency of the last passed test: the methods
  // solve the impedances computed from them, so the SPICE netlist is written
  // from them too, whatever has been typed into the grid since.
  BranchTable testedTable_;
  FrequencySetting testedFrequency_;

  QTableWidget* branchGrid_ = nullptr;
  QLabel* branchCountLabel_ = nullptr;
  QLineEdit* frequencyEdit_ = nullptr;
  QComboBox* unitBox_ = nullptr;
  QLineEdit* zeroNodeEdit_ = nullptr;
  QFrame* realCountsPanel_ = nullptr;
  QLineEdit* realBranchesEdit_ = nullptr;
  QLineEdit* realNodesEdit_ = nullptr;
  QPushButton* addBranchButton_ = nullptr;
  QPushButton* deleteBranchButton_ = nullptr;
  QPushButton* checkButton_ = nullptr;
  QPushButton* meshCurrentButton_ = nullptr;
  QPushButton* nodePotentialButton_ = nullptr;
  QPushButton* optimalNodePotentialButton_ = nullptr;
  QPushButton* randomCircuitButton_ = nullptr;
  QPushButton* editorButton_ = nullptr;
  QAction* openAction_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* exportSpiceAction_ = nullptr;
  QAction* printAction_ = nullptr;
  QAction* exitAction_ = nullptr;
  QAction* aboutAction_ = nullptr;
};

}  // namespace ohmara
