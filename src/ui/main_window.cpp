#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QTableWidget>
#include <optional>

#include "ui/about_dialog.h"
#include "ui/add_branch_dialog.h"
#include "ui/application.h"
#include "ui/circuit_picture.h"
#include "ui/editor_window.h"
#include "ui/error_messages.h"
#include "ui/print_dialog.h"
#include "ui/program_icons.h"
#include "ui/prompts.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

constexpr int kClientWidth = 673;
constexpr int kClientHeight = 543;
constexpr int kAddedRowHeight = 20;

QPushButton* PlaceButton(QWidget* parent, const char* name, const QString& text, QRect bounds,
                         std::optional<ProgramIcon> icon = std::nullopt) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(bounds);
  button->setFont(InterfaceFont(11, true));
  if (icon) {
    button->setIcon(DrawProgramIcon(*icon));
    button->setIconSize(QSize(16, 16));
  }
  return button;
}

}  // namespace

MainWindow::MainWindow(Prompts& prompts, CircuitSession& session, ResultsDirectory& results)
    : prompts_(prompts), session_(session), results_(results) {
  setObjectName(QStringLiteral("RGZForm"));
  setWindowTitle(QStringLiteral("Ohmara"));
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFont(InterfaceFont(11));
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);
  BuildControls(client);
  BuildMenu();
  ConnectCommands();
  SetTabOrder();
  setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
  CentreOnDesktop(this);
  ShowInitialState();
}

void MainWindow::BuildControls(QWidget* client) {
  // Only the labels beside the edits and on the panels are bold.
  PlaceLabel(client, "Label4", QStringLiteral("ВНИМАНИЕ. Перед тем как вычислять - протестируй цепь."), 8, 8, 377, 17,
             false);

  branchGrid_ = PlaceGrid(client, "InitTable", 1, kClassicColumns, {8, 24, 417, 305});
  branchGrid_->verticalHeader()->setMinimumSectionSize(kAddedRowHeight);
  branchGrid_->setFont(SerifFont(13));
  // White under any desktop colour scheme. A palette, not a style sheet: a
  // style sheet brings its own style object and repolishes the window at
  // start-up.
  QPalette white = branchGrid_->palette();
  white.setColor(QPalette::Base, Qt::white);
  branchGrid_->setPalette(white);
  MakeGridEditable(branchGrid_);

  addBranchButton_ =
      PlaceButton(client, "BitBtn1", QStringLiteral("Добавить ветвь"), {432, 24, 121, 25}, ProgramIcon::AddBranch);
  deleteBranchButton_ =
      PlaceButton(client, "BitBtn2", QStringLiteral("Удалить ветвь"), {432, 48, 121, 25}, ProgramIcon::DeleteBranch);

  QFrame* countPanel = PlacePanel(client, "Panel1", {432, 96, 177, 25});
  PlaceLabel(countPanel, "Label1", QStringLiteral("Количество ветвей"), 8, 8);
  branchCountLabel_ = PlaceLabel(countPanel, "NumbLb", QStringLiteral("0"), 136, 8, 33, 13);

  PlaceLabel(client, "freq", QStringLiteral("Частота"), 432, 136, 57, 17);
  frequencyEdit_ = PlaceEdit(client, "Frequence", QStringLiteral("15"), 496, 136, 41);
  unitBox_ = new QComboBox(client);
  unitBox_->setObjectName(QStringLiteral("Dimens"));
  // A unit is chosen from the list, never typed: typed text could name no unit.
  unitBox_->setEditable(false);
  unitBox_->addItems({QStringLiteral("Гц"), QStringLiteral("кГц"), QStringLiteral("МГц")});
  unitBox_->setCurrentIndex(0);
  unitBox_->setGeometry(536, 136, 49, 21);

  PlaceLabel(client, "Label2", QStringLiteral("Узел с нулевым потенциалом"), 432, 160, 185, 17);
  zeroNodeEdit_ = PlaceEdit(client, "U0Ed", QStringLiteral("3"), 624, 160, 33);

  realCountsPanel_ = PlacePanel(client, "Panel2", {432, 192, 233, 89});
  PlaceLabel(realCountsPanel_, "Label5", QStringLiteral("Число настоящих ветвей m"), 8, 18);
  realBranchesEdit_ = PlaceEdit(realCountsPanel_, "EdM", QString(), 184, 16, 41);
  PlaceLabel(realCountsPanel_, "Label6", QStringLiteral("Число настоящих узлов n"), 8, 50);
  realNodesEdit_ = PlaceEdit(realCountsPanel_, "EdN", QString(), 184, 48, 41);

  checkButton_ = PlaceButton(client, "TestBtn", QStringLiteral("Тест"), {40, 344, 273, 25});
  meshCurrentButton_ = PlaceButton(client, "ContBtn", QStringLiteral("Метод контурных токов"), {40, 384, 273, 25});
  nodePotentialButton_ =
      PlaceButton(client, "PotentialBtn", QStringLiteral("Метод узловых потенциалов"), {40, 408, 273, 25});
  optimalNodePotentialButton_ =
      PlaceButton(client, "BitBtn3", QStringLiteral("Метод узловых потенциалов оптимальный"), {40, 432, 273, 25});
  randomCircuitButton_ =
      PlaceButton(client, "BitBtn4", QStringLiteral("Создание произвольной цепи"), {40, 472, 273, 25});
  editorButton_ = PlaceButton(client, "Button2", QStringLiteral("Редактор"), {40, 504, 273, 25});

  auto* picture = new CircuitPicture(client);
  picture->setObjectName(QStringLiteral("Image1"));
  picture->setGeometry(368, 352, 289, 185);
}

