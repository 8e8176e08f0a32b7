// The circuit editor as a student uses it: tools, presses on the sheet
// answered through the add-branch dialog, scheme files, and the drawing
// carried to the main window and back.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <fstream>
#include <set>

#include "analysis/textbook_circuits.h"
#include "editor/drawing_to_table.h"
#include "editor/scheme_file.h"
#include "editor/sheet_model.h"
#include "editor/table_to_drawing.h"
#include "support/grid_circuit.h"
#include "support/gui_app_fixture.h"
#include "ui/add_branch_dialog.h"
#include "ui/editor_window.h"
#include "ui/element_pictures.h"
#include "ui/mesh_current_window.h"
#include "ui/sheet_canvas.h"
#include "ui/widget_views.h"

namespace ohmara::testing {
namespace {

// A branch as placed with the mouse: its start terminal and orientation.
struct Placed {
  int x, y;
  bool vertical;
  // Presses that pick its start or end terminal (inside the third next to it).
  QPoint Start() const { return vertical ? QPoint(x, y + 5) : QPoint(x + 5, y); }
  QPoint End() const { return vertical ? QPoint(x, y + 115) : QPoint(x + 115, y); }
  QPoint Middle() const { return vertical ? QPoint(x, y + 60) : QPoint(x + 60, y); }
};

class EditorTest : public AppFixture {
 protected:
  EditorWindow& Editor() { return Windows().editorWindow(); }
  const SheetDrawing& Drawing() { return Editor().sheetEditor().Drawing(); }
  QString Status() { return Find<QLabel>(Editor(), "StatusPanel")->text(); }
  void Tool(const char* name) { Find<QPushButton>(Editor(), name)->click(); }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* sheet = Find<QWidget>(Editor(), "Sheet");
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), sheet->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(sheet, &event);
  }
  void Press(QPoint at) { Mouse(QEvent::MouseButtonPress, at); }

  // The add-branch dialog will be answered with these cells (R, L, C, E,
  // angle, and J and its angle where it shows them) and OK, or with Cancel
  // when `ok` is false.
  void AnswerElement(const BranchRow& row, bool ok = true) {
    prompts_.onModal = [this, row, ok](QDialog& dialog) {
      QApplication::processEvents();  // its activation proposes values first
      auto* grid = Find<QTableWidget>(dialog, "AddTb");
      dialogColumns_ = grid->columnCount();
      for (int col = 1; col < dialogColumns_; ++col) grid->item(1, col)->setText(QString::fromStdString(row[col]));
      Find<QPushButton>(dialog, ok ? "BitBtn1" : "BitBtn2")->click();
    };
  }

  void Place(const Placed& branch, const BranchRow& values) {
    Tool(branch.vertical ? "AddBvBt" : "AddBhBt");
    AnswerElement(values);
    Press({branch.x, branch.y});
    prompts_.onModal = nullptr;
  }

  void Join(QPoint first, QPoint second) {
    Tool("AddCBt");
    Press(first);
    Press(second);
  }

  static QImage Picture(const char* name) {
    return LoadElementPicture(QString::fromLatin1(name), QCoreApplication::applicationDirPath());
  }

  std::string PathText(const std::string& name) const { return (scratch_.Path() / name).string(); }

  int dialogColumns_ = 0;  // the columns the add-branch dialog showed last
};

