#include "ui/self_check_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "analysis/refusal_text.h"
#include "model/branch_table_file.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "ui/error_messages.h"
#include "ui/grid_edit.h"
#include "ui/prompts.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

const QString kTitle = QStringLiteral("Проверка решения");
const QColor kRightColour(198, 239, 206);
const QColor kWrongColour(255, 199, 206);
const QColor kAnswerColour(110, 110, 110);
// Cells holding the program's value while the answer is shown: not the student's.
constexpr int kShownAnswerRole = Qt::UserRole + 1;

QString MethodName(Method method) {
  switch (method) {
    case Method::Mesh:
      return QStringLiteral("метод контурных токов");
    case Method::Nodal:
      return QStringLiteral("метод узловых потенциалов");
    case Method::Optimal:
      return QStringLiteral("метод узловых потенциалов оптимальный");
  }
  return QString();
}

QTableWidget* AnswerGrid(const char* name) {
  auto* grid = new QTableWidget;
  grid->setObjectName(QString::fromLatin1(name));
  grid->setFont(SerifFont(15));
  MakeGridEditable(grid);
  grid->horizontalHeader()->setDefaultSectionSize(130);
  grid->verticalHeader()->setDefaultSectionSize(24);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  return grid;
}

// A grid under its caption.
QVBoxLayout* Captioned(QLabel* caption, QTableWidget* grid) {
  auto* column = new QVBoxLayout;
  column->addWidget(caption);
  column->addWidget(grid);
  return column;
}

QStringList Names(const std::vector<std::string>& names) {
  QStringList list;
  for (const std::string& name : names) list << QString::fromStdString(name);
  return list;
}

QStringList Numbers(int count) {
  QStringList list;
  for (int k = 1; k <= count; ++k) list << QString::number(k);
  return list;
}

// Lays `cells` (rows of columns) into `grid`, a fresh editable item a cell.
void FillGrid(QTableWidget* grid, const std::vector<std::vector<std::string>>& cells, int columns) {
  grid->clearContents();
  grid->setRowCount(static_cast<int>(cells.size()));
  grid->setColumnCount(columns);
  for (int r = 0; r < grid->rowCount(); ++r)
    for (int c = 0; c < columns; ++c)
      grid->setItem(r, c,
                    new QTableWidgetItem(c < static_cast<int>(cells[r].size()) ? QString::fromStdString(cells[r][c])
                                                                               : QString()));
}

std::vector<std::vector<std::string>> AsRows(const std::vector<std::string>& column) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& cell : column) rows.push_back({cell});
  return rows;
}

std::string Typed(const QTableWidgetItem* item) {
  if (!item || item->data(kShownAnswerRole).toBool()) return std::string();
  return item->text().toStdString();
}

std::vector<std::string> TypedColumn(const QTableWidget& grid) {
  std::vector<std::string> column;
  for (int r = 0; r < grid.rowCount(); ++r) column.push_back(Typed(grid.item(r, 0)));
  return column;
}

void ShowMark(QTableWidgetItem* item, const CellMark& mark) {
  switch (mark.kind) {
    case CellMark::Kind::Blank:
      item->setBackground(QBrush());
      item->setToolTip(QString());
      return;
    case CellMark::Kind::Right:
      item->setBackground(kRightColour);
      item->setToolTip(QStringLiteral("Верно"));
      return;
    case CellMark::Kind::Wrong:
      item->setBackground(kWrongColour);
      item->setToolTip(QStringLiteral("Ответ программы: %1; отличие %2 %")
                           .arg(QString::fromStdString(ComplexToText(mark.expected)).trimmed())
                           .arg(QString::number(mark.difference * 100.0, 'g', 3)));
      return;
    case CellMark::Kind::Unreadable:
      item->setBackground(kWrongColour);
      item->setToolTip(QStringLiteral("Не прочитано как число: пишите, например, 3 + j4, 3 - j4 или 5∠-53.13°"));
      return;
  }
}

void ShowColumnMarks(QTableWidget* grid, const std::vector<CellMark>& marks) {
  for (int r = 0; r < grid->rowCount() && r < static_cast<int>(marks.size()); ++r) ShowMark(grid->item(r, 0), marks[r]);
}

