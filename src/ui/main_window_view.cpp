// The main window's "Вид" menu: extended circuits, which add the current
// source columns and ω to the grid and let the test take parallel branches,
// current sources and circuits of one loop.
#include <QAction>
#include <QComboBox>
#include <QMenuBar>
#include <QSettings>
#include <QTableWidget>

#include "analysis/branch_impedances.h"
#include "ui/main_window.h"
#include "ui/prompts.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

const QString kSettingsOwner = QStringLiteral("Ohmara");
const QString kExtendedKey = QStringLiteral("Вид/Расширенные схемы");
constexpr int kExtendedColumnWidth = 50;

const QString kStillNeeded = QStringLiteral(
    "Расширенные схемы нельзя выключить, пока они нужны: в таблице есть источник тока или частота задана в "
    "рад/с. Уберите их и выключите снова.");

}  // namespace

void MainWindow::BuildViewMenu() {
  QMenu* view = menuBar()->addMenu(QStringLiteral("Вид"));
  view->setObjectName(QStringLiteral("ViewMenu"));
  extendedAction_ = view->addAction(QStringLiteral("Расширенные схемы"));
  extendedAction_->setObjectName(QStringLiteral("ExtendedCircuitsItem"));
  extendedAction_->setCheckable(true);
  connect(extendedAction_, &QAction::triggered, this, &MainWindow::ExtendedCircuitsChosen);
}

bool MainWindow::ExtendedCircuitsRemembered() {
  return QSettings(kSettingsOwner, kSettingsOwner).value(kExtendedKey, false).toBool();
}

bool MainWindow::ExtendedCircuits() const { return extendedAction_ && extendedAction_->isChecked(); }

void MainWindow::ExtendedCircuitsChosen(bool on) {
  // Turning off would drop the J columns and the unit; parallel branches are
  // only refused by the next test.
  const bool needed = UsesCurrentSource(ReadBranchTable()) || UnitIndex() == kRadiansPerSecondUnit;
  if (!on && needed) {
    extendedAction_->setChecked(true);
    prompts_.Inform(this, QStringLiteral("Ohmara"), kStillNeeded);
    return;
  }
  ApplyExtendedCircuits(on);
}

void MainWindow::ApplyExtendedCircuits(bool on) {
  extendedAction_->setChecked(on);
  QSettings(kSettingsOwner, kSettingsOwner).setValue(kExtendedKey, on);
  const int columns = TableColumns(on);
  if (branchGrid_->columnCount() != columns) {
    branchGrid_->setColumnCount(columns);
    ShowColumnTitles();
  }
  // The two current-source columns share the classic grid's width rather
  // than hide behind a horizontal scroll bar.
  for (int col = 0; col < columns; ++col)
    branchGrid_->setColumnWidth(col, on ? kExtendedColumnWidth : kGridColumnWidth);
  const bool listed = unitBox_->count() > kRadiansPerSecondUnit;
  if (on && !listed) unitBox_->addItem(QString::fromUtf8(UnitName(kRadiansPerSecondUnit)));
  if (!on && listed) unitBox_->removeItem(kRadiansPerSecondUnit);
  DocumentEdited();
  emit ExtendedCircuitsApplied(on);
}

}  // namespace ohmara