TEST_F(EditorTest, WindowLayoutNamesAndTools) {
  EditorWindow& editor = Editor();
  EXPECT_EQ(editor.windowTitle(), "Редактор");
  EXPECT_EQ(editor.centralWidget()->width(), 901);
  EXPECT_EQ(editor.centralWidget()->height() + editor.statusBar()->sizeHint().height(), 658);
  EXPECT_EQ(Find<QWidget>(editor, "SheetScroll")->geometry(), QRect(8, 8, 846, 608));
  EXPECT_EQ(Find<QWidget>(editor, "Sheet")->size(), QSize(846, 608));
  EXPECT_EQ(editor.SheetImage().size(), QSize(846, 608));
  EXPECT_EQ(Status(), "Скажи Глюкам NЕТ");
  EXPECT_EQ(Find<QAction>(editor, "N2")->text(), "Загрузить схему");
  EXPECT_EQ(Find<QAction>(editor, "N3")->text(), "Сохранить схему");
  EXPECT_NE(editor.findChild<QMenuBar*>("MainMenu1"), nullptr);

  struct Button {
    const char* name;
    const char* purpose;
    bool onPanel;
  };
  const Button buttons[] = {{"AddBhBt", "Горизонтальная ветвь", true},
                            {"AddBvBt", "Вертикальная ветвь", true},
                            {"DelBBt", "Удалить ветвь", true},
                            {"AddCBt", "Соединить выводы", true},
                            {"ClearBtn", "Очистить", false},
                            {"ToTableBtn", "Таблица ветвей в файл", false},
                            {"BitBtn2", "Перенести в главное окно", true},
                            {"BitBtn1", "Нарисовать по таблице", true}};
  int previousTop = 0;
  for (const Button& b : buttons) {
    SCOPED_TRACE(b.name);
    auto* button = Find<QPushButton>(editor, b.name);
    EXPECT_EQ(button->toolTip(), b.purpose);
    EXPECT_EQ(button->accessibleName(), b.purpose);
    EXPECT_EQ(button->size(), QSize(33, 33));
    EXPECT_EQ(button->parent()->objectName() == "Panel1", b.onPanel);
    const QRect onClient(button->mapTo(editor.centralWidget(), QPoint(0, 0)), button->size());
    EXPECT_GT(onClient.top(), previousTop);  // one column, top to bottom
    EXPECT_GE(onClient.left(), 854);         // beside the sheet
    previousTop = onClient.top();
    EXPECT_EQ(button->icon().isNull(), std::string(b.name) == "ClearBtn");
  }
  EXPECT_EQ(Find<QPushButton>(editor, "ClearBtn")->text(), "Del");
  EXPECT_TRUE(Find<QPushButton>(editor, "ClearBtn")->font().bold());

  // Each tool disables its own button and enables the other three.
  const char* tools[] = {"AddBhBt", "AddBvBt", "DelBBt", "AddCBt"};
  for (const char* chosen : tools) {
    Tool(chosen);
    for (const char* tool : tools) EXPECT_EQ(Find<QPushButton>(editor, tool)->isEnabled(), tool != chosen) << chosen;
  }

  auto* opener = Find<QPushButton>(Main(), "Button2");
  EXPECT_TRUE(opener->isEnabled());
  opener->click();
  EXPECT_TRUE(editor.isVisible());
  EXPECT_FALSE(editor.isModal());
}

TEST_F(EditorTest, PicturesAndLabelsStandAtTheirOffsetsFromTheStartTerminal) {
  struct Case {
    Placed press;
    BranchRow values;
    const char* picture;
    QPoint pictureOffset;
    QPoint labelOffset;
  };
  // Presses snap to the nearest grid point: (103, 207) places the branch at (100, 210).
  const Case cases[] = {
      {{103, 207, false}, {"", "10"}, "Rh.bmp", {57, -8}, {57, -25}},
      {{300, 100, true}, {"", "", "", "", "-5", "90"}, "Ev.bmp", {-10, 89}, {11, 89}},
      {{500, 300, false}, {"", "", "", "22"}, "Ch.bmp", {55, -10}, {55, -25}},  // a lone capacitor in the middle
      {{700, 300, true}, {"", "", "30"}, "Lv.bmp", {0, 25}, {11, 25}},
  };
  const QImage background = Picture("back.bmp");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture);
    Place(c.press, c.values);
    const SheetBranch& branch = Drawing().Branches().back();
    const QPoint start(branch.X1, branch.Y1);
    EXPECT_EQ(start.x() % 10 + start.y() % 10, 0);
    const QImage picture = Picture(c.picture);
    EXPECT_EQ(Editor().SheetImage().copy(QRect(start + c.pictureOffset, picture.size())), picture);
    // Something is written where the label stands, over the background.
    const QRect label(start + c.labelOffset, QSize(8, 5));
    EXPECT_NE(Editor().SheetImage().copy(label), background.copy(label));
  }
  EXPECT_EQ(Drawing().Branches()[0].X1, 100);
  EXPECT_EQ(Drawing().Branches()[0].Y1, 210);
}

