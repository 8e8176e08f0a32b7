#include "ui/editor_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "editor/drawing_to_table.h"
#include "editor/editor_error.h"
#include "editor/value_text.h"
#include "model/branch_table_file.h"
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
const QString kSaveChangesQuestion = QStringLiteral("Сохранить изменения в схеме?");
const QString kNothingToTransfer = QStringLiteral("На листе нет ни одной ветви: переносить в главное окно нечего.");
const QString kPlacementOverlaps = QStringLiteral("Ветвь не поставлена: здесь уже стоит другой элемент схемы");
const QString kPlacementOffSheet = QStringLiteral("Ветвь не поставлена: она не помещается на листе");
const QString kSameTerminal = QStringLiteral("Этот вывод уже выбран: укажите второй вывод");
const QString kTerminalsTouch = QStringLiteral("Выводы касаются друг друга: они уже соединены, провод не нужен");
const QString kMoveRefused = QStringLiteral("Ветвь не перемещена: ");
const QString kOverlapsReason = QStringLiteral("там уже стоит другой элемент схемы");
const QString kOffSheetReason = QStringLiteral("она не поместилась бы на листе");
const QString kNoRouteReason = QStringLiteral("её провода не удалось проложить заново");
const QString kStoppedStatus = QStringLiteral("Остановлено: рисунок остался прежним");
constexpr double kZoomStep = 1.25;
constexpr double kSmallestZoom = 0.25;
constexpr double kLargestZoom = 4.0;
// Pixels of the sheet kept round the drawing when it is fitted to the view.
constexpr int kFitMargin = 20;

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

// The first few nodes a drawn table left in pieces, and what to do.
QString NodesApartText(const std::vector<int>& nodes) {
  constexpr size_t kNamed = 12;
  QStringList named;
  for (size_t k = 0; k < std::min(nodes.size(), kNamed); ++k) named << QString::number(nodes[k]);
  if (nodes.size() > kNamed) named << QStringLiteral("…");
  return QStringLiteral(
             "Не все провода удалось провести: на рисунке не соединены выводы %1 %2. Соедините их "
             "инструментом «Соединить выводы».")
      .arg(nodes.size() == 1 ? QStringLiteral("узла") : QStringLiteral("узлов"), named.join(QStringLiteral(", ")));
}

QString NotANumberMessage(const ConversionError& error) {
  return QStringLiteral("В окне «Добавление ветви» стоит «%1», а это не число. Ветвь не добавлена.")
      .arg(QuotedText(error.Text()));
}

// The values the add-branch dialog gives, `current` shown first when there
// is one; nothing after Cancel or a cell that is not a number (said so). The
// current source's fields show with extended circuits, and whenever the
// branch has one, so that editing never drops it unseen.
bool AskValues(AddBranchDialog& dialog, const std::optional<BranchRow>& current, bool extended, Prompts& prompts,
               QWidget* parent, ElementValues& values) {
  dialog.ShowCurrentSourceColumns(extended || (current && UsesCurrentSource(*current)));
  const std::optional<BranchRow> row = dialog.AskElementValues(current);
  if (!row) return false;
  try {
    values = ElementValuesOf(*row);
  } catch (const ConversionError& error) {
    prompts.Critical(parent, QStringLiteral("Ошибка"), NotANumberMessage(error));
    return false;
  }
  return true;
}

// Long work shown in a dialog whose button stops it. The events let
// through between steps keep the windows drawn; the dialog, modal to the
// whole program, keeps the student from changing anything meanwhile.
class ProgressDialogSteps : public WorkProgress {
 public:
  ProgressDialogSteps(QWidget* parent, const QString& text)
      : dialog_(text, QStringLiteral("Остановить"), 0, 1, parent) {
    dialog_.setObjectName(QStringLiteral("ProgressDialog"));
    dialog_.setWindowTitle(kMessageTitle);
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setMinimumDuration(400);
    dialog_.setAutoReset(false);
  }
  bool Report(int done, int total) override {
    dialog_.setMaximum(total);
    dialog_.setValue(done);
    QCoreApplication::processEvents();
    return !dialog_.wasCanceled();
  }

 private:
  QProgressDialog dialog_;
};

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
  BuildEditMenu();
  BuildViewMenu();
  BuildStatusBar();
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFont(InterfaceFont(11));
  client->setMinimumSize(kClientWidth, kClientHeight - statusBar()->sizeHint().height());
  setCentralWidget(client);
  BuildSheet(client);
  BuildTools(client);
  // The tools keep to the right edge when the window grows; the sheet takes the rest.
  for (QWidget* child : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->x() >= kToolPanel.left()) rightTools_.push_back({child, child->pos()});
  smallestSize_ = QSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
  setMinimumSize(smallestSize_);
  resize(smallestSize_);
  CentreOnDesktop(this);
  BuildKeys();
  sheet_->Paint(editor_.Redraw());
  ShowToolStates();
  ShowCommandStates();
}