// The program's values as rows of texts, for showing the answer.
std::vector<std::vector<Complex>> Column(const std::vector<Complex>& values) {
  std::vector<std::vector<Complex>> rows;
  for (const Complex& value : values) rows.push_back({value});
  return rows;
}

void ShowGridAnswer(QTableWidget* grid, const std::vector<std::vector<Complex>>& values) {
  for (int r = 0; r < grid->rowCount() && r < static_cast<int>(values.size()); ++r) {
    for (int c = 0; c < grid->columnCount() && c < static_cast<int>(values[r].size()); ++c) {
      QTableWidgetItem* item = grid->item(r, c);
      if (!item || !IsBlank(item->text().toStdString())) continue;
      item->setText(QString::fromStdString(ComplexToText(values[r][c])).trimmed());
      item->setForeground(kAnswerColour);
      item->setFlags(item->flags() & ~Qt::ItemIsEditable);
      item->setData(kShownAnswerRole, true);
    }
  }
}

}  // namespace

SelfCheckWindow::SelfCheckWindow(Prompts& prompts, CommandGuard guard, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts), guard_(std::move(guard)) {
  setObjectName(QStringLiteral("SelfCheckForm"));
  setFont(InterfaceFont(11));
  BuildControls();
  BuildMenu();
  resize(760, 640);
}

void SelfCheckWindow::BuildControls() {
  auto* client = new QWidget(this);
  auto* layout = new QVBoxLayout(client);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Допуск:")));
  toleranceEdit_ = new QLineEdit(QStringLiteral("1"));
  toleranceEdit_->setObjectName(QStringLiteral("ToleranceEdit"));
  toleranceEdit_->setMaximumWidth(60);
  top->addWidget(toleranceEdit_);
  toleranceKindBox_ = new QComboBox;
  toleranceKindBox_->setObjectName(QStringLiteral("ToleranceKindBox"));
  toleranceKindBox_->addItems({QStringLiteral("%"), QStringLiteral("значащих цифр")});
  top->addWidget(toleranceKindBox_);
  checkButton_ = new QPushButton(QStringLiteral("Проверить"));
  checkButton_->setObjectName(QStringLiteral("CheckBtn"));
  answerButton_ = new QPushButton(QStringLiteral("Показать ответ"));
  answerButton_->setObjectName(QStringLiteral("ShowAnswerBtn"));
  top->addWidget(checkButton_);
  top->addWidget(answerButton_);
  summaryLabel_ = new QLabel;
  summaryLabel_->setObjectName(QStringLiteral("SummaryLabel"));
  summaryLabel_->setFont(InterfaceFont(13, true));
  top->addWidget(summaryLabel_, 1);
  layout->addLayout(top);

  ownLoopsLabel_ =
      new QLabel(QStringLiteral("Свои контуры: узлы через дефис, по контуру в строке, в направлении обхода (1-2-3-1); "
                                "пусто — контуры программы"));
  ownLoopsEdit_ = new QPlainTextEdit;
  ownLoopsEdit_->setObjectName(QStringLiteral("OwnLoopsEdit"));
  ownLoopsEdit_->setMaximumHeight(70);
  layout->addWidget(ownLoopsLabel_);
  layout->addWidget(ownLoopsEdit_);

  matrixLabel_ = new QLabel;
  matrixGrid_ = AnswerGrid("MatrixGrid");
  sourceGrid_ = AnswerGrid("SourceGrid");
  auto* system = new QHBoxLayout;
  system->addLayout(Captioned(matrixLabel_, matrixGrid_), 3);
  system->addLayout(Captioned(new QLabel(QStringLiteral("Правая часть")), sourceGrid_), 1);
  layout->addLayout(system, 2);

  unknownsLabel_ = new QLabel;
  unknownGrid_ = AnswerGrid("UnknownGrid");
  currentGrid_ = AnswerGrid("CurrentGrid");
  auto* solution = new QHBoxLayout;
  solution->addLayout(Captioned(unknownsLabel_, unknownGrid_));
  solution->addLayout(Captioned(new QLabel(QStringLiteral("Токи ветвей")), currentGrid_));
  layout->addLayout(solution, 2);

  layout->addWidget(new QLabel(QStringLiteral("Баланс мощностей")));
  powerGrid_ = AnswerGrid("PowerGrid");
  powerGrid_->setMaximumHeight(80);
  layout->addWidget(powerGrid_);
  setCentralWidget(client);

  connect(checkButton_, &QPushButton::clicked, this, [this] { guard_([this] { Check(); }); });
  connect(answerButton_, &QPushButton::clicked, this, [this] { guard_([this] { ToggleAnswer(); }); });
}