TEST_F(EditorTest, PlacingABranchTakesTheDialogsValuesAndCancelOrBadValuesAddNothing) {
  Place({100, 100, false}, {"", "47", "", "2,2", "10", "30"});
  ASSERT_EQ(Drawing().Branches().size(), 1u);
  EXPECT_EQ(Drawing().Branches()[0].Values, (ElementValues{47, 0, 2.2, 10, 30}));
  EXPECT_EQ(prompts_.modalShown, std::vector<QString>{"AddF"});
  EXPECT_EQ(Editor().sheetEditor().NextNode(), 3);

  const QImage before = Editor().SheetImage();
  AnswerElement({"", "10"}, false);
  Press({300, 300});
  AnswerElement({"", "1", "abc"});
  Press({300, 300});
  EXPECT_EQ(Drawing().Branches().size(), 1u);
  EXPECT_EQ(Editor().sheetEditor().NextNode(), 3);
  EXPECT_EQ(Editor().SheetImage(), before);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].critical);
  EXPECT_TRUE(prompts_.messages[0].text.contains("«abc»")) << prompts_.messages[0].text.toStdString();
}

TEST_F(EditorTest, WiresJoinTerminalsAndGoWithADeletedBranch) {
  const Placed left{100, 100, false}, right{300, 100, false};
  Place(left, {"", "1"});
  Place(right, {"", "2"});

  // One terminal picked twice: the status bar says so and the pick waits on.
  Join(left.End(), left.End());
  EXPECT_TRUE(Drawing().Connections().empty());
  EXPECT_EQ(Status(), "Этот вывод уже выбран: укажите второй вывод");

  Press(right.Start());
  ASSERT_EQ(Drawing().Connections().size(), 1u);
  EXPECT_EQ(Drawing().Connections()[0].From, 2);
  EXPECT_EQ(Drawing().Connections()[0].To, 3);
  EXPECT_EQ(Status(), "Скажи Глюкам NЕТ");
  EXPECT_EQ(Editor().SheetImage().pixelColor(260, 100), QColor(Qt::black));  // the wire between them
  EXPECT_TRUE(prompts_.messages.empty());

  Tool("DelBBt");
  Press(right.Middle());
  ASSERT_EQ(Drawing().Branches().size(), 1u);
  EXPECT_TRUE(Drawing().Connections().empty());
  EXPECT_EQ(Drawing().Occupied().Count(), 39);  // only the left branch's band
  EXPECT_NE(Editor().SheetImage().pixelColor(260, 100), QColor(Qt::black));
}

TEST_F(EditorTest, SwitchingWindowsKeepsTheDrawing) {
  Click("Button2");
  Place({100, 100, false}, {"", "1"});
  Tool("AddCBt");
  const QImage drawn = Editor().SheetImage();
  for (QWidget* window : {static_cast<QWidget*>(&Main()), static_cast<QWidget*>(&Editor())}) {
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(window, &activate);
  }
  Click("Button2");
  EXPECT_EQ(Drawing().Branches().size(), 1u);
  EXPECT_EQ(Editor().sheetEditor().NextNode(), 3);
  EXPECT_EQ(Editor().sheetEditor().Mode(), SheetMode::PickFirstTerminal);
  EXPECT_EQ(Editor().SheetImage(), drawn);
}

TEST_F(EditorTest, SchemeFilesRoundTripAndABadFileChangesNothing) {
  const Placed a{100, 100, false}, b{300, 200, true};
  Place(a, {"", "10", "20", "30", "-40", "50"});
  Place(b, {"", "", "", "", "5"});
  Join(a.End(), b.Start());
  const SheetDrawing saved = Drawing();
  const QImage picture = Editor().SheetImage();

  prompts_.saveNames = {QString::fromStdString(PathText("a.sch"))};
  Find<QAction>(Editor(), "N3")->trigger();
  EXPECT_EQ(prompts_.lastDirectory, ".");
  Tool("ClearBtn");
  EXPECT_TRUE(Drawing().Branches().empty());

  prompts_.openNames = {QString::fromStdString(PathText("a.sch"))};
  Find<QAction>(Editor(), "N2")->trigger();
  EXPECT_EQ(prompts_.lastDirectory, ".");
  EXPECT_EQ(Drawing().Branches(), saved.Branches());
  EXPECT_EQ(Drawing().Connections(), saved.Connections());
  // The same cells; a load blocks the bands first, so their list order may differ.
  EXPECT_EQ(Drawing().Occupied().Count(), saved.Occupied().Count());
  for (const GridCell& cell : saved.Occupied().Cells()) EXPECT_TRUE(Drawing().Occupied().Contains(cell));
  EXPECT_EQ(Editor().SheetImage(), picture);
  EXPECT_EQ(Editor().sheetEditor().NextNode(), 5);
  EXPECT_TRUE(prompts_.messages.empty());

  std::ofstream(scratch_.Path() / "bad.sch") << "1\n1\t2\t100\t100\t0\tten\n";
  prompts_.openNames = {QString::fromStdString(PathText("bad.sch"))};
  Find<QAction>(Editor(), "N2")->trigger();
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].text.contains("bad.sch")) << prompts_.messages[0].text.toStdString();
  EXPECT_TRUE(prompts_.messages[0].text.contains("строка 2")) << prompts_.messages[0].text.toStdString();
  EXPECT_EQ(Drawing().Branches(), saved.Branches());
  EXPECT_EQ(Editor().SheetImage(), picture);
}

