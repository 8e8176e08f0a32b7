#include "ui/editor_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include "editor/drawing_to_table.h"
#include "editor/value_text.h"
#include "model/errors.h"
#include "ui/add_branch_dialog.h"
#include "ui/error_messages.h"
#include "ui/main_window.h"
#include "ui/program_icons.h"
#include "ui/prompts.h"
#include "ui/sheet_canvas.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

constexpr int kClientWidth = 901;
constexpr int kClientHeight = 658;  // the status bar included
// The sheet fills the client area but for the tool column and the status bar.
constexpr QSize kSheetSize(kClientWidth - 55, kClientHeight - 50);
constexpr int kButtonSize = 33;
constexpr int kButtonStep = 36;
constexpr QRect kToolPanel(859, 8, kButtonSize + 4, 2 + 8 * kButtonStep);

const QString kNormalStatus = QStringLiteral("Скажи Глюкам NЕТ");
const QString kNoRouteStatus = QStringLiteral("Провод не проложен: между выводами нет свободного пути");
const QString kMessageTitle = QStringLiteral("Ohmara");

QPushButton* PlaceToolButton(QWidget* parent, const char* name, QPoint at, const QString& purpose) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(QRect(at, QSize(kButtonSize, kButtonSize)));
  button->setToolTip(purpose);
  button->setAccessibleName(purpose);
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

QPushButton* PlaceIconButton(QWidget* parent, const char* name, QPoint at, ProgramIcon icon, const QString& purpose) {
  QPushButton* button = PlaceToolButton(parent, name, at, purpose);
  button->setIcon(DrawProgramIcon(icon));
  button->setIconSize(QSize(24, 24));
  return button;
}

// The top-left corner of the button in place `slot` of the column, relative
// to the panel (or, for buttons lying on the client over the panel, to the client).
QPoint PanelSlot(int slot) { return {2, 2 + slot * kButtonStep}; }
QPoint ClientSlot(int slot) { return kToolPanel.topLeft() + PanelSlot(slot); }

QString RoutingGuardText() {
  return QString::fromUtf8(kRoutingGuardMessage.data(), static_cast<qsizetype>(kRoutingGuardMessage.size()));
}

QString NotANumberMessage(const ConversionError& error) {
  return QStringLiteral("В окне «Добавление ветви» стоит «%1», а это не число. Ветвь не добавлена.")
      .arg(QuotedText(error.Text()));
}

}  // namespace

EditorWindow::EditorWindow(Prompts& prompts, MainWindow& mainWindow, AddBranchDialog& addBranchDialog)
    : prompts_(prompts),
      mainWindow_(mainWindow),
      addBranchDialog_(addBranchDialog),
      guard_(mainWindow.Guard()),
      pictures_(std::make_unique<ElementPictures>(QCoreApplication::applicationDirPath())) {
  setObjectName(QStringLiteral("EditForm"));
  setWindowTitle(QStringLiteral("Редактор"));
  BuildMenu();
  BuildStatusBar();
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFont(InterfaceFont(11));
  client->setFixedSize(kClientWidth, kClientHeight - statusBar()->sizeHint().height());
  setCentralWidget(client);
  BuildSheet(client);
  BuildTools(client);
  setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
  CentreOnDesktop(this);
  sheet_->Paint(editor_.Redraw());
  ShowToolStates();
}

EditorWindow::~EditorWindow() = default;

const QImage& EditorWindow::SheetImage() const { return sheet_->Image(); }

void EditorWindow::BuildSheet(QWidget* client) {
  sheet_ = new SheetCanvas(*pictures_, kSheetSize, client);
  sheet_->setObjectName(QStringLiteral("Sheet"));
  sheet_->move(8, 8);
  connect(sheet_, &SheetCanvas::Pressed, this, [this](QPoint pixel) { Run([this, pixel] { PressSheet(pixel); }); });
}