void MainWindow::BuildMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
  file->setObjectName(QStringLiteral("N1"));
  openAction_ = file->addAction(QStringLiteral("Открыть"));
  openAction_->setShortcut(QKeySequence::Open);
  saveAction_ = file->addAction(QStringLiteral("Сохранить"));
  saveAction_->setShortcut(QKeySequence::Save);
  exportSpiceAction_ = file->addAction(QStringLiteral("Экспорт в SPICE…"));
  exportSpiceAction_->setObjectName(QStringLiteral("ExportSpiceItem"));
  variantsAction_ = file->addAction(QStringLiteral("Варианты для группы…"));
  variantsAction_->setObjectName(QStringLiteral("VariantsItem"));
  printAction_ = file->addAction(QStringLiteral("Печать"));
  printAction_->setShortcut(QKeySequence::Print);
  SetPrintIconOnFirstShow(file, printAction_);
  file->addSeparator();
  exitAction_ = file->addAction(QStringLiteral("Выход"));
  exitAction_->setShortcut(QKeySequence::Quit);
  BuildViewMenu();
  QMenu* help = menuBar()->addMenu(QStringLiteral("Справка"));
  help->setObjectName(QStringLiteral("N5"));
  aboutAction_ = help->addAction(QStringLiteral("О программе"));
  aboutAction_->setShortcut(QKeySequence::HelpContents);
  const std::pair<QAction*, const char*> names[] = {
      {openAction_, "N2"}, {saveAction_, "N3"}, {printAction_, "N4"}, {exitAction_, "N7"}, {aboutAction_, "N6"}};
  for (auto [action, name] : names) action->setObjectName(QString::fromLatin1(name));
}

void MainWindow::ConnectCommands() {
  auto bind = [this](auto* sender, auto signal, void (MainWindow::*command)()) {
    connect(sender, signal, this, [this, command] { Guarded([this, command] { (this->*command)(); }); });
  };
  bind(addBranchButton_, &QPushButton::clicked, &MainWindow::AddBranch);
  bind(deleteBranchButton_, &QPushButton::clicked, &MainWindow::DeleteBranch);
  bind(checkButton_, &QPushButton::clicked, &MainWindow::CheckCircuit);
  bind(meshCurrentButton_, &QPushButton::clicked, &MainWindow::SolveByMeshCurrents);
  bind(nodePotentialButton_, &QPushButton::clicked, &MainWindow::SolveByNodePotentials);
  bind(optimalNodePotentialButton_, &QPushButton::clicked, &MainWindow::SolveByOptimalNodePotentials);
  bind(randomCircuitButton_, &QPushButton::clicked, &MainWindow::CreateRandomCircuit);
  bind(openAction_, &QAction::triggered, &MainWindow::OpenBranchFile);
  bind(saveAction_, &QAction::triggered, &MainWindow::SaveBranchFile);
  bind(printAction_, &QAction::triggered, &MainWindow::ShowPrintDialog);
  bind(exportSpiceAction_, &QAction::triggered, &MainWindow::ExportSpiceNetlist);
  bind(variantsAction_, &QAction::triggered, &MainWindow::MakeClassVariants);
  bind(aboutAction_, &QAction::triggered, &MainWindow::ShowAbout);
  bind(editorButton_, &QPushButton::clicked, &MainWindow::ShowEditor);
  connect(exitAction_, &QAction::triggered, this, &QWidget::close);
  const QAbstractItemModel* table = branchGrid_->model();
  connect(table, &QAbstractItemModel::dataChanged, this, &MainWindow::DocumentEdited);
  connect(table, &QAbstractItemModel::rowsInserted, this, &MainWindow::DocumentEdited);
  connect(table, &QAbstractItemModel::rowsRemoved, this, &MainWindow::DocumentEdited);
  connect(frequencyEdit_, &QLineEdit::textChanged, this, &MainWindow::DocumentEdited);
  connect(unitBox_, &QComboBox::currentIndexChanged, this, &MainWindow::DocumentEdited);
  connect(zeroNodeEdit_, &QLineEdit::textChanged, this, &MainWindow::DocumentEdited);
}

void MainWindow::DocumentEdited() {
  if (refilling_) return;
  session_.Edit({ReadBranchTable(), Frequency(), zeroNodeEdit_->text().toStdString(), ExtendedCircuits()});
  if (windows_) windows_->MarkStaleResults();
}

