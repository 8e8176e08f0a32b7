// "Вид" → "Расширенные схемы" as a student meets it: the refusal that points
// to it, the columns and the unit it adds, and textbook circuits typed into
// the grid and solved by the buttons of every method that applies.
#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTableWidget>
#include <QTableWidgetItem>

#include "analysis/optimal_node_potential.h"
#include "analysis/textbook_circuits.h"
#include "support/gui_app_fixture.h"
#include "ui/check_report_dialog.h"
#include "ui/mesh_current_window.h"
#include "ui/widget_style.h"

namespace ohmara::testing {
namespace {

class ExtendedCircuitsTest : public AppFixture {
 protected:
  // The item is remembered: leave it off for the tests that follow.
  void TearDown() override { Main().ApplyExtendedCircuits(false); }

  QAction* Item() { return Find<QAction>(Main(), "ExtendedCircuitsItem"); }
  QComboBox* Units() { return Find<QComboBox>(Main(), "Dimens"); }

  // "Мощности ветвей" shows the table beside the window, closed by the two
  // totals, which agree.
  void ExpectPowersBalance(QWidget& window) {
    Find<QAction>(window, "BranchPowersItem")->setChecked(true);
    const auto* table = Find<QTableWidget>(window, "BranchPowersView");
    EXPECT_TRUE(table->isVisibleTo(&window));
    // Widened to the right, the window stays on the desktop as far as it fits.
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    if (window.isVisible()) {
      EXPECT_GE(window.frameGeometry().left(), desktop.left());
      if (window.frameGeometry().width() <= desktop.width()) {
        EXPECT_LE(window.frameGeometry().right(), desktop.right());
      }
    }
    const int rows = table->rowCount();
    ASSERT_GE(rows, 3);
    EXPECT_EQ(table->item(rows - 2, 0)->text(), "Мощность источников");
    EXPECT_EQ(table->item(rows - 1, 0)->text(), "Потребляемая мощность");
    EXPECT_EQ(table->item(rows - 2, 1)->text(), table->item(rows - 1, 1)->text());
  }
};

TEST_F(ExtendedCircuitsTest, RepeatedPairIsRefusedUntilTheItemIsOnAndTheItemIsRemembered) {
  EXPECT_FALSE(Item()->isChecked());
  TypeTable({{"1->2", "1", "", "", "10", "0"}, {"2->1", "2"}, {"1->2", "3"}});
  Click("TestBtn");
  EXPECT_EQ(Windows().checkReport().FaultLine(),
            "Ветви в строках 1 и 2 соединяют одни и те же узлы 1 и 2. Включите «Вид → Расширенные схемы» или "
            "разделите ветвь промежуточным узлом.");

  Item()->trigger();
  EXPECT_TRUE(Item()->isChecked());
  EXPECT_TRUE(QSettings("Ohmara", "Ohmara").value("Вид/Расширенные схемы").toBool());
  EXPECT_EQ(BranchGrid()->columnCount(), 8);
  EXPECT_EQ(Cell(0, 6), "J, А");
  EXPECT_EQ(Cell(0, 7), "Угол J");
  // All eight columns side by side, with room for the scroll bar of a long table.
  int across = 0;
  for (int col = 0; col < 8; ++col) across += BranchGrid()->columnWidth(col);
  EXPECT_LE(across + BranchGrid()->verticalScrollBar()->sizeHint().width(), BranchGrid()->viewport()->width());
  EXPECT_EQ(Units()->itemText(3), "рад/с");
  Click("TestBtn");
  EXPECT_EQ(Windows().checkReport().FaultLine(), "");
  EXPECT_FALSE(Circuit().NeedsTest);
  // Parallel branches alone: two nodes, no junction is needed.
  EXPECT_EQ(Find<QLineEdit>(Main(), "EdN")->text(), "2");

  // A current source in the grid keeps the item on.
  BranchGrid()->setItem(2, 6, new QTableWidgetItem("1"));
  prompts_.messages.clear();
  Item()->trigger();
  EXPECT_TRUE(Item()->isChecked());
  ASSERT_EQ(prompts_.Texts().size(), 1u);
  BranchGrid()->item(2, 6)->setText("");
  Item()->trigger();
  EXPECT_FALSE(Item()->isChecked());
  EXPECT_EQ(BranchGrid()->columnCount(), 6);
  EXPECT_EQ(BranchGrid()->columnWidth(0), kGridColumnWidth) << "the classic grid as it always was";
  EXPECT_EQ(Units()->count(), 3);
}

TEST_F(ExtendedCircuitsTest, TextbookCircuitsTypedInTheGridAgreeWithNgspiceByEveryMethod) {
  if (!SpiceAvailable()) GTEST_SKIP() << kSpiceMissing;
  Main().ApplyExtendedCircuits(true);
  for (const Textbook& circuit : Circuits()) {
    SCOPED_TRACE(circuit.what);
    TypeTable(TableOf(circuit));
    Find<QLineEdit>(Main(), "Frequence")->setText(QString::fromStdString(circuit.frequency));
    Units()->setCurrentIndex(circuit.unit);
    Find<QLineEdit>(Main(), "U0Ed")->setText(QString::number(circuit.zeroNode));
    Click("TestBtn");
    ASSERT_FALSE(Circuit().NeedsTest) << Windows().checkReport().FaultLine().toStdString();
    if (!circuit.junctions) {
      EXPECT_EQ(Find<QLineEdit>(Main(), "EdN")->text(), "0");
    }
    const SpiceAnswer spice = SpiceAnswerOf(circuit);
    const CircuitSession& session = app_->session();

    Click("ContBtn");
    ASSERT_TRUE(session.mesh().complete);
    ExpectPowersBalance(Windows().meshCurrentWindow());
    ExpectAgrees(session.mesh().solution.branchCurrents, spice.currents, "mesh: branch");
    Click("PotentialBtn");
    ASSERT_TRUE(session.nodes().complete);
    ExpectAgrees(session.nodes().solution.Currents, spice.currents, "nodal: branch");
    ExpectAgrees(session.nodes().solution.Potentials, spice.potentials, "nodal: node");
    prompts_.messages.clear();
    Click("BitBtn3");
    if (circuit.junctions) {
      ASSERT_TRUE(session.nodes().complete && session.nodes().optimal);
      ExpectAgrees(session.nodes().solution.Currents, spice.currents, "optimal: branch");
    } else {
      EXPECT_EQ(prompts_.Texts(), std::vector<QString>{QString::fromUtf8(kOptimalNeedsJunctionText)});
    }
  }
}

}  // namespace
}  // namespace ohmara::testing
