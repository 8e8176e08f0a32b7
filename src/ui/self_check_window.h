#pragma once
// "Проверить своё решение": a form laid out as one method's window, with
// empty cells the student fills from a hand solution; "Проверить" marks each
// filled cell green or red against the program's solution, which stays
// hidden until "Показать ответ". In the mesh-current form the student may
// type their own loops, and the matrix and loop currents are then marked
// against the solution with those loops.

#include <QMainWindow>

#include "analysis/self_check.h"
#include "ui/command_guard.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace ohmara {

class Prompts;

class SelfCheckWindow : public QMainWindow {
 public:
  SelfCheckWindow(Prompts& prompts, CommandGuard guard, QWidget* parent);

  // Starts an empty form for `subject` (a solution the program has just
  // found); a form already filled for the same method and size is kept.
  void Begin(const SelfCheckSubject& subject);

  // The attempt as "Проверить" last marked it, for the printed report; none
  // before a check or once the form is replaced.
  const std::vector<std::string>& MarkedAttempt() const { return markedAttempt_; }

  // The commands, public for the tests as the buttons and items call them.
  void Check();
  void ToggleAnswer();
  void SaveAttempt();
  void OpenAttempt();

 private:
  void BuildControls();
  void BuildMenu();
  void Relabel();
  void ShowForm(const AttemptForm& form);
  AttemptForm TypedForm() const;
  // The expected cells, or nothing when the student's own loops are refused
  // (the refusal is shown).
  std::optional<ExpectedSolution> Expected();
  void ShowMarks(const AttemptMarks& marks);
  void ShowAnswer(const ExpectedSolution& expected);
  void HideAnswer();
  std::vector<QTableWidgetItem*> Cells() const;
  void Tell(const QString& text);

  Prompts& prompts_;
  CommandGuard guard_;
  SelfCheckSubject subject_;
  bool answerShown_ = false;
  std::vector<std::string> markedAttempt_;

  QComboBox* toleranceKindBox_ = nullptr;
  QLineEdit* toleranceEdit_ = nullptr;
  QPushButton* checkButton_ = nullptr;
  QPushButton* answerButton_ = nullptr;
  QLabel* summaryLabel_ = nullptr;
  QLabel* ownLoopsLabel_ = nullptr;
  QPlainTextEdit* ownLoopsEdit_ = nullptr;
  QLabel* matrixLabel_ = nullptr;
  QLabel* unknownsLabel_ = nullptr;
  QTableWidget* matrixGrid_ = nullptr;
  QTableWidget* sourceGrid_ = nullptr;
  QTableWidget* unknownGrid_ = nullptr;
  QTableWidget* currentGrid_ = nullptr;
  QTableWidget* powerGrid_ = nullptr;
};

}  // namespace ohmara