void SelfCheckWindow::BuildMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
  auto add = [this, file](const char* name, const QString& text, void (SelfCheckWindow::*command)()) {
    QAction* item = file->addAction(text);
    item->setObjectName(QString::fromLatin1(name));
    connect(item, &QAction::triggered, this, [this, command] { guard_([this, command] { (this->*command)(); }); });
  };
  add("OpenAttemptItem", QStringLiteral("Открыть попытку…"), &SelfCheckWindow::OpenAttempt);
  add("SaveAttemptItem", QStringLiteral("Сохранить попытку…"), &SelfCheckWindow::SaveAttempt);
  file->addSeparator();
  QAction* close = file->addAction(QStringLiteral("Закрыть"));
  close->setObjectName(QStringLiteral("CloseItem"));
  connect(close, &QAction::triggered, this, &QWidget::close);
}

void SelfCheckWindow::Begin(const SelfCheckSubject& subject) {
  const bool sameShape = subject.method == subject_.method && subject.program.matrix == subject_.program.matrix &&
                         subject.unknownNames == subject_.unknownNames && subject.branchNames == subject_.branchNames;
  subject_ = subject;
  Relabel();
  if (sameShape) return;
  ShowForm(EmptyAttempt(subject.method, static_cast<int>(subject.program.matrix.size()),
                        static_cast<int>(subject.unknownNames.size()), static_cast<int>(subject.branchNames.size())));
}

void SelfCheckWindow::Relabel() {
  const bool mesh = subject_.method == Method::Mesh;
  setWindowTitle(kTitle + QStringLiteral(": ") + MethodName(subject_.method));
  ownLoopsLabel_->setVisible(mesh);
  ownLoopsEdit_->setVisible(mesh);
  matrixLabel_->setText(mesh ? QStringLiteral("Матрица контурных сопротивлений")
                             : QStringLiteral("Матрица узловых проводимостей"));
  unknownsLabel_->setText(mesh ? QStringLiteral("Контурные токи") : QStringLiteral("Потенциалы узлов"));
}

void SelfCheckWindow::ShowForm(const AttemptForm& form) {
  answerShown_ = false;
  markedAttempt_.clear();
  answerButton_->setText(QStringLiteral("Показать ответ"));
  summaryLabel_->clear();
  toleranceKindBox_->setCurrentIndex(form.tolerance.kind == Tolerance::Kind::Percent ? 0 : 1);
  toleranceEdit_->setText(QString::number(form.tolerance.amount, 'g', 15));
  ownLoopsEdit_->setPlainText(QString::fromStdString(form.ownLoops));
  const int equations = static_cast<int>(form.matrix.size());
  FillGrid(matrixGrid_, form.matrix, equations);
  FillGrid(sourceGrid_, AsRows(form.sources), 1);
  FillGrid(unknownGrid_, AsRows(form.unknowns), 1);
  FillGrid(currentGrid_, AsRows(form.branchCurrents), 1);
  FillGrid(powerGrid_, {{form.sourcePower}, {form.consumedPower}}, 1);
  matrixGrid_->setHorizontalHeaderLabels(Numbers(equations));
  matrixGrid_->setVerticalHeaderLabels(Numbers(equations));
  sourceGrid_->setVerticalHeaderLabels(Numbers(equations));
  sourceGrid_->setHorizontalHeaderLabels({subject_.method == Method::Mesh ? QStringLiteral("E") : QStringLiteral("J")});
  unknownGrid_->setVerticalHeaderLabels(Names(subject_.unknownNames));
  unknownGrid_->setHorizontalHeaderLabels({QStringLiteral("значение")});
  currentGrid_->setVerticalHeaderLabels(Names(subject_.branchNames));
  currentGrid_->setHorizontalHeaderLabels({QStringLiteral("значение")});
  powerGrid_->setVerticalHeaderLabels({QStringLiteral("Мощность источников"), QStringLiteral("Потребляемая мощность")});
  powerGrid_->setHorizontalHeaderLabels({QStringLiteral("значение")});
}