void MainWindow::SetTabOrder() {
  QWidget* order[] = {branchGrid_,          addBranchButton_,
                      deleteBranchButton_,  checkButton_,
                      meshCurrentButton_,   nodePotentialButton_,
                      frequencyEdit_,       unitBox_,
                      zeroNodeEdit_,        optimalNodePotentialButton_,
                      randomCircuitButton_, realBranchesEdit_,
                      realNodesEdit_,       editorButton_};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void MainWindow::SetWindows(AppWindows& windows) { windows_ = &windows; }

void MainWindow::ShowInitialState() {
  realCountsPanel_->hide();
  exportSpiceAction_->setEnabled(false);
  ShowBranchCount();
  ShowColumnTitles();
  ApplyExtendedCircuits(ExtendedCircuitsRemembered());
}

void MainWindow::ShowColumnTitles() {
  const BranchRow& titles = BranchTableTitles();
  for (int col = 0; col < branchGrid_->columnCount(); ++col)
    branchGrid_->setItem(0, col, new QTableWidgetItem(QString::fromStdString(titles[col])));
}

int MainWindow::BranchCount() const { return branchGrid_->rowCount() - 1; }

void MainWindow::ShowBranchCount() { branchCountLabel_->setText(QString::number(BranchCount())); }

void MainWindow::SetBranchRowCount(int branches) {
  branchGrid_->setRowCount(branches + 1);
  ShowBranchCount();
}

BranchTable MainWindow::ReadBranchTable() const {
  BranchTable table(BranchCount());
  for (int row = 1; row <= BranchCount(); ++row)
    for (int col = 0; col < branchGrid_->columnCount(); ++col)
      if (const QTableWidgetItem* item = branchGrid_->item(row, col)) table[row - 1][col] = item->text().toStdString();
  return table;
}

void MainWindow::FillBranchRow(int row, const BranchRow& texts) {
  branchGrid_->setRowHeight(row, kAddedRowHeight);
  for (int col = 0; col < branchGrid_->columnCount(); ++col)
    branchGrid_->setItem(row, col, new QTableWidgetItem(QString::fromStdString(texts[col])));
}

void MainWindow::SetBranchTable(const BranchTable& table) {
  // Current sources need their columns, whatever the table came from.
  if (UsesCurrentSource(table)) ApplyExtendedCircuits(true);
  const int branches = static_cast<int>(table.size());
  refilling_ = true;
  SetBranchRowCount(branches);
  for (int row = 1; row <= branches; ++row) FillBranchRow(row, table[row - 1]);
  refilling_ = false;
  DocumentEdited();
}

void MainWindow::AppendBranchRow(const BranchRow& row) {
  const int branches = BranchCount() + 1;
  SetBranchRowCount(branches);
  FillBranchRow(branches, row);
}

FrequencySetting MainWindow::Frequency() const { return {frequencyEdit_->text().toStdString(), UnitIndex()}; }

int MainWindow::UnitIndex() const { return unitBox_->currentIndex(); }

QPoint MainWindow::MessagePosition() const { return pos() + QPoint(200, 200); }

void MainWindow::Guarded(const Command& command) {
  try {
    command();
  } catch (const std::exception& error) {
    prompts_.Critical(this, QStringLiteral("Ошибка"), ErrorMessage(error));
  }
  // Only a passed test gives a circuit to export; a test that failed or
  // stopped on an error leaves none.
  exportSpiceAction_->setEnabled(session_.tested() != nullptr);
  ReportUnwrittenFiles();
}

CommandGuard MainWindow::Guard() {
  return [this](const Command& command) { Guarded(command); };
}

void MainWindow::ReportUnwrittenFiles() {
  const std::vector<std::string> failed = results_.TakeFailedFiles();
  if (failed.empty()) return;
  prompts_.Inform(this, QStringLiteral("Ohmara"),
                  UnwrittenFilesMessage(failed, QString::fromStdString(results_.Directory().string())));
}

void MainWindow::AddBranch() {
  AddBranchDialog& dialog = windows_->addBranchDialog();
  dialog.ShowCurrentSourceColumns(ExtendedCircuits());
  dialog.ShowForAppending();
}

void MainWindow::DeleteBranch() {
  if (BranchCount() > 0) SetBranchRowCount(BranchCount() - 1);
}

void MainWindow::ShowPrintDialog() { Present(&windows_->printDialog()); }

void MainWindow::ShowAbout() { prompts_.RunModal(windows_->aboutDialog()); }

// The editor is modeless: the student goes on with the grid while drawing.
void MainWindow::ShowEditor() { Present(&windows_->editorWindow()); }

void MainWindow::closeEvent(QCloseEvent* event) {
  // The main window is the application: closing it ends the program even
  // while result windows are still open.
  if (windows_ && !windows_->MayQuit()) {
    event->ignore();
    return;
  }
  event->accept();
  QApplication::quit();
}

}  // namespace ohmara
