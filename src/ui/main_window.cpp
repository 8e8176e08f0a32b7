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
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

#include "ui/about_dialog.h"
#include "ui/circuit_picture.h"
#include "ui/error_messages.h"
#include "ui/prompts.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

constexpr int kClientWidth = 673;
constexpr int kClientHeight = 543;
constexpr int kAddedRowHeight = 20;

QPushButton* PlaceButton(QWidget* parent, const char* name, const QString& text, QRect bounds,
                         QStyle::StandardPixmap icon = QStyle::SP_CustomBase) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(bounds);
  button->setFont(InterfaceFont(11, true));
  if (icon != QStyle::SP_CustomBase) {
    button->setIcon(parent->style()->standardIcon(icon));
    button->setIconSize(QSize(14, 14));
  }
  return button;
}

}  // namespace

TRGZForm::TRGZForm(Prompts& prompts, CircuitState& circuit, ResultsDirectory& results)
    : prompts_(prompts), circuit_(circuit), results_(results) {
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
  FormCreate();
}

void TRGZForm::BuildControls(QWidget* client) {
  // Only the labels beside the edits and on the panels are bold.
  Label4 = PlaceLabel(client, "Label4", QStringLiteral("ВНИМАНИЕ. Перед тем как вычислять - протестируй цепь."), 8, 8,
                      377, 17, false);

  InitTable = PlaceGrid(client, "InitTable", 1, kBranchColumns, {8, 24, 417, 305});
  InitTable->verticalHeader()->setMinimumSectionSize(kAddedRowHeight);
  InitTable->setFont(SerifFont(13));
  InitTable->setStyleSheet(QStringLiteral("QTableWidget { background: white; }"));
  MakeGridEditable(InitTable);

  BitBtn1 = PlaceButton(client, "BitBtn1", QStringLiteral("Добавить ветвь"), {432, 24, 121, 25}, QStyle::SP_FileDialogNewFolder);
  BitBtn2 = PlaceButton(client, "BitBtn2", QStringLiteral("Удалить ветвь"), {432, 48, 121, 25}, QStyle::SP_TrashIcon);

  Panel1 = PlacePanel(client, "Panel1", {432, 96, 177, 25});
  Label1 = PlaceLabel(Panel1, "Label1", QStringLiteral("Количество ветвей"), 8, 8);
  NumbLb = PlaceLabel(Panel1, "NumbLb", QStringLiteral("0"), 136, 8, 33, 13);

  freq = PlaceLabel(client, "freq", QStringLiteral("Частота"), 432, 136, 57, 17);
  Frequence = PlaceEdit(client, "Frequence", QStringLiteral("15"), 496, 136, 41);
  Dimens = new QComboBox(client);
  Dimens->setObjectName(QStringLiteral("Dimens"));
  Dimens->setEditable(true);
  Dimens->setInsertPolicy(QComboBox::NoInsert);
  Dimens->addItems({QStringLiteral("Гц"), QStringLiteral("кГц"), QStringLiteral("МГц")});
  Dimens->setCurrentIndex(0);
  Dimens->setGeometry(536, 136, 49, 21);

  Label2 = PlaceLabel(client, "Label2", QStringLiteral("Узел с нулевым потенциалом"), 432, 160, 185, 17);
  U0Ed = PlaceEdit(client, "U0Ed", QStringLiteral("3"), 624, 160, 33);

  Panel2 = PlacePanel(client, "Panel2", {432, 192, 233, 89});
  Label5 = PlaceLabel(Panel2, "Label5", QStringLiteral("Число настоящих ветвей m"), 8, 18);
  EdM = PlaceEdit(Panel2, "EdM", QString(), 184, 16, 41);
  Label6 = PlaceLabel(Panel2, "Label6", QStringLiteral("Число настоящих узлов n"), 8, 50);
  EdN = PlaceEdit(Panel2, "EdN", QString(), 184, 48, 41);

  TestBtn = PlaceButton(client, "TestBtn", QStringLiteral("Тест"), {40, 344, 273, 25});
  ContBtn = PlaceButton(client, "ContBtn", QStringLiteral("Метод контурных токов"), {40, 384, 273, 25});
  PotentialBtn = PlaceButton(client, "PotentialBtn", QStringLiteral("Метод узловых потенциалов"), {40, 408, 273, 25});
  BitBtn3 = PlaceButton(client, "BitBtn3", QStringLiteral("Метод узловых потенциалов оптимальный"), {40, 432, 273, 25});
  BitBtn4 = PlaceButton(client, "BitBtn4", QStringLiteral("Создание произвольной цепи"), {40, 472, 273, 25});
  Button2 = PlaceButton(client, "Button2", QStringLiteral("Редактор"), {40, 504, 273, 25});

  Image1 = new CircuitPicture(client);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(368, 352, 289, 185);
}

void TRGZForm::BuildMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
  file->setObjectName(QStringLiteral("N1"));
  N2 = file->addAction(QStringLiteral("Открыть"));
  N2->setShortcut(QKeySequence::Open);
  N3 = file->addAction(QStringLiteral("Сохранить"));
  N3->setShortcut(QKeySequence::Save);
  N4 = file->addAction(PrintIcon(), QStringLiteral("Печать"));
  N4->setShortcut(QKeySequence::Print);
  file->addSeparator();
  N7 = file->addAction(QStringLiteral("Выход"));
  N7->setShortcut(QKeySequence::Quit);
  QMenu* help = menuBar()->addMenu(QStringLiteral("Справка"));
  help->setObjectName(QStringLiteral("N5"));
  N6 = help->addAction(QStringLiteral("О программе"));
  N6->setShortcut(QKeySequence::HelpContents);
  const std::pair<QAction*, const char*> names[] = {{N2, "N2"}, {N3, "N3"}, {N4, "N4"}, {N7, "N7"}, {N6, "N6"}};
  for (auto [action, name] : names) action->setObjectName(QString::fromLatin1(name));
}