TEST_F(EditorTest, TableFileIsOfferedAsTableTxtAndNodeNumbersAreDrawnEvenWhenCancelled) {
  const Placed a{100, 100, false}, b{300, 100, false};
  Place(a, {"", "10", "", "2.2"});
  Place(b, {"", "5"});
  Join(a.End(), b.Start());
  const QImage before = Editor().SheetImage();
  Tool("ToTableBtn");  // cancelled
  EXPECT_EQ(prompts_.lastDirectory, "./table.txt");
  EXPECT_NE(Editor().SheetImage(), before);

  prompts_.saveNames = {QString::fromStdString(PathText("t.txt"))};
  Tool("ToTableBtn");
  EXPECT_EQ(scratch_.Text("t.txt"), "2\n1->2\t  10\t   0\t 2.2\t   0\t   0\t\n2->3\t   5\t   0\t   0\t   0\t   0\t\n");
  EXPECT_TRUE(prompts_.messages.empty());
}

// The five-branch circuit drawn with the mouse, in the order and the
// directions of its table: R = 1 everywhere, 10 V in 1->2.
TEST_F(EditorTest, DrawnCircuitCarriedToTheMainWindowSolvesLikeTheTypedTable) {
  const BranchTable typed = {
      {"1->2", "1", "", "", "10", "0"}, {"2->3", "1"}, {"3->1", "1"}, {"2->4", "1"}, {"4->3", "1"}};
  const Placed b12{100, 100, false}, b23{260, 150, true}, b31{60, 150, true}, b24{300, 100, false}, b43{460, 150, true};
  Place(b12, {"", "1", "", "", "10", "0"});
  for (const Placed& branch : {b23, b31, b24, b43}) Place(branch, {"", "1"});
  const std::pair<QPoint, QPoint> wires[] = {{b12.End(), b23.Start()}, {b23.End(), b31.Start()},
                                             {b31.End(), b12.Start()}, {b23.Start(), b24.Start()},
                                             {b24.End(), b43.Start()}, {b43.End(), b23.End()}};
  for (auto [first, second] : wires) Join(first, second);
  ASSERT_EQ(Drawing().Connections().size(), 6u) << Status().toStdString();

  const QString previous = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(scratch_.Path().string()));
  Find<QFrame>(Main(), "Panel2")->show();
  Tool("BitBtn2");
  QDir::setCurrent(previous);
  EXPECT_FALSE(scratch_.Exists("table.txt"));  // nobody asked for it
  EXPECT_EQ(Main().ReadBranchTable(), typed);
  EXPECT_FALSE(Find<QFrame>(Main(), "Panel2")->isVisibleTo(&Main()));

  auto currents = [this] {
    Click("TestBtn");
    EXPECT_FALSE(Circuit().NeedsTest);
    Click("ContBtn");
    return MemoLinesOf(Find<QPlainTextEdit>(Windows().meshCurrentWindow(), "CurMemo"));
  };
  const QStringList drawn = currents();
  EXPECT_EQ(drawn.size(), 5);
  TypeTable(typed);
  EXPECT_EQ(currents(), drawn);
}

class EditorCurrentSourceTest : public EditorTest {
 protected:
  // The item is remembered: leave it off for the tests that follow.
  void TearDown() override { Main().ApplyExtendedCircuits(false); }
};

