#pragma once
// The main window: the branch table that is the master copy of the circuit,
// the frequency and zero-node boxes, the counts found by the test, and one
// button or menu item per command.

#include <QMainWindow>
#include <functional>

#include "model/branch.h"
#include "model/circuit.h"
#include "model/results_directory.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace ohmara {

class Prompts;
class TAddF;
class TResTest;
class TAboutPrForm;
class TRandSetForm;
class TCurrForm;
class TPotForm;
class TRGZForm;

// The windows the application creates at start-up, in creation order; they
// live until the program ends.
struct AppWindows {
  TRGZForm* RGZForm = nullptr;
  TAddF* AddF = nullptr;
  TResTest* ResTest = nullptr;
  TAboutPrForm* AboutPrForm = nullptr;
  TRandSetForm* RandSetForm = nullptr;
  TCurrForm* CurrForm = nullptr;
  TPotForm* PotForm = nullptr;
};

class TRGZForm : public QMainWindow {
  Q_OBJECT

 public:
  TRGZForm(Prompts& prompts, CircuitState& circuit, ResultsDirectory& results);

  // Called once every window exists.
  void SetWindows(const AppWindows& windows) { windows_ = windows; }

  // Rows 1..BranchCount of the grid as texts.
  BranchTable ReadBranchTable() const;
  // Replaces every branch row by `table` (rows 20 pixels high) and keeps
  // BranchCount and NumbLb with it.
  void SetBranchTable(const BranchTable& table);
  // Appends one branch row after the last one.
  void AppendBranchRow(const BranchRow& row);
  // Index of the unit item the combo box text names, -1 for typed text that names none.
  int UnitIndex() const;

  // Runs a command inside the error guard: an exception becomes an error box
  // and the program goes on; results files that could not be written are
  // reported once afterwards.
  void Guarded(const std::function<void()>& command);

  Prompts& prompts() { return prompts_; }
  CircuitState& circuit() { return circuit_; }
  ResultsDirectory& results() { return results_; }
  const AppWindows& windows() const { return windows_; }

  int BranchCount = 0;
  int RandLoops = 4;
  int RandPoints = 7;

  QLabel* Label4 = nullptr;
  QTableWidget* InitTable = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QFrame* Panel1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* NumbLb = nullptr;
  QLabel* freq = nullptr;
  QLineEdit* Frequence = nullptr;
  QComboBox* Dimens = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* U0Ed = nullptr;
  QFrame* Panel2 = nullptr;
  QLabel* Label5 = nullptr;
  QLineEdit* EdM = nullptr;
  QLabel* Label6 = nullptr;
  QLineEdit* EdN = nullptr;
  QPushButton* TestBtn = nullptr;
  QPushButton* ContBtn = nullptr;
  QPushButton* PotentialBtn = nullptr;
  QPushButton* BitBtn3 = nullptr;
  QPushButton* BitBtn4 = nullptr;
  QPushButton* Button2 = nullptr;
  QWidget* Image1 = nullptr;
  QAction* N2 = nullptr;  // Файл → Открыть
  QAction* N3 = nullptr;  // Файл → Сохранить
  QAction* N4 = nullptr;  // Файл → Печать
  QAction* N7 = nullptr;  // Файл → Выход
  QAction* N6 = nullptr;  // Справка → О программе

  // Command handlers, named after their controls.
  void BitBtn1Click();       // Добавить ветвь
  void BitBtn2Click();       // Удалить ветвь
  void TestBtnClick();       // Тест
  void ContBtnClick();       // Метод контурных токов
  void PotentialBtnClick();  // Метод узловых потенциалов
  void BitBtn3Click();       // Метод узловых потенциалов оптимальный
  void BitBtn4Click();       // Создание произвольной цепи
  void N2Click();            // Открыть
  void N3Click();            // Сохранить
  void N6Click();            // О программе
  void N7Click();            // Выход

  // The message boxes of the methods stand at the window's left + 200, top + 200.
  QPoint MessagePosition() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void BuildControls(QWidget* client);
  void BuildMenu();
  void ConnectCommands();
  void SetTabOrder();
  void ShowBranchCount();
  // Grid row `row` (1 = first branch) from `texts`, at the height of an added row.
  void FillBranchRow(int row, const BranchRow& texts);
  void ReportUnwrittenFiles();

  Prompts& prompts_;
  CircuitState& circuit_;
  ResultsDirectory& results_;
  AppWindows windows_;
};

}  // namespace ohmara
