#include "ui/mesh_current_window.h"

#include <QLabel>
#include <QPlainTextEdit>

#include "ui/widget_style.h"

namespace ohmara {

MeshCurrentWindow::MeshCurrentWindow(Prompts& prompts, CommandGuard guard)
    : ResultWindow(prompts, std::move(guard), "CurrForm", QStringLiteral("Метод контурных токов"), 828, 502) {
  QWidget* c = client();
  QLabel* title = PlaceLabel(c, "Label8", QStringLiteral("Метод контурных токов"), 296, 0);
  title->setFont(InterfaceFont(16, true));
  title->adjustSize();
  PlaceLabel(c, "Label2", QStringLiteral("Матрица сопротивлений"), 8, 8);
  impedanceGrid_ = AddGrid("RGrid", {8, 32, 673, 153});
  PlaceLabel(c, "Label3", QStringLiteral("Вектор- столбец E"), 688, 0, 81, 33)->setWordWrap(true);
  emfGrid_ = AddGrid("EGrid", {688, 32, 137, 153});
  emfGrid_->setColumnCount(1);
  PlaceLabel(c, "Label6", QStringLiteral("Исходные параметры ветвей"), 8, 190, 137, 33)->setWordWrap(true);
  branchValuesMemo_ = AddMemo("InValMem", {8, 216, 177, 281});
  PlaceLabel(c, "Label1", QStringLiteral("Контуры"), 192, 192);
  loopsMemo_ = AddMemo("Conts", {192, 216, 249, 137});
  PlaceLabel(c, "Label4", QStringLiteral("Контурные токи"), 456, 192);
  loopCurrentsMemo_ = AddMemo("ContCurr", {448, 216, 169, 137});
  PlaceLabel(c, "Label5", QStringLiteral("Токи в каждой ветви"), 656, 192);
  branchCurrentsMemo_ = AddMemo("CurMemo", {632, 216, 185, 273}, true);
  PlaceLabel(c, "Label7", QStringLiteral("Баланс мощностей"), 192, 368, 137, 17);
  powerMemo_ = AddMemo("PowerMemo", {192, 384, 289, 41});
  PlaceLabel(c, "Helper", QString(), 496, 384, 97, 13);
  NameMenuItems("N1", "N2");
}

void MeshCurrentWindow::Show(const MeshTexts& texts) {
  ShowTexts({{impedanceGrid_, texts.impedanceMatrix}, {emfGrid_, texts.emfColumn}},
            {{branchValuesMemo_, texts.branchValues},
             {loopsMemo_, texts.loops},
             {loopCurrentsMemo_, texts.loopCurrents},
             {branchCurrentsMemo_, texts.branchCurrents},
             {powerMemo_, texts.powerBalance}});
}

void MeshCurrentWindow::ShowSolution(const CircuitState& circuit, const MeshSolution& solution) {
  ShowBranchPowers(circuit.Branches, solution.branchCurrents);
  ShowSolutionPhasors({{loopCurrentsMemo_, QStringLiteral("Контурные токи"), LoopCurrentPhasors(solution.loopCurrents)},
                       {branchCurrentsMemo_, QStringLiteral("Токи в каждой ветви"),
                        BranchCurrentPhasors(circuit.Branches, solution.branchCurrents)}},
                      {circuit.Branches, solution.branchCurrents, {}, circuit.NodeCount});
}

}  // namespace ohmara