EditorWindow::~EditorWindow() = default;

void EditorWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  const QSize extra = (size() - smallestSize_).expandedTo(QSize(0, 0));
  sheetScroll_->resize(kSheetSize + extra);
  for (const auto& [tool, place] : rightTools_) tool->move(place + QPoint(extra.width(), 0));
}

const QImage& EditorWindow::SheetImage() const { return sheet_->Image(); }

void EditorWindow::BuildSheet(QWidget* client) {
  // The sheet scrolls when zoomed in; at its own size it fills the area exactly.
  sheetScroll_ = new QScrollArea(client);
  sheetScroll_->setObjectName(QStringLiteral("SheetScroll"));
  sheetScroll_->setFrameShape(QFrame::NoFrame);
  sheetScroll_->setGeometry(QRect(QPoint(8, 8), kSheetSize));
  sheetScroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  sheet_ = new SheetCanvas(*pictures_, kSheetSize, sheetScroll_);
  sheet_->setObjectName(QStringLiteral("Sheet"));
  sheetScroll_->setWidget(sheet_);
  connect(sheet_, &SheetCanvas::Pressed, this, [this](QPoint pixel) { Run([this, pixel] { PressSheet(pixel); }); });
  connect(sheet_, &SheetCanvas::Dragged, this, [this](QPoint pixel) { Run([this, pixel] { DragSheet(pixel); }); });
  connect(sheet_, &SheetCanvas::Released, this, [this](QPoint pixel) { Run([this, pixel] { ReleaseSheet(pixel); }); });
  connect(sheet_, &SheetCanvas::DoubleClicked, this, [this](QPoint pixel) {
    Run([this, pixel] {
      if (editor_.Mode() != SheetMode::Idle) return;
      editor_.Select(editor_.ItemAt(pixel.x(), pixel.y()));
      ShowMarks();
      EditValues();
    });
  });
  connect(sheet_, &SheetCanvas::ZoomRequested, this, [this](bool in) { ZoomBy(in ? kZoomStep : 1 / kZoomStep); });
  connect(sheet_, &SheetCanvas::ContextRequested, this,
          [this](QPoint pixel, QPoint screen) { Run([this, pixel, screen] { OpenContextMenu(pixel, screen); }); });
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
  drawTableButton_ =
      PlaceIconButton(panel, "BitBtn1", PanelSlot(7), ProgramIcon::DrawTable, QStringLiteral("Нарисовать по таблице"));

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
  loadSchemeAction_->setShortcut(QKeySequence::Open);
  saveSchemeAction_->setShortcut(QKeySequence::Save);
  connect(loadSchemeAction_, &QAction::triggered, this, [this] { Run([this] { LoadScheme(); }); });
  connect(saveSchemeAction_, &QAction::triggered, this, [this] { Run([this] { SaveScheme(); }); });
}

QAction* EditorWindow::AddCommand(QMenu* menu, const char* name, const QString& text, void (EditorWindow::*command)()) {
  auto* action = new QAction(text, this);
  action->setObjectName(QString::fromLatin1(name));
  if (menu) menu->addAction(action);
  else addAction(action);
  if (command)
    connect(action, &QAction::triggered, this, [this, command] { Run([this, command] { (this->*command)(); }); });
  return action;
}

void EditorWindow::BuildEditMenu() {
  QMenu* edit = menuBar()->addMenu(QStringLiteral("Правка"));
  edit->setObjectName(QStringLiteral("EditMenu"));
  undoAction_ = AddCommand(edit, "UndoItem", QStringLiteral("Отменить"), &EditorWindow::Undo);
  undoAction_->setShortcut(QKeySequence::Undo);
  redoAction_ = AddCommand(edit, "RedoItem", QStringLiteral("Повторить"), &EditorWindow::Redo);
  redoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  edit->addSeparator();
  editValuesAction_ =
      AddCommand(edit, "EditValuesItem", QStringLiteral("Изменить значения"), &EditorWindow::EditValues);
  editValuesAction_->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
  deleteAction_ = AddCommand(edit, "DeleteItem", QStringLiteral("Удалить"), &EditorWindow::DeleteSelection);
  deleteAction_->setShortcut(QKeySequence::Delete);
  contextMenu_ = new QMenu(this);
  contextMenu_->setObjectName(QStringLiteral("SheetMenu"));
  contextMenu_->addActions({editValuesAction_, deleteAction_, undoAction_});
}

