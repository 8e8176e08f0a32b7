// The main window's ways of entering a circuit from elsewhere: branch-table
// files and random circuits.
#include <QLineEdit>
#include <QTableWidget>

#include "analysis/refusal_text.h"
#include "generator/random_circuit.h"
#include "model/branch_table_file.h"
#include "ui/application.h"
#include "ui/error_messages.h"
#include "ui/grid_edit.h"
#include "ui/main_window.h"
#include "ui/prompts.h"
#include "ui/random_settings_dialog.h"

namespace ohmara {

namespace {

const QString kErrorTitle = QStringLiteral("Ошибка");
const QString kGridKept = QStringLiteral("\nТаблица ветвей не изменена.");

QString ColumnTitle(int column) { return QString::fromStdString(BranchTableTitles()[column]); }

QString UnstorableCellMessage(const CellPlace& cell) {
  return QStringLiteral(
             "Файл не записан: в ячейке «%1» ветви %2 есть пробел, а в файле пробел разделяет "
             "значения. Уберите пробел и сохраните снова.")
      .arg(ColumnTitle(cell.column))
      .arg(cell.row);
}

QString ImpossibleCircuitMessage(int points) {
  return QStringLiteral(
             "Из %1 точек не построить цепь, которая пройдёт тест: каждый контур должен проходить "
             "хотя бы через два узла, где сходятся три ветви или больше, а такие узлы появляются "
             "только от 4 точек. Задайте не меньше 4 точек.")
      .arg(points);
}

QString NoTestableCircuitMessage(int loops, int points) {
  return QStringLiteral(
             "Не удалось за %1 попыток построить из %2 точек цепь с %3 контурами, которая пройдёт "
             "тест. Попробуйте ещё раз или задайте больше точек.")
             .arg(kRandomCircuitAttempts)
             .arg(points)
             .arg(loops) +
         kGridKept;
}

}  // namespace

bool MainWindow::LoadBranchTableFile(const QString& fileName) {
  return ShowBranchTable(ReadBranchTableFile(ChosenFilePath(fileName)), fileName);
}

bool MainWindow::ShowBranchTable(const BranchFileReading& reading, const QString& fileName) {
  if (!reading.ok()) {
    prompts_.Critical(this, kErrorTitle,
                      QString::fromStdString(BranchFileReadingText(fileName.toStdString(), reading)) + kGridKept);
    return false;
  }
  // An edit still open would later write its text over the rows just read.
  CommitPendingEdit(*branchGrid_);
  if (reading.extended) ApplyExtendedCircuits(true);
  SetBranchTable(reading.table);
  realCountsPanel_->hide();
  return true;
}

void MainWindow::OpenBranchFile() {
  const QString name = prompts_.OpenFileName(this, QStringLiteral("Открыть"), QStringLiteral("."));
  if (!name.isEmpty()) LoadBranchTableFile(name);
}

void MainWindow::SaveBranchFile() {
  // The text being typed belongs to the table the student sees.
  CommitPendingEdit(*branchGrid_);
  const QString name = prompts_.SaveFileName(this, QStringLiteral("Сохранить"), QStringLiteral("."));
  if (name.isEmpty()) return;
  const BranchTable table = ReadBranchTable();
  if (const std::optional<CellPlace> cell = FindUnstorableCell(table)) {
    prompts_.Critical(this, kErrorTitle, UnstorableCellMessage(*cell));
    return;
  }
  // A character the code page lacks would be stored as '?': refused, naming its cell.
  if (const std::optional<UnencodableCell> cell = FindUnencodableCell(table)) {
    prompts_.Critical(this, kErrorTitle, QString::fromStdString(UnencodableCellMessage(table, *cell)));
    return;
  }
  const SaveProblem problem = SaveBranchTableFileSafely(ChosenFilePath(name), table);
  if (problem != SaveProblem::None) prompts_.Critical(this, kErrorTitle, SaveProblemText(problem, name));
}

void MainWindow::CreateRandomCircuit() {
  RandomSettingsDialog& dialog = windows_->randomSettingsDialog();
  prompts_.RunModal(dialog);
  const std::optional<RandomSettings> chosen = dialog.Chosen();
  if (!chosen) return;
  randomSettings_ = *chosen;
  const auto [loops, points] = randomSettings_;
  if (!RandomSettingsAccepted(loops, points)) return;
  if (!RandomCircuitPossible(points)) {
    prompts_.Inform(this, QStringLiteral("Ohmara"), ImpossibleCircuitMessage(points));
    return;
  }
  ClockRandomSource random;
  RandomCircuit circuit;
  try {
    circuit = GenerateRandomCircuit(loops, points, random, results_);
  } catch (const NoTestableRandomCircuit&) {
    prompts_.Inform(this, QStringLiteral("Ohmara"), NoTestableCircuitMessage(loops, points));
    return;
  }
  CommitPendingEdit(*branchGrid_);
  SetBranchTable(circuit.Table);
  frequencyEdit_->setText(QString::number(circuit.Frequency));
}

}  // namespace ohmara