void TRGZForm::ConnectCommands() {
  auto bind = [this](auto* sender, auto signal, void (TRGZForm::*handler)()) {
    connect(sender, signal, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
  };
  bind(BitBtn1, &QPushButton::clicked, &TRGZForm::BitBtn1Click);
  bind(BitBtn2, &QPushButton::clicked, &TRGZForm::BitBtn2Click);
  bind(TestBtn, &QPushButton::clicked, &TRGZForm::TestBtnClick);
  bind(ContBtn, &QPushButton::clicked, &TRGZForm::ContBtnClick);
  bind(PotentialBtn, &QPushButton::clicked, &TRGZForm::PotentialBtnClick);
  bind(BitBtn3, &QPushButton::clicked, &TRGZForm::BitBtn3Click);
  bind(BitBtn4, &QPushButton::clicked, &TRGZForm::BitBtn4Click);
  bind(N2, &QAction::triggered, &TRGZForm::N2Click);
  bind(N3, &QAction::triggered, &TRGZForm::N3Click);
  bind(N6, &QAction::triggered, &TRGZForm::N6Click);
  bind(N7, &QAction::triggered, &TRGZForm::N7Click);
  // The circuit editor and the printed report are not part of this version.
  const QString later = QStringLiteral("Будет доступно в следующей версии программы");
  Button2->setEnabled(false);
  Button2->setToolTip(later);
  N4->setEnabled(false);
  N4->setToolTip(later);
}

void TRGZForm::SetTabOrder() {
  QWidget* order[] = {InitTable, BitBtn1, BitBtn2, TestBtn, ContBtn, PotentialBtn, Frequence,
                      Dimens,    U0Ed,    BitBtn3, BitBtn4, EdM,     EdN,          Button2};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void TRGZForm::FormCreate() {
  BranchCount = 0;
  Panel2->hide();
  circuit_.NeedsTest = true;
  ShowBranchCount();
  const BranchRow& titles = BranchTableTitles();
  for (int col = 0; col < kBranchColumns; ++col)
    InitTable->setItem(0, col, new QTableWidgetItem(QString::fromStdString(titles[col])));
}

void TRGZForm::ShowBranchCount() { NumbLb->setText(QString::number(BranchCount)); }

BranchTable TRGZForm::ReadBranchTable() const {
  BranchTable table(BranchCount);
  for (int row = 1; row <= BranchCount && row < InitTable->rowCount(); ++row)
    for (int col = 0; col < kBranchColumns; ++col)
      if (const QTableWidgetItem* item = InitTable->item(row, col)) table[row - 1][col] = item->text().toStdString();
  return table;
}

void TRGZForm::FillBranchRow(int row, const BranchRow& texts) {
  InitTable->setRowHeight(row, kAddedRowHeight);
  for (int col = 0; col < kBranchColumns; ++col)
    InitTable->setItem(row, col, new QTableWidgetItem(QString::fromStdString(texts[col])));
}

void TRGZForm::SetBranchTable(const BranchTable& table) {
  BranchCount = static_cast<int>(table.size());
  InitTable->setRowCount(BranchCount + 1);
  for (int row = 1; row <= BranchCount; ++row) FillBranchRow(row, table[row - 1]);
  ShowBranchCount();
}

void TRGZForm::AppendBranchRow(const BranchRow& row) {
  BranchCount = NumbLb->text().toInt() + 1;
  InitTable->setRowCount(BranchCount + 1);
  FillBranchRow(BranchCount, row);
  ShowBranchCount();
}

int TRGZForm::UnitIndex() const { return Dimens->findText(Dimens->currentText(), Qt::MatchExactly); }

QPoint TRGZForm::MessagePosition() const { return pos() + QPoint(200, 200); }

void TRGZForm::Guarded(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    prompts_.Critical(this, QStringLiteral("Ошибка"), ErrorMessage(error));
  }
  ReportUnwrittenFiles();
}

void TRGZForm::ReportUnwrittenFiles() {
  const std::vector<std::string> failed = results_.TakeFailedFiles();
  if (failed.empty()) return;
  prompts_.Inform(this, QStringLiteral("Ohmara"),
                  UnwrittenFilesMessage(failed, QString::fromStdString(results_.Directory().string())));
}

void TRGZForm::BitBtn2Click() {
  if (InitTable->rowCount() <= 1) return;
  InitTable->setRowCount(InitTable->rowCount() - 1);
  BranchCount = InitTable->rowCount() - 1;
  ShowBranchCount();
}

void TRGZForm::N6Click() {
  if (windows_.AboutPrForm) prompts_.RunModal(*windows_.AboutPrForm);
}

void TRGZForm::N7Click() { close(); }

void TRGZForm::closeEvent(QCloseEvent* event) {
  // The main window is the application: closing it ends the program even
  // while result windows are still open.
  event->accept();
  QApplication::quit();
}

}  // namespace ohmara