void EditorWindow::BuildViewMenu() {
  QMenu* view = menuBar()->addMenu(QStringLiteral("Вид"));
  view->setObjectName(QStringLiteral("ViewMenu"));
  QAction* larger = AddCommand(view, "ZoomInItem", QStringLiteral("Крупнее"), nullptr);
  larger->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  connect(larger, &QAction::triggered, this, [this] { ZoomBy(kZoomStep); });
  QAction* smaller = AddCommand(view, "ZoomOutItem", QStringLiteral("Мельче"), nullptr);
  smaller->setShortcut(QKeySequence::ZoomOut);
  connect(smaller, &QAction::triggered, this, [this] { ZoomBy(1 / kZoomStep); });
  QAction* actual = AddCommand(view, "ActualSizeItem", QStringLiteral("Обычный размер"), nullptr);
  actual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  connect(actual, &QAction::triggered, this, [this] { ZoomBy(1 / sheet_->Zoom()); });
  AddCommand(view, "FitItem", QStringLiteral("По размеру схемы"), &EditorWindow::ZoomToFit);
}

// Keys without a menu item: Esc and the arrows.
void EditorWindow::BuildKeys() {
  AddCommand(nullptr, "CancelKey", QStringLiteral("Отменить выбор"), &EditorWindow::CancelAction)
      ->setShortcut(QKeySequence(Qt::Key_Escape));
  const struct {
    const char* name;
    Qt::Key key;
    int right, down;
  } arrows[] = {{"LeftKey", Qt::Key_Left, -1, 0},
                {"RightKey", Qt::Key_Right, 1, 0},
                {"UpKey", Qt::Key_Up, 0, -1},
                {"DownKey", Qt::Key_Down, 0, 1}};
  for (const auto& arrow : arrows) {
    QAction* action = AddCommand(nullptr, arrow.name, QString(), nullptr);
    action->setShortcut(QKeySequence(arrow.key));
    connect(action, &QAction::triggered, this,
            [this, right = arrow.right, down = arrow.down] { Run([this, right, down] { MoveBy(right, down); }); });
  }
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
  ShowMarks();
}

void EditorWindow::Refresh() {
  const SheetSize pixels = editor_.Drawing().SheetPixels();
  if (sheet_->Image().size() != QSize(pixels.width, pixels.height)) sheet_->Resize({pixels.width, pixels.height});
  sheet_->Paint(editor_.Redraw());
  ShowMarks();
  ShowToolStates();
  ShowCommandStates();
}

void EditorWindow::ShowMarks() {
  sheet_->ShowMarks(editor_.Marks(dragCells_.x(), dragCells_.y()));
  ShowCommandStates();
}

void EditorWindow::ShowCommandStates() {
  undoAction_->setEnabled(editor_.CanUndo());
  redoAction_->setEnabled(editor_.CanRedo());
  const std::optional<SheetSelection>& selection = editor_.Selection();
  deleteAction_->setEnabled(selection.has_value());
  editValuesAction_->setEnabled(selection && selection->kind == SheetSelection::Kind::Branch);
  QString title = QStringLiteral("Редактор");
  if (!schemeName_.isEmpty()) title += QStringLiteral(" — ") + QFileInfo(schemeName_).fileName();
  if (editor_.Modified()) title += QStringLiteral(" *");
  setWindowTitle(title);
}

void EditorWindow::PressSheet(QPoint pixel) {
  dragOrigin_.reset();
  dragCells_ = {};
  PressOutcome outcome = editor_.Press(pixel.x(), pixel.y());
  switch (outcome.result) {
    case PressResult::Nothing:
    case PressResult::FirstTerminalPicked:
      ShowMarks();
      return;
    case PressResult::SelectionChanged:
      if (editor_.Selection() && editor_.Selection()->kind == SheetSelection::Kind::Branch) dragOrigin_ = pixel;
      ShowMarks();
      return;
    case PressResult::NeedElementValues:
      PlaceBranch(*outcome.placement);
      return;
    case PressResult::BranchDeleted:
    case PressResult::WireRouted:
      Refresh();
      ShowNormalStatus();
      return;
    case PressResult::NoRoute:
    case PressResult::RoutingGuard:
      ShowMarks();
      ShowRouteFailure(outcome.result);
      return;
    case PressResult::PlacementOverlaps:
      ShowStatus(kPlacementOverlaps);
      return;
    case PressResult::PlacementOffSheet:
      ShowStatus(kPlacementOffSheet);
      return;
    case PressResult::SameTerminal:
      ShowStatus(kSameTerminal);
      return;
    case PressResult::TerminalsTouch:
      ShowMarks();
      ShowStatus(kTerminalsTouch);
      return;
  }
}

