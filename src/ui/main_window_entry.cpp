// The main window's ways of entering a circuit: the add-branch dialog,
// branch-table files and random circuits.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "generator/random_circuit.h"
#include "ui/random_settings_dialog.h"
#include "model/branch_table_file.h"
#include "model/number_text.h"
#include "ui/add_branch_dialog.h"
#include "ui/grid_edit.h"
#include "ui/main_window.h"
#include "ui/prompts.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

const QString kErrorTitle = QStringLiteral("Ошибка");
const QString kGridKept = QStringLiteral("\nТаблица ветвей не изменена.");

std::filesystem::path FilePath(const QString& name) { return std::filesystem::path(QFile::encodeName(name).toStdString()); }

QString ColumnTitle(int column) { return QString::fromStdString(BranchTableTitles()[column]); }

QString ReadingMessage(const QString& name, const BranchFileReading& reading) {
  const QString token = QString::fromStdString(reading.token);
  switch (reading.problem) {
    case BranchFileProblem::None:
      break;
    case BranchFileProblem::CannotOpen:
      return QStringLiteral("Не удалось открыть файл «%1».").arg(name);
    case BranchFileProblem::BadCount:
      if (token.isEmpty()) return QStringLiteral("Файл «%1» пуст: в нём нет числа ветвей.").arg(name);
      return QStringLiteral("Файл «%1», строка %2: первым должно стоять число ветвей (целое, не меньше 0), "
                            "а стоит «%3».")
          .arg(name)
          .arg(reading.line)
          .arg(token);
    case BranchFileProblem::EndsEarly:
      return QStringLiteral("Файл «%1» обрывается на строке %2: объявлено ветвей %3, но %4.")
          .arg(name)
          .arg(reading.line)
          .arg(reading.expectedRows)
          .arg(reading.column == kNameColumn ? QStringLiteral("ветви %1 в нём нет").arg(reading.row)
                                             : QStringLiteral("ветвь %1 записана не полностью").arg(reading.row));
    case BranchFileProblem::NotANumber:
      return QStringLiteral("Файл «%1», строка %2: в столбце «%3» ветви %4 стоит «%5», а это не число.")
          .arg(name)
          .arg(reading.line)
          .arg(ColumnTitle(reading.column))
          .arg(reading.row)
          .arg(token);
  }
  return QString();
}

QString UnstorableCellMessage(const CellPlace& cell) {
  return QStringLiteral("Файл не записан: в ячейке «%1» ветви %2 есть пробел, а в файле пробел разделяет "
                        "значения. Уберите пробел и сохраните снова.")
      .arg(ColumnTitle(cell.column))
      .arg(cell.row);
}

QString ImpossibleCircuitMessage(int points) {
  return QStringLiteral("Из %1 точек не построить цепь, которая пройдёт тест: каждый контур должен проходить "
                        "хотя бы через два узла, где сходятся три ветви или больше, а такие узлы появляются "
                        "только от 4 точек. Задайте не меньше 4 точек.")
      .arg(points);
}

QString NoTestableCircuitMessage(int loops, int points) {
  return QStringLiteral("Не удалось за %1 попыток построить из %2 точек цепь с %3 контурами, которая пройдёт "
                        "тест. Попробуйте ещё раз или задайте больше точек.")
             .arg(kRandomCircuitAttempts)
             .arg(points)
             .arg(loops) +
         kGridKept;
}

}  // namespace

void TRGZForm::BitBtn1Click() {
  TAddF& addF = *windows_.AddF;
  addF.EditorMode = 0;
  Present(&addF);
  BranchCount = StrToInt(NumbLb->text().toStdString());
}

void TRGZForm::N2Click() {
  const QString name = prompts_.OpenFileName(this, QStringLiteral("Открыть"), QStringLiteral("."));
  if (name.isEmpty()) return;
  const BranchFileReading reading = ReadBranchTableFile(FilePath(name));
  if (!reading.ok()) {
    prompts_.Critical(this, kErrorTitle, ReadingMessage(name, reading) + kGridKept);
    return;
  }
  // An edit still open would later write its text over the rows just read.
  CommitPendingEdit(*InitTable);
  SetBranchTable(reading.table);
  Panel2->hide();
}

void TRGZForm::N3Click() {
  // The text being typed belongs to the table the student sees.
  CommitPendingEdit(*InitTable);
  const QString name = prompts_.SaveFileName(this, QStringLiteral("Сохранить"), QStringLiteral("."));
  if (name.isEmpty()) return;
  const BranchTable table = ReadBranchTable();
  if (const std::optional<CellPlace> cell = FindUnstorableCell(table)) {
    prompts_.Critical(this, kErrorTitle, UnstorableCellMessage(*cell));
    return;
  }
  if (!SaveBranchTableFile(FilePath(name), table))
    prompts_.Critical(this, kErrorTitle,
                      QStringLiteral("Не удалось записать файл «%1». Прежнее содержимое файла не изменено.").arg(name));
}

void TRGZForm::BitBtn4Click() {
  TRandSetForm& settings = *windows_.RandSetForm;
  prompts_.RunModal(settings);
  if (settings.Accepted != 1 || !RandomSettingsAccepted(RandLoops, RandPoints)) return;
  if (!RandomCircuitPossible(RandPoints)) {
    prompts_.Inform(this, QStringLiteral("Ohmara"), ImpossibleCircuitMessage(RandPoints));
    return;
  }
  ClockRandomSource random;
  RandomCircuit circuit;
  try {
    circuit = GenerateRandomCircuit(RandLoops, RandPoints, random, results_);
  } catch (const NoTestableRandomCircuit&) {
    prompts_.Inform(this, QStringLiteral("Ohmara"), NoTestableCircuitMessage(RandLoops, RandPoints));
    return;
  }
  CommitPendingEdit(*InitTable);
  SetBranchTable(circuit.Table);
  Frequence->setText(QString::number(circuit.Frequency));
}

}  // namespace ohmara