// Four branches between the same two nodes, drawn with the mouse: an ideal
// current source with a phase, an EMF behind R, R with L, and R with L beside
// a current source. The dialog offers J only with extended circuits on; the
// drawing carried to the main window turns them on again and solves as
// ngspice does.
TEST_F(EditorCurrentSourceTest, CurrentSourcesDrawnAndCarriedToTheMainWindowSolveAsNgspice) {
  const Textbook circuit{
      "drawn", {{1, 2, 0, 0, 0, 0, 0, 2, 30}, {1, 2, 10, 0, 0, 20, 0}, {1, 2, 5, 20}, {1, 2, 4, 15, 0, 0, 0, 1.5, 60}},
      "50",    0,
      1,       2};
  const BranchTable table = TableOf(circuit);
  Place({100, 300, false}, {"", "1"});
  EXPECT_EQ(dialogColumns_, kClassicColumns);
  Tool("DelBBt");
  Press({160, 300});
  ASSERT_TRUE(Drawing().Branches().empty());

  Main().ApplyExtendedCircuits(true);
  std::vector<Placed> placed;
  for (size_t k = 0; k < table.size(); ++k) {
    placed.push_back({100, 100 + 100 * static_cast<int>(k), false});
    Place(placed.back(), table[k]);
    EXPECT_EQ(dialogColumns_, kBranchColumns);
  }
  for (size_t k = 1; k < placed.size(); ++k) {
    Join(placed[k - 1].Start(), placed[k].Start());
    Join(placed[k - 1].End(), placed[k].End());
  }
  ASSERT_EQ(Drawing().Connections().size(), 6u) << Status().toStdString();
  EXPECT_EQ(Drawing().Branches()[0].Values, (ElementValues{0, 0, 0, 0, 0, 2, 30}));

  // Off again (the grid is empty), the transfer turns the item back on.
  Find<QAction>(Main(), "ExtendedCircuitsItem")->trigger();
  ASSERT_FALSE(Main().ExtendedCircuits());
  EXPECT_EQ(Find<QTableWidget>(Windows().addBranchDialog(), "AddTb")->columnCount(), kClassicColumns);
  Tool("BitBtn2");
  EXPECT_TRUE(Main().ExtendedCircuits());
  ASSERT_EQ(Main().ReadBranchTable(), table);

  if (!SpiceAvailable()) GTEST_SKIP() << kSpiceMissing;
  Find<QLineEdit>(Main(), "Frequence")->setText(QString::fromStdString(circuit.frequency));
  Find<QLineEdit>(Main(), "U0Ed")->setText(QString::number(circuit.zeroNode));
  Click("TestBtn");
  ASSERT_FALSE(Circuit().NeedsTest);
  const SpiceAnswer spice = SpiceAnswerOf(circuit);
  Click("ContBtn");
  ASSERT_TRUE(app_->session().mesh().complete);
  ExpectAgrees(app_->session().mesh().solution.branchCurrents, spice.currents, "mesh: branch");
  Click("PotentialBtn");
  ASSERT_TRUE(app_->session().nodes().complete);
  ExpectAgrees(app_->session().nodes().solution.Potentials, spice.potentials, "nodal: node");
}

TEST_F(EditorTest, TransferNeedsNoFileAndAnEmptySheetHasNothingToTransfer) {
  TypeTable({{"1->2", "7"}});
  Tool("BitBtn2");
  ASSERT_EQ(prompts_.Texts(), std::vector<QString>{"На листе нет ни одной ветви: переносить в главное окно нечего."});
  EXPECT_EQ(Main().ReadBranchTable(), (BranchTable{{"1->2", "7", "", "", "", ""}}));

  Place({100, 100, false}, {"", "1"});
  const QString previous = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(scratch_.Path().string()));
  std::filesystem::create_directory(scratch_.Path() / "table.txt");  // a folder where the file once went
  Tool("BitBtn2");
  QDir::setCurrent(previous);
  EXPECT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(Main().ReadBranchTable(), (BranchTable{{"1->2", "1", "", "", "", ""}}));
}

TEST_F(EditorTest, DrawingTheMainWindowsTableReplacesTheSheetOrNamesTheBadCell) {
  Place({400, 400, false}, {"", "1"});
  TypeTable({{"1->2", "10"}, {"2->3", "1x"}, {"3->1", "30"}});
  const SheetDrawing before = Drawing();
  Tool("BitBtn1");
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].text.contains("Строка 2")) << prompts_.messages[0].text.toStdString();
  EXPECT_TRUE(prompts_.messages[0].text.contains("R, Ом"));
  EXPECT_EQ(Drawing().Branches(), before.Branches());

  TypeTable({{"1->2", "10"}, {"2->3", "20"}, {"3->1", "30"}});
  Tool("BitBtn1");
  ASSERT_EQ(Drawing().Branches().size(), 3u);
  EXPECT_EQ(Drawing().Branches()[2].X1, 410);
  EXPECT_EQ(Drawing().Connections().size(), 3u);  // 2 joined on placing; 3->1 joins both its ends
  EXPECT_EQ(Editor().sheetEditor().NextNode(), 4);
  EXPECT_EQ(prompts_.messages.size(), 1u);

  // A table whose rows of branches cannot be wired whole (a long grid of
  // two rows, whose second row closes far below the first) is drawn on node
  // buses instead: whole, with nothing left for the user to join.
  const BranchTable longGrid = GridTable(2, 30);
  TypeTable(longGrid);
  Tool("BitBtn1");
  EXPECT_EQ(Drawing().Branches().size(), longGrid.size());
  std::set<int> shown;
  for (const TerminalNumbers& t : PictureNodes(Drawing())) shown.insert({t.start, t.end});
  EXPECT_EQ(shown.size(), 60u);
  EXPECT_EQ(prompts_.messages.size(), 1u);
}