void EditorWindow::DragSheet(QPoint pixel) {
  if (!dragOrigin_) return;
  const QPoint moved = pixel - *dragOrigin_;
  dragCells_ = {static_cast<int>(std::lround(moved.x() / 10.0)), static_cast<int>(std::lround(moved.y() / 10.0))};
  ShowMarks();
}

void EditorWindow::ReleaseSheet(QPoint pixel) {
  if (!dragOrigin_) return;
  DragSheet(pixel);
  const QPoint cells = dragCells_;
  dragOrigin_.reset();
  dragCells_ = {};
  if (cells.isNull()) ShowMarks();
  else MoveBy(cells.x(), cells.y());
}

void EditorWindow::OpenContextMenu(QPoint pixel, QPoint screen) {
  // A right click chooses what it points at, whatever the tool, and never acts as a left click.
  dragOrigin_.reset();
  dragCells_ = {};
  editor_.Select(editor_.ItemAt(pixel.x(), pixel.y()));
  ShowMarks();
  contextMenu_->popup(screen);
}

void EditorWindow::PlaceBranch(const BranchPlacement& placement) {
  ElementValues values;
  if (!AskValues(addBranchDialog_, std::nullopt, mainWindow_.ExtendedCircuits(), prompts_, this, values)) return;
  editor_.PlaceBranch(placement, values);
  Refresh();
  ShowNormalStatus();
}

void EditorWindow::EditValues() {
  const std::optional<SheetSelection>& selection = editor_.Selection();
  if (!selection || selection->kind != SheetSelection::Kind::Branch) return;
  ElementValues values;
  const ElementValues& current = editor_.Drawing().Branches()[selection->index].Values;
  if (!AskValues(addBranchDialog_, ElementRow(current), mainWindow_.ExtendedCircuits(), prompts_, this, values)) return;
  if (values == current) return;
  editor_.SetSelectedValues(values);
  Refresh();
}

void EditorWindow::DeleteSelection() {
  if (editor_.DeleteSelection() == EditResult::Done) Refresh();
}

void EditorWindow::MoveBy(int cellsRight, int cellsDown) {
  ShowEditResult(editor_.MoveSelection(cellsRight, cellsDown), kMoveRefused);
}

void EditorWindow::ShowEditResult(EditResult result, const QString& refused) {
  switch (result) {
    case EditResult::Done:
      Refresh();
      ShowNormalStatus();
      return;
    case EditResult::NothingSelected:
      return;
    case EditResult::Overlaps:
      ShowStatus(refused + kOverlapsReason);
      break;
    case EditResult::OffSheet:
      ShowStatus(refused + kOffSheetReason);
      break;
    case EditResult::NoRoute:
      ShowStatus(refused + kNoRouteReason);
      break;
  }
  ShowMarks();
}

void EditorWindow::Undo() {
  if (!editor_.Undo()) return;
  Refresh();
  ShowNormalStatus();
}

void EditorWindow::Redo() {
  if (!editor_.Redo()) return;
  Refresh();
  ShowNormalStatus();
}

void EditorWindow::CancelAction() {
  if (dragOrigin_) {
    dragOrigin_.reset();
    dragCells_ = {};
  } else {
    editor_.Cancel();
  }
  ShowToolStates();
  ShowMarks();
  ShowNormalStatus();
}

void EditorWindow::ZoomBy(double factor) {
  sheet_->SetZoom(std::clamp(sheet_->Zoom() * factor, kSmallestZoom, kLargestZoom));
}

void EditorWindow::ZoomToFit() {
  // The sheet round the drawing keeps both scroll bars showing.
  const QSize area =
      sheetScroll_->maximumViewportSize() - QSize(sheetScroll_->verticalScrollBar()->sizeHint().width(),
                                                  sheetScroll_->horizontalScrollBar()->sizeHint().height());
  // The drawing, not the sheet round it; an empty sheet shows whole.
  const std::optional<SheetBox> box = DrawingBox(editor_.Drawing(), kFitMargin);
  const QRect shown = box ? QRect(QPoint(box->left, box->top), QPoint(box->right, box->bottom))
                          : QRect(QPoint(0, 0), sheet_->Image().size());
  const double zoom = std::clamp(std::min(double(area.width()) / shown.width(), double(area.height()) / shown.height()),
                                 kSmallestZoom, kLargestZoom);
  sheet_->SetZoom(zoom);
  sheetScroll_->horizontalScrollBar()->setValue(static_cast<int>(shown.left() * zoom));
  sheetScroll_->verticalScrollBar()->setValue(static_cast<int>(shown.top() * zoom));
}