AttemptForm SelfCheckWindow::TypedForm() const {
  AttemptForm form;
  form.method = subject_.method;
  form.tolerance.kind =
      toleranceKindBox_->currentIndex() == 0 ? Tolerance::Kind::Percent : Tolerance::Kind::SignificantDigits;
  const Answer amount = ReadAnswer(toleranceEdit_->text().toStdString());
  form.tolerance.amount = amount.kind == Answer::Kind::Value ? amount.value.re : 0.0;
  if (subject_.method == Method::Mesh) form.ownLoops = ownLoopsEdit_->toPlainText().toStdString();
  for (int r = 0; r < matrixGrid_->rowCount(); ++r) {
    std::vector<std::string>& row = form.matrix.emplace_back();
    for (int c = 0; c < matrixGrid_->columnCount(); ++c) row.push_back(Typed(matrixGrid_->item(r, c)));
  }
  form.sources = TypedColumn(*sourceGrid_);
  form.unknowns = TypedColumn(*unknownGrid_);
  form.branchCurrents = TypedColumn(*currentGrid_);
  const std::vector<std::string> powers = TypedColumn(*powerGrid_);
  form.sourcePower = powers.size() > 0 ? powers[0] : std::string();
  form.consumedPower = powers.size() > 1 ? powers[1] : std::string();
  return form;
}

std::optional<ExpectedSolution> SelfCheckWindow::Expected() {
  if (subject_.method != Method::Mesh || IsBlank(ownLoopsEdit_->toPlainText().toStdString())) return subject_.program;
  const StudentLoops loops =
      ReadStudentLoops(ownLoopsEdit_->toPlainText().toStdString(), subject_.branches, subject_.nodeCount);
  if (!loops.accepted) {
    Tell(QString::fromStdString(LoopRefusalText(loops.refusal)));
    return std::nullopt;
  }
  return WithOwnLoops(subject_.program, SolveByLoops(subject_.branches, loops.loops));
}

void SelfCheckWindow::Check() {
  for (QTableWidget* grid : {matrixGrid_, sourceGrid_, unknownGrid_, currentGrid_, powerGrid_})
    CommitPendingEdit(*grid);
  const AttemptForm form = TypedForm();
  if (!(form.tolerance.amount > 0.0)) {
    Tell(QStringLiteral("Допуск «%1» — не положительное число.").arg(toleranceEdit_->text()));
    return;
  }
  const std::optional<ExpectedSolution> expected = Expected();
  if (!expected) return;
  const AttemptMarks marks = MarkAttempt(form, *expected);
  ShowMarks(marks);
  markedAttempt_ = AttemptReportLines(subject_, form, marks);
  summaryLabel_->setText(QStringLiteral("Верно %1 из %2").arg(marks.right).arg(marks.filled));
}

void SelfCheckWindow::ShowMarks(const AttemptMarks& marks) {
  for (int r = 0; r < matrixGrid_->rowCount() && r < static_cast<int>(marks.matrix.size()); ++r)
    for (int c = 0; c < matrixGrid_->columnCount() && c < static_cast<int>(marks.matrix[r].size()); ++c)
      ShowMark(matrixGrid_->item(r, c), marks.matrix[r][c]);
  ShowColumnMarks(sourceGrid_, marks.sources);
  ShowColumnMarks(unknownGrid_, marks.unknowns);
  ShowColumnMarks(currentGrid_, marks.branchCurrents);
  ShowColumnMarks(powerGrid_, {marks.sourcePower, marks.consumedPower});
}