// "По размеру схемы" shows the drawing - its branches, labels and wires with
// a little margin - as large as the view takes it, not the sheet round it.
TEST_F(EditorTest, FittingShowsTheDrawingAsLargeAsTheViewTakesIt) {
  Editor().resize(1000, 700);
  Editor().show();
  const std::pair<const char*, BranchTable> tables[] = {{"triangle", {{"1->2", "10"}, {"2->3", "20"}, {"3->1", "30"}}},
                                                        {"grid", GridTable(4, 5)}};
  for (const auto& [what, table] : tables) {
    SCOPED_TRACE(what);
    TypeTable(table);
    Tool("BitBtn1");
    Find<QAction>(Editor(), "FitItem")->trigger();
    QApplication::processEvents();
    auto* scroll = Find<QScrollArea>(Editor(), "SheetScroll");
    const double zoom = Find<SheetCanvas>(Editor(), "Sheet")->Zoom();
    const std::optional<SheetBox> box = DrawingBox(Drawing(), 20);
    ASSERT_TRUE(box);
    const QRectF drawing(QPointF(box->left, box->top), QPointF(box->right, box->bottom));
    const QSizeF view = scroll->viewport()->size();
    const double fills = std::max(drawing.width() * zoom / view.width(), drawing.height() * zoom / view.height());
    EXPECT_GT(fills, 0.9);
    const QRectF shown(scroll->horizontalScrollBar()->value() / zoom, scroll->verticalScrollBar()->value() / zoom,
                       view.width() / zoom, view.height() / zoom);
    EXPECT_TRUE(shown.adjusted(-1, -1, 1, 1).contains(drawing))
        << shown.x() << " " << shown.y() << " " << shown.width() << " " << shown.height();
    // Every wire and terminal lies in what is shown.
    for (const Connection& w : Drawing().Connections())
      for (const GridCell& c : w.Points) EXPECT_TRUE(drawing.contains(QPointF(10 * c.X, 10 * c.Y)));
  }
}

// Drawing a table and loading a scheme show their progress, and the
// dialog's button stops them with the drawing as it was; let run, they end
// as they would without it.
TEST_F(EditorTest, LongWorkShowsProgressAndStoppingItLeavesTheDrawingAsItWas) {
  Place({400, 400, false}, {"", "1"});
  prompts_.saveNames = {QString::fromStdString(PathText("one.sch"))};
  Find<QAction>(Editor(), "N3")->trigger();
  const std::string before = SchemeFileText(Drawing());
  const BranchTable grid = GridTable(4, 5);
  TypeTable(grid);
  struct Case {
    const char* what;
    std::function<void()> start;
  };
  const Case cases[] = {
      {"table", [&] { Tool("BitBtn1"); }},
      {"scheme",
       [&] {
         prompts_.openNames = {QString::fromStdString(PathText("grid.sch"))};
         Find<QAction>(Editor(), "N2")->trigger();
       }},
  };
  SaveSchemeFile(scratch_.Path() / "grid.sch", LayOutBranchTable(GridTable(12, 12)).drawing);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int reports = 0;
    // The first step it shows lets this run: the button is pressed then.
    QTimer::singleShot(0, &Editor(), [&] {
      auto* dialog = Editor().findChild<QProgressDialog*>("ProgressDialog");
      ASSERT_NE(dialog, nullptr);
      ++reports;
      dialog->cancel();
    });
    c.start();
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(SchemeFileText(Drawing()), before);
    EXPECT_EQ(Status(), "Остановлено: рисунок остался прежним");
    EXPECT_FALSE(Editor().windowTitle().endsWith("*"));
  }
  Tool("BitBtn1");
  EXPECT_EQ(SchemeFileText(Drawing()), SchemeFileText(LayOutBranchTable(grid).drawing));
  EXPECT_EQ(Editor().findChild<QProgressDialog*>("ProgressDialog"), nullptr);
  prompts_.choices = {1};  // Не сохранять
  prompts_.openNames = {QString::fromStdString(PathText("grid.sch"))};
  Find<QAction>(Editor(), "N2")->trigger();
  EXPECT_EQ(Drawing().Branches().size(), GridTable(12, 12).size());
  EXPECT_TRUE(prompts_.messages.empty());
}