void EditorWindow::ShowRouteFailure(PressResult result) {
  ShowStatus(kNoRouteStatus);
  if (result == PressResult::RoutingGuard) prompts_.Inform(this, kMessageTitle, RoutingGuardText());
}

bool EditorWindow::MaySetDrawingAside() {
  if (!editor_.Modified()) return true;
  const int answer =
      prompts_.Choose(this, kMessageTitle, kSaveChangesQuestion,
                      {QStringLiteral("Сохранить"), QStringLiteral("Не сохранять"), QStringLiteral("Отмена")});
  if (answer == 0) return SaveSchemeAs();
  return answer == 1;
}

bool EditorWindow::SaveSchemeAs() {
  const QString name = prompts_.SaveFileName(this, QStringLiteral("Сохранить схему"), QStringLiteral("."));
  if (name.isEmpty()) return false;
  if (const SaveProblem problem = editor_.SaveScheme(ChosenFilePath(name)); problem != SaveProblem::None) {
    prompts_.Critical(this, QStringLiteral("Ошибка"), SaveProblemText(problem, name, SavedFile::Scheme));
    return false;
  }
  schemeName_ = name;
  ShowCommandStates();
  return true;
}

bool EditorWindow::AskBeforeQuit() {
  if (!MaySetDrawingAside()) return false;
  quitting_ = true;
  return true;
}

void EditorWindow::closeEvent(QCloseEvent* event) {
  dragOrigin_.reset();
  dragCells_ = {};
  if (quitting_ || MaySetDrawingAside()) event->accept();
  else event->ignore();
}

void EditorWindow::ClearSheet() {
  if (!MaySetDrawingAside()) return;
  editor_.Clear();
  Refresh();
  ShowNormalStatus();
}

void EditorWindow::LoadScheme() {
  if (!MaySetDrawingAside()) return;
  const QString name = prompts_.OpenFileName(this, QStringLiteral("Загрузить схему"), QStringLiteral("."));
  if (name.isEmpty()) return;
  ProgressDialogSteps progress(this, QStringLiteral("Загрузка схемы…"));
  if (!editor_.LoadScheme(ChosenFilePath(name), &progress)) {
    ShowStatus(kStoppedStatus);
    return;
  }
  schemeName_ = name;
  Refresh();
  ShowNormalStatus();
}

void EditorWindow::SaveScheme() { SaveSchemeAs(); }

void EditorWindow::WriteTableFile() {
  const DrawingTable table = ExportDrawingTable(editor_.Drawing());
  const QString name = prompts_.SaveFileName(this, QStringLiteral("Таблица ветвей в файл"),
                                             QStringLiteral("./") + QString::fromLatin1(kDrawingTableFile));
  // The numbers show how the drawing was read, whether or not it was written.
  sheet_->Paint(table.nodeNumbers);
  if (name.isEmpty()) return;
  if (const SaveProblem problem = SaveDrawingTable(ChosenFilePath(name), table.text); problem != SaveProblem::None)
    prompts_.Critical(this, QStringLiteral("Ошибка"), SaveProblemText(problem, name, SavedFile::DrawingTable));
}

void EditorWindow::TransferToMainWindow() {
  if (editor_.Drawing().Branches().empty()) {
    prompts_.Inform(this, kMessageTitle, kNothingToTransfer);
    return;
  }
  // The table goes straight to the main window: no file is written that
  // the student did not ask for.
  const DrawingTable table = ExportDrawingTable(editor_.Drawing());
  sheet_->Paint(table.nodeNumbers);
  mainWindow_.ShowBranchTable(ParseBranchTableText(table.text), QString::fromLatin1(kDrawingTableFile));
}

void EditorWindow::DrawMainWindowTable() {
  if (!MaySetDrawingAside()) return;
  ProgressDialogSteps progress(this, QStringLiteral("Рисование по таблице…"));
  const TableDrawingOutcome outcome = editor_.DrawTable(mainWindow_.ReadBranchTable(), &progress);
  if (outcome.stopped) {
    ShowStatus(kStoppedStatus);
    return;
  }
  Refresh();
  ShowNormalStatus();
  if (outcome.routingGuardTrips > 0) prompts_.Inform(this, kMessageTitle, RoutingGuardText());
  if (!outcome.nodesApart.empty()) prompts_.Inform(this, kMessageTitle, NodesApartText(outcome.nodesApart));
}

}  // namespace ohmara
