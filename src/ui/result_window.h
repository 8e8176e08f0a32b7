#pragma once
// What the two result windows share: a fixed white client area with a
// "Файл" menu of "Печать" (the window's own picture on a printer or a PDF
// file) and "Выход" (hides the window; its contents stay for the next run),
// and a "Вид" menu with the polar forms of the solution's values
// ("Показательная форма", a panel beside the client area) and its phasor
// diagram ("Векторная диаграмма").

#include <QMainWindow>
#include <QStringList>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/phasor_readouts.h"
#include "analysis/power_balance.h"
#include "analysis/self_check.h"
#include "ui/command_guard.h"
#include "ui/phasor_canvas.h"
#include "ui/widget_views.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QTableWidget;

namespace ohmara {

class PhasorDiagramWindow;
class SelfCheckWindow;
class Prompts;

class ResultWindow : public QMainWindow {
 public:
  ResultWindow(Prompts& prompts, CommandGuard guard, const char* name, const QString& caption, int clientWidth,
               int clientHeight);

  // Prints the window's picture scaled to the page, after the printer dialog.
  // The polar panel is not part of it: the printout stays the window's own.
  void PrintPicture();

  // Drops the readouts and the diagram of the last solution, before the
  // memos that showed it change.
  void ForgetSolution();

  // Adds " — таблица изменена после проверки" to the caption while what the
  // window shows belongs to a circuit other than the one on screen.
  void MarkStale(bool stale);

  // The diagram window of this result window, for the tests.
  PhasorDiagramWindow& phasorDiagram() { return *phasorDiagram_; }

  // Lets the student check a hand solution of the run just shown
  // ("Вид" → "Проверить своё решение").
  void OfferSelfCheck(SelfCheckSubject subject);
  // The student's attempt at the run shown, as last marked; none when there
  // is no such run or no marked attempt.
  std::vector<std::string> MarkedAttempt() const;
  // The shown solution's branch powers for the report while "Мощности
  // ветвей" is on; none otherwise.
  std::vector<std::string> AskedBranchPowers() const;
  // The self-check window, made when first needed.
  SelfCheckWindow& selfCheckWindow();

 protected:
  QWidget* client() const { return client_; }
  QTableWidget* AddGrid(const char* name, QRect bounds);
  QPlainTextEdit* AddMemo(const char* name, QRect bounds, bool bold = false);
  // Shows the texts a run left, the grids first; a grid no run has written
  // keeps what it was built with.
  using GridTexts = std::pair<QTableWidget*, const GridCells&>;
  using MemoTexts = std::pair<QPlainTextEdit*, const MemoLines&>;
  void ShowTexts(std::initializer_list<GridTexts> grids, std::initializer_list<MemoTexts> memos);

  // The objectNames of the "Печать" and "Выход" items, which differ per window.
  void NameMenuItems(const char* print, const char* exit);

  // The values a memo shows, one per line in the memo's order.
  struct MemoValues {
    QPlainTextEdit* memo;
    QString heading;
    std::vector<LabelledPhasor> values;
  };
  // Shows the polar form of every value as the tooltip of its memo line and
  // in the polar panel, and hands the solution to the diagram.
  void ShowSolutionPhasors(const std::vector<MemoValues>& memos, const SolutionPhasors& phasors);
  // Fills the table of "Вид" → "Мощности ветвей": P + jQ of every element
  // and the two totals.
  void ShowBranchPowers(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildViewMenu();
  // Lays out the client and the side panels that are switched on.
  void ShowSidePanels();
  void OpenPhasorDiagram();
  void OpenSelfCheck();
  // The polar line of the memo line under `position` of a memo's viewport;
  // empty where no value line is.
  QString PolarLineAt(const QPlainTextEdit& memo, QPoint position) const;

  QAction* printAction_ = nullptr;
  QAction* exitAction_ = nullptr;
  QAction* polarPanelAction_ = nullptr;
  QAction* powersPanelAction_ = nullptr;
  QAction* phasorDiagramAction_ = nullptr;
  QAction* selfCheckAction_ = nullptr;
  Prompts& prompts_;
  CommandGuard guard_;
  QString caption_;
  int clientWidth_;
  int clientHeight_;
  QWidget* body_;
  QWidget* client_;
  QPlainTextEdit* polarPanel_ = nullptr;
  QTableWidget* powersPanel_ = nullptr;
  std::vector<BranchPower> branchPowers_;  // of the solution shown
  PhasorDiagramWindow* phasorDiagram_ = nullptr;
  SelfCheckWindow* selfCheck_ = nullptr;
  std::optional<SelfCheckSubject> selfCheckSubject_;
  std::map<QTableWidget*, std::unique_ptr<WidgetGrid>> grids_;
  std::map<QPlainTextEdit*, std::unique_ptr<WidgetMemo>> memos_;
  // The polar line of every value line, by the memo that shows the value.
  std::map<const QPlainTextEdit*, QStringList> polarLines_;
};

}  // namespace ohmara