// Draw, move, edit and delete, saving after each step; undo then walks back
// through the very same files to an empty sheet, and redo forward again.
TEST_F(EditorTest, EveryStepUndoesToTheFileSavedAtThatStep) {
  std::vector<std::string> saved;
  auto save = [&] {
    const std::string name = "step" + std::to_string(saved.size()) + ".sch";
    prompts_.saveNames = {QString::fromStdString(PathText(name))};
    Find<QAction>(Editor(), "N3")->trigger();
    return scratch_.Text(name);
  };
  auto action = [&](const char* name) { Find<QAction>(Editor(), name)->trigger(); };
  saved.push_back(save());
  const Placed a{100, 100, false}, b{300, 200, true};
  Place(a, {"", "10"});
  saved.push_back(save());
  Place(b, {"", "", "5"});  // L = 5
  saved.push_back(save());
  Join(a.End(), b.Start());
  saved.push_back(save());
  EXPECT_EQ(Editor().windowTitle(), "Редактор — step3.sch");

  // Esc drops the tool; a press selects, a drag moves three cells right.
  action("CancelKey");
  EXPECT_EQ(Editor().sheetEditor().Mode(), SheetMode::Idle);
  Press(b.Middle());
  ASSERT_TRUE(Editor().sheetEditor().Selection());
  Mouse(QEvent::MouseMove, b.Middle() + QPoint(31, 2));
  Mouse(QEvent::MouseButtonRelease, b.Middle() + QPoint(31, 2));
  ASSERT_EQ(Drawing().Branches()[1].X1, 330) << Status().toStdString();
  EXPECT_EQ(Drawing().Connections()[0].Points.front(), (GridCell{33, 20}));
  EXPECT_EQ(Editor().windowTitle(), "Редактор — step3.sch *");
  saved.push_back(save());
  action("DownKey");
  saved.push_back(save());

  // The dialog opens with the branch's values; C is added to them.
  QString shownL;
  prompts_.onModal = [&shownL](QDialog& dialog) {
    QApplication::processEvents();
    auto* grid = Find<QTableWidget>(dialog, "AddTb");
    shownL = grid->item(1, kLColumn)->text();
    grid->item(1, kCColumn)->setText("7");
    Find<QPushButton>(dialog, "BitBtn1")->click();
  };
  action("EditValuesItem");
  EXPECT_EQ(shownL, "5");
  prompts_.onModal = nullptr;
  EXPECT_EQ(Drawing().Branches()[1].Values, (ElementValues{0, 5, 7, 0, 0}));
  saved.push_back(save());

  // A wire selected alone and deleted.
  Press(QPoint(10 * Drawing().Connections()[0].Points[2].X, 10 * Drawing().Connections()[0].Points[2].Y));
  ASSERT_EQ(Editor().sheetEditor().Selection(), (SheetSelection{SheetSelection::Kind::Connection, 0}));
  action("DeleteItem");
  EXPECT_TRUE(Drawing().Connections().empty());
  EXPECT_EQ(Drawing().Branches().size(), 2u);
  saved.push_back(save());

  for (size_t step = saved.size() - 1; step > 0; --step) {
    action("UndoItem");
    EXPECT_EQ(save(), saved[step - 1]) << "after undoing step " << step;
    saved.pop_back();  // the file just written holds the same text
  }
  EXPECT_TRUE(Drawing().Branches().empty());
  EXPECT_FALSE(Find<QAction>(Editor(), "UndoItem")->isEnabled());
  action("RedoItem");
  EXPECT_EQ(Drawing().Branches().size(), 1u);
  EXPECT_TRUE(prompts_.messages.empty()) << prompts_.messages[0].text.toStdString();
}

