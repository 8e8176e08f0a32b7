// The self-check window reached from a result window: the student's answers
// marked, the student's own loops, the answer on request, attempts saved.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "support/gui_app_fixture.h"
#include "ui/mesh_current_window.h"
#include "ui/node_potential_window.h"
#include "ui/self_check_window.h"

namespace ohmara::testing {
namespace {

const QColor kGreen(198, 239, 206);
const QColor kRed(255, 199, 206);

class SelfCheckTest : public AppFixture {
 protected:
  // The five-branch example solved by loop currents, and its self-check open.
  SelfCheckWindow& OpenMeshSelfCheck() {
    TypeTable(kFiveBranches);
    Click("TestBtn");
    Click("ContBtn");
    MeshCurrentWindow& mesh = Windows().meshCurrentWindow();
    Find<QAction>(mesh, "SelfCheckItem")->trigger();
    return mesh.selfCheckWindow();
  }

  static QTableWidgetItem* Cell(SelfCheckWindow& window, const char* grid, int row, int col = 0) {
    return Find<QTableWidget>(window, grid)->item(row, col);
  }
  static void Type(SelfCheckWindow& window, const char* grid, int row, const QString& text, int col = 0) {
    Cell(window, grid, row, col)->setText(text);
  }
  static QColor Colour(SelfCheckWindow& window, const char* grid, int row, int col = 0) {
    return Cell(window, grid, row, col)->background().color();
  }
};

TEST_F(SelfCheckTest, MarksTheStudentsLoopCurrentsAndBranchCurrents) {
  SelfCheckWindow& window = OpenMeshSelfCheck();
  ASSERT_TRUE(window.isVisible());
  EXPECT_EQ(Find<QTableWidget>(window, "MatrixGrid")->rowCount(), 2);
  EXPECT_EQ(Find<QTableWidget>(window, "CurrentGrid")->rowCount(), 5);
  // Nothing of the answer shows before it is asked for.
  for (int row = 0; row < 2; ++row) EXPECT_TRUE(Cell(window, "UnknownGrid", row)->text().isEmpty());

  Type(window, "UnknownGrid", 0, "3,75");
  Type(window, "UnknownGrid", 1, "1.3");
  Type(window, "CurrentGrid", 0, "3.75 + j0");
  Find<QPushButton>(window, "CheckBtn")->click();
  EXPECT_EQ(Colour(window, "UnknownGrid", 0), kGreen);
  EXPECT_EQ(Colour(window, "CurrentGrid", 0), kGreen);
  EXPECT_EQ(Colour(window, "UnknownGrid", 1), kRed);
  EXPECT_EQ(Cell(window, "UnknownGrid", 1)->toolTip(), "Ответ программы: 1.25; отличие 4 %");
  EXPECT_EQ(Cell(window, "CurrentGrid", 1)->background().style(), Qt::NoBrush) << "a blank cell is not marked";
  EXPECT_EQ(Find<QLabel>(window, "SummaryLabel")->text(), "Верно 2 из 3");

  Find<QPushButton>(window, "ShowAnswerBtn")->click();
  EXPECT_EQ(Cell(window, "CurrentGrid", 1)->text(), "2.5");
  EXPECT_EQ(Cell(window, "UnknownGrid", 1)->text(), "1.3") << "the student's own text stays";
  Find<QPushButton>(window, "ShowAnswerBtn")->click();
  EXPECT_TRUE(Cell(window, "CurrentGrid", 1)->text().isEmpty());
}

TEST_F(SelfCheckTest, OwnLoopsInTheOppositeDirectionNegateTheLoopCurrents) {
  SelfCheckWindow& window = OpenMeshSelfCheck();
  Find<QPlainTextEdit>(window, "OwnLoopsEdit")->setPlainText("1-3-2-1\n2-3-4-2");
  Type(window, "UnknownGrid", 0, "-3.75");
  Type(window, "UnknownGrid", 1, "-1.25");
  Type(window, "MatrixGrid", 0, "3", 0);
  Type(window, "MatrixGrid", 0, "-1", 1);
  Type(window, "SourceGrid", 0, "-10");
  const char* currents[] = {"3.75", "2.5", "3.75", "1.25", "1.25"};
  for (int row = 0; row < 5; ++row) Type(window, "CurrentGrid", row, currents[row]);
  Find<QPushButton>(window, "CheckBtn")->click();
  for (int row = 0; row < 2; ++row) EXPECT_EQ(Colour(window, "UnknownGrid", row), kGreen) << row;
  for (int row = 0; row < 5; ++row) EXPECT_EQ(Colour(window, "CurrentGrid", row), kGreen) << row;
  EXPECT_EQ(Colour(window, "SourceGrid", 0), kGreen);
  EXPECT_EQ(Find<QLabel>(window, "SummaryLabel")->text(), "Верно 10 из 10");

  // A set that is not complete is named and nothing is marked anew.
  Find<QPlainTextEdit>(window, "OwnLoopsEdit")->setPlainText("1-3-2-1");
  prompts_.messages.clear();
  Find<QPushButton>(window, "CheckBtn")->click();
  ASSERT_EQ(prompts_.Texts().size(), 1u);
  EXPECT_EQ(prompts_.Texts()[0], "Нужно 2 независимых контура, задано 1");
}

TEST_F(SelfCheckTest, AttemptSavedAndOpenedAgainInTheNodeMethodsForm) {
  TypeTable(kFiveBranches);
  Click("TestBtn");
  Click("PotentialBtn");
  NodePotentialWindow& nodes = Windows().nodePotentialWindow();
  Find<QAction>(nodes, "SelfCheckItem")->trigger();
  SelfCheckWindow& window = nodes.selfCheckWindow();
  EXPECT_FALSE(Find<QPlainTextEdit>(window, "OwnLoopsEdit")->isVisibleTo(&window));
  EXPECT_EQ(Find<QTableWidget>(window, "MatrixGrid")->rowCount(), 3);
  Type(window, "UnknownGrid", 0, "5∠30°");
  Type(window, "PowerGrid", 0, "37,5");

  const std::filesystem::path file = scratch_.Path() / "attempt.txt";
  prompts_.saveNames.push_back(QString::fromStdString(file.string()));
  window.SaveAttempt();
  Type(window, "UnknownGrid", 0, "");
  Type(window, "PowerGrid", 0, "");
  prompts_.openNames.push_back(QString::fromStdString(file.string()));
  window.OpenAttempt();
  EXPECT_EQ(Cell(window, "UnknownGrid", 0)->text(), "5∠30°");
  EXPECT_EQ(Cell(window, "PowerGrid", 0)->text(), "37,5");
  Find<QPushButton>(window, "CheckBtn")->click();
  EXPECT_EQ(Colour(window, "PowerGrid", 0), kGreen);
  EXPECT_EQ(Colour(window, "UnknownGrid", 0), kRed);

  // A new test forgets the solution: the item is off until the next run.
  Click("TestBtn");
  EXPECT_FALSE(Find<QAction>(nodes, "SelfCheckItem")->isEnabled());
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace ohmara::testing
