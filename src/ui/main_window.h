#pragma once
// The main window: the branch table, the frequency and zero-node boxes, the
// counts found by the check, and one button or menu item per command. Every
// edit of the table, the frequency, its unit or the zero node goes to the
// session's document at once; the commands work on the session. Its rows are
// the branch count: the label beside the grid only shows it.

#include <QMainWindow>
#include <optional>

#include "analysis/branch_impedances.h"
#include "analysis/circuit_session.h"
#include "analysis/node_potential.h"
#include "model/branch.h"
#include "model/circuit.h"
#include "model/results_directory.h"
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
  MainWindow(Prompts& prompts, CircuitSession& session, ResultsDirectory& results);

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

  // "Вид" → "Расширенные схемы": the J columns, "рад/с" in the unit list,
  // and the document tested as an extended circuit. Remembered between runs.
  bool ExtendedCircuits() const;
  void ApplyExtendedCircuits(bool on);

  // The frequency as typed and its unit.
  FrequencySetting Frequency() const;
  // The chosen unit: 0 "Гц", 1 "кГц", 2 "МГц".
  int UnitIndex() const;
  // The settings the next random circuit is drawn with.
  RandomSettings RandomCircuitSettings() const { return randomSettings_; }

  // Runs a command inside the error guard: an exception becomes an error box
  // and the program goes on; results files that could not be written are
  // reported once afterwards.
  void Guarded(const Command& command);
  CommandGuard Guard();

  // The message boxes of the methods stand at the window's left + 200, top + 200.
  QPoint MessagePosition() const;

 signals:
  // "Расширенные схемы" was turned on or off (or set again as it was).
  void ExtendedCircuitsApplied(bool on);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls(QWidget* client);
  void BuildMenu();
  void BuildViewMenu();
  void ShowColumnTitles();
  static bool ExtendedCircuitsRemembered();
  // The item was clicked: it turns off only while nothing needs it.
  void ExtendedCircuitsChosen(bool on);
  void ConnectCommands();
  void SetTabOrder();
  void ShowInitialState();
  void ShowBranchCount();
  void SetBranchRowCount(int branches);
  // Grid row `row` (1 = first branch) from `texts`, at the height of an added row.
  void FillBranchRow(int row, const BranchRow& texts);
  void ReportUnwrittenFiles();
  // Hands the controls' texts to the session and retitles the result windows.
  void DocumentEdited();
  // True when the tested circuit is there and still what the screen shows;
  // otherwise tells the user to test it.
  bool ReadyToSolve();
  // The zero node typed; text that is no integer throws, naming the edit.
  int TypedZeroNode() const;
  // The zero node typed when a node method may run on it: nothing after
  // telling the user to test, when it names no node of the tested circuit,
  // or, where a junction is needed, after saying there is none or it is none.
  std::optional<int> ZeroNodeToSolveWith(bool junctionNeeded);

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
  void MakeClassVariants();
  void ShowAbout();
  void ShowEditor();

  Prompts& prompts_;
  CircuitSession& session_;
  ResultsDirectory& results_;
  AppWindows* windows_ = nullptr;
  RandomSettings randomSettings_;
  // Set while the grid is refilled row by row, so that the document takes
  // the table once, whole.
  bool refilling_ = false;

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
  QAction* variantsAction_ = nullptr;
  QAction* printAction_ = nullptr;
  QAction* exitAction_ = nullptr;
  QAction* aboutAction_ = nullptr;
  QAction* extendedAction_ = nullptr;
};

}  // namespace ohmara