void EditorWindow::BuildTools(QWidget* client) {
  QFrame* panel = PlacePanel(client, "Panel1", kToolPanel);
  horizontalBranchButton_ = PlaceIconButton(panel, "AddBhBt", PanelSlot(0), ProgramIcon::HorizontalBranch,
                                            QStringLiteral("Горизонтальная ветвь"));
  verticalBranchButton_ = PlaceIconButton(panel, "AddBvBt", PanelSlot(1), ProgramIcon::VerticalBranch,
                                          QStringLiteral("Вертикальная ветвь"));
  deleteBranchButton_ =
      PlaceIconButton(panel, "DelBBt", PanelSlot(2), ProgramIcon::DeleteBranch, QStringLiteral("Удалить ветвь"));
  connectButton_ =
      PlaceIconButton(panel, "AddCBt", PanelSlot(3), ProgramIcon::Connect, QStringLiteral("Соединить выводы"));
  // "Del" and the table file lie on the client over the panel.
  clearButton_ = PlaceToolButton(client, "ClearBtn", ClientSlot(4), QStringLiteral("Очистить"));
  clearButton_->setText(QStringLiteral("Del"));
  clearButton_->setFont(InterfaceFont(11, true));
  tableFileButton_ = PlaceIconButton(client, "ToTableBtn", ClientSlot(5), ProgramIcon::TableToFile,
                                     QStringLiteral("Таблица ветвей в файл"));
  transferButton_ = PlaceIconButton(panel, "BitBtn2", PanelSlot(6), ProgramIcon::TableToMainWindow,
                                    QStringLiteral("Перенести в главное окно"));
  drawTableButton_ = PlaceIconButton(panel, "BitBtn1", PanelSlot(7), ProgramIcon::DrawTable,
                                     QStringLiteral("Нарисовать по таблице"));

  for (const auto& [button, chosen] : ToolButtons()) {
    const SheetTool tool = chosen;  // clang 14 captures no structured binding
    connect(button, &QPushButton::clicked, this, [this, tool] { Run([this, tool] { ChooseTool(tool); }); });
  }
  auto bind = [this](QPushButton* button, void (EditorWindow::*command)()) {
    connect(button, &QPushButton::clicked, this, [this, command] { Run([this, command] { (this->*command)(); }); });
  };
  bind(clearButton_, &EditorWindow::ClearSheet);
  bind(tableFileButton_, &EditorWindow::WriteTableFile);
  bind(transferButton_, &EditorWindow::TransferToMainWindow);
  bind(drawTableButton_, &EditorWindow::DrawMainWindowTable);
}

void EditorWindow::BuildMenu() {
  menuBar()->setObjectName(QStringLiteral("MainMenu1"));
  QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
  file->setObjectName(QStringLiteral("N1"));
  loadSchemeAction_ = file->addAction(QStringLiteral("Загрузить схему"));
  loadSchemeAction_->setObjectName(QStringLiteral("N2"));
  saveSchemeAction_ = file->addAction(QStringLiteral("Сохранить схему"));
  saveSchemeAction_->setObjectName(QStringLiteral("N3"));
  connect(loadSchemeAction_, &QAction::triggered, this, [this] { Run([this] { LoadScheme(); }); });
  connect(saveSchemeAction_, &QAction::triggered, this, [this] { Run([this] { SaveScheme(); }); });
}

void EditorWindow::BuildStatusBar() {
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->setSizeGripEnabled(false);
  // A label rather than a status message: hovering a menu item would erase a message.
  statusText_ = new QLabel(kNormalStatus);
  statusText_->setObjectName(QStringLiteral("StatusPanel"));
  statusBar()->addWidget(statusText_, 1);
}

void EditorWindow::Run(const Command& command) { guard_(command); }

std::array<std::pair<QPushButton*, SheetTool>, 4> EditorWindow::ToolButtons() const {
  return {{{horizontalBranchButton_, SheetTool::AddHorizontal},
           {verticalBranchButton_, SheetTool::AddVertical},
           {deleteBranchButton_, SheetTool::DeleteBranch},
           {connectButton_, SheetTool::Connect}}};
}