TEST_F(EditorTest, UnsavedChangesAskAndEachAnswerDoesWhatItSays) {
  const QString question = "Сохранить изменения в схеме?";
  Tool("ClearBtn");  // an empty sheet loses nothing: no question
  EXPECT_TRUE(prompts_.questions.empty());
  Place({100, 100, false}, {"", "1"});
  EXPECT_EQ(Editor().windowTitle(), "Редактор *");

  prompts_.choices = {2};  // Отмена
  Tool("ClearBtn");
  EXPECT_EQ(prompts_.questions, std::vector<QString>{question});
  EXPECT_EQ(Drawing().Branches().size(), 1u);
  prompts_.choices = {2};
  Find<QAction>(Editor(), "N2")->trigger();
  EXPECT_EQ(prompts_.lastDirectory, "");  // no file was asked for
  prompts_.choices = {2};
  Tool("BitBtn1");
  EXPECT_EQ(Drawing().Branches().size(), 1u);
  Editor().show();
  prompts_.choices = {2};
  EXPECT_FALSE(Editor().close());
  prompts_.choices = {2};
  EXPECT_FALSE(Main().close());
  EXPECT_EQ(prompts_.questions.size(), 5u);

  prompts_.choices = {0};  // Сохранить: the file is asked for and written, then the sheet is cleared
  prompts_.saveNames = {QString::fromStdString(PathText("kept.sch"))};
  Tool("ClearBtn");
  EXPECT_TRUE(Drawing().Branches().empty());
  EXPECT_TRUE(scratch_.Text("kept.sch").starts_with("1\n1\t2\t100\t100\t"));
  EXPECT_EQ(Editor().windowTitle(), "Редактор — kept.sch *");

  Place({100, 300, false}, {"", "1"});
  prompts_.choices = {0};  // Сохранить, but the file dialog is cancelled: nothing happens
  Tool("ClearBtn");
  EXPECT_EQ(Drawing().Branches().size(), 1u);

  prompts_.choices = {0};  // Сохранить into a folder that does not exist: it says so and keeps the drawing
  const std::string unwritable = PathText("missing/s.sch");
  prompts_.saveNames = {QString::fromStdString(unwritable)};
  Tool("ClearBtn");
  EXPECT_EQ(Drawing().Branches().size(), 1u);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text.toStdString(),
            "Не удалось сохранить схему в файл «" + unwritable + "»; прежний файл не изменён.");
  EXPECT_TRUE(Editor().windowTitle().endsWith(" *"));

  prompts_.choices = {1};  // Не сохранять
  Tool("ClearBtn");
  EXPECT_TRUE(Drawing().Branches().empty());
  EXPECT_TRUE(scratch_.Text("kept.sch").starts_with("1\n1\t2\t100\t100\t"));
  EXPECT_EQ(prompts_.questions.size(), 9u);
  EXPECT_TRUE(Editor().close() || !Editor().isVisible());
}

TEST_F(EditorTest, RightClickMenuAndRefusedPlacementsSaySoWithoutActing) {
  Place({100, 100, false}, {"", "1"});
  Tool("AddBhBt");
  AnswerElement({"", "2"});
  Press({100, 100});  // right over the first
  prompts_.onModal = nullptr;
  EXPECT_EQ(Drawing().Branches().size(), 1u);
  EXPECT_TRUE(prompts_.modalShown.size() == 1u);  // the dialog was not even asked
  EXPECT_EQ(Status(), "Ветвь не поставлена: здесь уже стоит другой элемент схемы");
  Press({800, 100});
  EXPECT_EQ(Status(), "Ветвь не поставлена: она не помещается на листе");

  Mouse(QEvent::MouseButtonPress, {160, 100}, Qt::RightButton);
  EXPECT_EQ(Drawing().Branches().size(), 1u);  // no branch placed by a right click
  EXPECT_EQ(Editor().sheetEditor().Selection(), (SheetSelection{SheetSelection::Kind::Branch, 0}));
  auto* menu = Editor().findChild<QMenu*>("SheetMenu");
  ASSERT_NE(menu, nullptr);
  QStringList texts;
  for (QAction* item : menu->actions()) texts << item->text();
  EXPECT_EQ(texts, (QStringList{"Изменить значения", "Удалить", "Отменить"}));
  menu->hide();
  Find<QAction>(Editor(), "DeleteItem")->trigger();
  EXPECT_TRUE(Drawing().Branches().empty());
  Find<QAction>(Editor(), "UndoItem")->trigger();
  EXPECT_EQ(Drawing().Branches().size(), 1u);
}

}  // namespace
}  // namespace ohmara::testing