void SelfCheckWindow::ToggleAnswer() {
  if (answerShown_) {
    HideAnswer();
    return;
  }
  const std::optional<ExpectedSolution> expected = Expected();
  if (!expected) return;
  ShowAnswer(*expected);
}

void SelfCheckWindow::ShowAnswer(const ExpectedSolution& expected) {
  ShowGridAnswer(matrixGrid_, expected.matrix);
  ShowGridAnswer(sourceGrid_, Column(expected.sources));
  ShowGridAnswer(unknownGrid_, Column(expected.unknowns));
  ShowGridAnswer(currentGrid_, Column(expected.branchCurrents));
  ShowGridAnswer(powerGrid_, Column({expected.sourcePower, expected.consumedPower}));
  answerShown_ = true;
  answerButton_->setText(QStringLiteral("Скрыть ответ"));
}

void SelfCheckWindow::HideAnswer() {
  for (QTableWidgetItem* item : Cells()) {
    if (!item->data(kShownAnswerRole).toBool()) continue;
    item->setText(QString());
    item->setData(kShownAnswerRole, false);
    item->setForeground(QBrush());
    item->setFlags(item->flags() | Qt::ItemIsEditable);
  }
  answerShown_ = false;
  answerButton_->setText(QStringLiteral("Показать ответ"));
}

std::vector<QTableWidgetItem*> SelfCheckWindow::Cells() const {
  std::vector<QTableWidgetItem*> cells;
  for (const QTableWidget* grid : {matrixGrid_, sourceGrid_, unknownGrid_, currentGrid_, powerGrid_})
    for (int r = 0; r < grid->rowCount(); ++r)
      for (int c = 0; c < grid->columnCount(); ++c)
        if (QTableWidgetItem* item = grid->item(r, c)) cells.push_back(item);
  return cells;
}

void SelfCheckWindow::SaveAttempt() {
  for (QTableWidget* grid : {matrixGrid_, sourceGrid_, unknownGrid_, currentGrid_, powerGrid_})
    CommitPendingEdit(*grid);
  const QString name = prompts_.SaveFileName(this, QStringLiteral("Сохранить попытку"), QStringLiteral("attempt.txt"));
  if (name.isEmpty()) return;
  const std::string text = AttemptFileText(TypedForm());
  if (const std::optional<std::string> character = FirstCharacterOutsideCp1251(text)) {
    Tell(QStringLiteral("В ответах есть знак «%1», которого нет в кодировке Windows-1251, в которой хранится файл. "
                        "Файл не записан.")
             .arg(QString::fromStdString(*character)));
    return;
  }
  const SaveProblem problem = SaveTextFileSafely(ChosenFilePath(name), text);
  if (problem != SaveProblem::None) prompts_.Critical(this, QStringLiteral("Ошибка"), SaveProblemText(problem, name));
}

void SelfCheckWindow::OpenAttempt() {
  const QString name = prompts_.OpenFileName(this, QStringLiteral("Открыть попытку"), QStringLiteral("."));
  if (name.isEmpty()) return;
  const std::optional<std::string> text = ReadTextFile(ChosenFilePath(name));
  if (!text) {
    Tell(QStringLiteral("Не удалось прочитать файл «%1».").arg(name));
    return;
  }
  const AttemptRead read = ReadAttemptText(*text);
  if (!read.form) {
    Tell(QStringLiteral("Файл «%1», строка %2: это не попытка решения, сохранённая программой.")
             .arg(name)
             .arg(read.faultLine));
    return;
  }
  const bool fits = read.form->method == subject_.method &&
                    read.form->matrix.size() == subject_.program.matrix.size() &&
                    read.form->unknowns.size() == subject_.unknownNames.size() &&
                    read.form->branchCurrents.size() == subject_.branchNames.size();
  if (!fits) {
    Tell(QStringLiteral("Попытка в файле «%1» решает другую цепь или другим методом: %2.")
             .arg(name, MethodName(read.form->method)));
    return;
  }
  ShowForm(*read.form);
}

void SelfCheckWindow::Tell(const QString& text) { prompts_.Inform(this, kTitle, text); }

}  // namespace ohmara
