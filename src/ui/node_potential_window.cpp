#include "ui/node_potential_window.h"

#include <QLabel>

#include "ui/widget_style.h"

namespace ohmara {

NodePotentialWindow::NodePotentialWindow(Prompts& prompts, CommandGuard guard)
    : ResultWindow(prompts, std::move(guard), "PotForm", QStringLiteral("Метод узловых потенциалов"), 828, 536) {
  QWidget* c = client();
  QLabel* title = PlaceLabel(c, "Label1", QStringLiteral("Метод узловых потенциалов"), 256, 0, 246, 20);
  title->setFont(InterfaceFont(16, true));
  PlaceLabel(c, "Label2", QStringLiteral("Матрица проводимостей"), 8, 8);
  admittanceGrid_ = AddGrid("GGrid", {8, 32, 673, 153});
  PlaceLabel(c, "Label3", QStringLiteral("Вектор- столбец I"), 696, 0, 81, 33)->setWordWrap(true);
  sourceCurrentGrid_ = AddGrid("IGrid", {688, 32, 137, 153});
  sourceCurrentGrid_->setColumnCount(1);
  PlaceLabel(c, "Label6", QStringLiteral("Исходные параметры ветвей"), 8, 186, 137, 33)->setWordWrap(true);
  branchValuesMemo_ = AddMemo("InValMem", {8, 216, 201, 313});
  PlaceLabel(c, "Label4", QStringLiteral("Узловые потенциалы"), 224, 200);
  potentialsMemo_ = AddMemo("NdPot", {224, 216, 169, 137});
  PlaceLabel(c, "Label7", QStringLiteral("Баланс мощностей"), 224, 368, 137, 17)->setWordWrap(true);
  powerMemo_ = AddMemo("PowerMemo", {224, 384, 281, 41});
  PlaceLabel(c, "Label5", QStringLiteral("Токи в каждой ветви"), 520, 200);
  branchCurrentsMemo_ = AddMemo("CurMemo", {520, 216, 225, 313}, true);
  PlaceLabel(c, "Image1", QString(), 784, 216, 33, 33);
  NameMenuItems("N2", "N3");
}

void NodePotentialWindow::Show(const NodeTexts& texts) {
  ShowTexts({{admittanceGrid_, texts.admittanceMatrix}, {sourceCurrentGrid_, texts.sourceCurrentColumn}},
            {{branchValuesMemo_, texts.branchValues},
             {potentialsMemo_, texts.potentials},
             {branchCurrentsMemo_, texts.branchCurrents},
             {powerMemo_, texts.powerBalance}});
}

void NodePotentialWindow::ShowSolution(const CircuitState& circuit, const NodalSolution& solution) {
  const std::vector<LabelledPhasor> potentials = NodePotentialPhasors(solution.Nodes, solution.Potentials);
  ShowBranchPowers(circuit.Branches, solution.Currents);
  ShowSolutionPhasors({{potentialsMemo_, QStringLiteral("Узловые потенциалы"), potentials},
                       {branchCurrentsMemo_, QStringLiteral("Токи в каждой ветви"),
                        BranchCurrentPhasors(circuit.Branches, solution.Currents)}},
                      {circuit.Branches, solution.Currents, potentials, circuit.NodeCount});
}

}  // namespace ohmara
