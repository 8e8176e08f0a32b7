#include "ui/mesh_current_window.h"

#include <QLabel>

#include "ui/widget_style.h"

namespace ohmara {

TCurrForm::TCurrForm(Prompts& prompts)
    : ResultWindow(prompts, "CurrForm", QStringLiteral("Метод контурных токов"), 828, 502) {
  QWidget* c = client();
  QLabel* title = PlaceLabel(c, "Label8", QStringLiteral("Метод контурных токов"), 296, 0);
  title->setFont(InterfaceFont(16, true));
  title->adjustSize();
  PlaceLabel(c, "Label2", QStringLiteral("Матрица сопротивлений"), 8, 8);
  RGrid = AddGrid("RGrid", {8, 32, 673, 153});
  PlaceLabel(c, "Label3", QStringLiteral("Вектор- столбец E"), 688, 0, 81, 33)->setWordWrap(true);
  EGrid = AddGrid("EGrid", {688, 32, 137, 153});
  EGrid->setColumnCount(1);
  PlaceLabel(c, "Label6", QStringLiteral("Исходные параметры ветвей"), 8, 190, 137, 33)->setWordWrap(true);
  InValMem = AddMemo("InValMem", {8, 216, 177, 281});
  PlaceLabel(c, "Label1", QStringLiteral("Контуры"), 192, 192);
  Conts = AddMemo("Conts", {192, 216, 249, 137});
  PlaceLabel(c, "Label4", QStringLiteral("Контурные токи"), 456, 192);
  ContCurr = AddMemo("ContCurr", {448, 216, 169, 137});
  PlaceLabel(c, "Label5", QStringLiteral("Токи в каждой ветви"), 656, 192);
  CurMemo = AddMemo("CurMemo", {632, 216, 185, 273}, true);
  PlaceLabel(c, "Label7", QStringLiteral("Баланс мощностей"), 192, 368, 137, 17);
  PowerMemo = AddMemo("PowerMemo", {192, 384, 289, 41});
  Helper = PlaceLabel(c, "Helper", QString(), 496, 384, 97, 13);
  print_->setObjectName(QStringLiteral("N1"));
  exit_->setObjectName(QStringLiteral("N2"));
}

CurrFormViews TCurrForm::Views() {
  return {ViewOf(RGrid),   ViewOf(EGrid),   ViewOf(InValMem), ViewOf(Conts),
          ViewOf(ContCurr), ViewOf(CurMemo), ViewOf(PowerMemo)};
}

}  // namespace ohmara