void EditorWindow::ShowToolStates() {
  for (auto [button, tool] : ToolButtons()) button->setEnabled(editor_.IsToolEnabled(tool));
}

void EditorWindow::ShowStatus(const QString& text) { statusText_->setText(text); }

void EditorWindow::ShowNormalStatus() { ShowStatus(kNormalStatus); }

void EditorWindow::ChooseTool(SheetTool tool) {
  editor_.SelectTool(tool);
  ShowToolStates();
}

void EditorWindow::PressSheet(QPoint pixel) {
  PressOutcome outcome = editor_.Press(pixel.x(), pixel.y());
  switch (outcome.result) {
    case PressResult::Nothing:
    case PressResult::FirstTerminalPicked:
      return;
    case PressResult::NeedElementValues:
      PlaceBranch(*outcome.placement);
      return;
    case PressResult::BranchDeleted:
    case PressResult::WireRouted:
      sheet_->Paint(outcome.paint);
      ShowNormalStatus();
      return;
    case PressResult::NoRoute:
    case PressResult::RoutingGuard:
      ShowRouteFailure(outcome.result);
      return;
  }
}

void EditorWindow::PlaceBranch(const BranchPlacement& placement) {
  const std::optional<BranchRow> row = addBranchDialog_.AskElementValues();
  if (!row) return;
  ElementValues values;
  try {
    values = ElementValuesOf(*row);
  } catch (const ConversionError& error) {
    prompts_.Critical(this, QStringLiteral("Ошибка"), NotANumberMessage(error));
    return;
  }
  sheet_->Paint(editor_.PlaceBranch(placement, values));
  ShowNormalStatus();
}

void EditorWindow::ShowRouteFailure(PressResult result) {
  ShowStatus(kNoRouteStatus);
  if (result == PressResult::RoutingGuard)
    prompts_.Inform(this, kMessageTitle, RoutingGuardText());
}

void EditorWindow::ClearSheet() {
  sheet_->Paint(editor_.Clear());
  ShowNormalStatus();
}

void EditorWindow::LoadScheme() {
  const QString name = prompts_.OpenFileName(this, QStringLiteral("Загрузить схему"), QStringLiteral("."));
  if (name.isEmpty()) return;
  sheet_->Paint(editor_.LoadScheme(ChosenFilePath(name)));
  ShowNormalStatus();
}

void EditorWindow::SaveScheme() {
  const QString name = prompts_.SaveFileName(this, QStringLiteral("Сохранить схему"), QStringLiteral("."));
  if (!name.isEmpty()) editor_.SaveScheme(ChosenFilePath(name));
}

void EditorWindow::WriteTableFile() {
  const DrawingTable table = ExportDrawingTable(editor_.Drawing());
  const QString name = prompts_.SaveFileName(this, QStringLiteral("Таблица ветвей в файл"),
                                             QStringLiteral("./") + QString::fromLatin1(kDrawingTableFile));
  // The numbers show how the drawing was read, whether or not it was written.
  sheet_->Paint(table.nodeNumbers);
  if (!name.isEmpty()) SaveDrawingTable(ChosenFilePath(name), table.text);
}

void EditorWindow::TransferToMainWindow() {
  const DrawingTable table = ExportDrawingTable(editor_.Drawing());
  SaveDrawingTable(kDrawingTableFile, table.text);
  sheet_->Paint(table.nodeNumbers);
  mainWindow_.LoadBranchTableFile(QString::fromLatin1(kDrawingTableFile));
}

void EditorWindow::DrawMainWindowTable() {
  const TableDrawingOutcome outcome = editor_.DrawTable(mainWindow_.ReadBranchTable());
  sheet_->Paint(outcome.paint);
  ShowNormalStatus();
  if (outcome.routingGuardTrips > 0)
    prompts_.Inform(this, kMessageTitle, RoutingGuardText());
}

}  // namespace ohmara
