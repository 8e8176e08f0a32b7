// The polar readouts of the result windows and their phasor diagrams, on
// the solutions the methods hand back.

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QImage>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolTip>
#include <cmath>

#include "support/file_size_limit.h"
#include "support/gui_app_fixture.h"
#include "ui/mesh_current_window.h"
#include "ui/node_potential_window.h"
#include "ui/phasor_diagram_window.h"
#include "ui/widget_views.h"

namespace ohmara::testing {
namespace {

class PhasorWindowsTest : public AppFixture {
 protected:
  void Solve(const BranchTable& table, const char* method) {
    TypeTable(table);
    Click("TestBtn");
    Click(method);
  }

  // The tooltip shown when the mouse rests on line `line` of a memo.
  static QString ToolTipOfLine(QPlainTextEdit* memo, int line) {
    QTextCursor cursor(memo->document()->findBlockByNumber(line));
    const QPoint inside = memo->cursorRect(cursor).center() + QPoint(4, 0);
    QToolTip::hideText();
    QHelpEvent event(QEvent::ToolTip, inside, memo->viewport()->mapToGlobal(inside));
    QCoreApplication::sendEvent(memo->viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  }

  static QStringList ArrowLabels(const PhasorLayer& layer) {
    QStringList labels;
    for (const PhasorArrow& arrow : layer.diagram.arrows) labels << QString::fromStdString(arrow.label);
    return labels;
  }
};

TEST_F(PhasorWindowsTest, FiveBranchExampleInPolarFormAndAsADiagram) {
  MeshCurrentWindow& form = Windows().meshCurrentWindow();
  QAction* diagramItem = Find<QAction>(form, "PhasorDiagramItem");
  EXPECT_FALSE(diagramItem->isEnabled());
  Solve(kFiveBranches, "ContBtn");
  ASSERT_TRUE(diagramItem->isEnabled());

  // The memos read as before; the polar forms come on hover and in their panel.
  auto* currents = Find<QPlainTextEdit>(form, "CurMemo");
  const QStringList memoLines = {"I12 =  3.75", "I23 =  2.5", "I31 =  3.75", "I24 =  1.25", "I43 =  1.25"};
  EXPECT_EQ(MemoLinesOf(currents), memoLines);
  form.show();
  EXPECT_EQ(ToolTipOfLine(currents, 1), "I23 = 2.5 ∠ 0°");
  EXPECT_EQ(ToolTipOfLine(Find<QPlainTextEdit>(form, "ContCurr"), 1), "I22 = 1.25 ∠ 0°");
  auto* panel = Find<QPlainTextEdit>(form, "PolarView");
  EXPECT_FALSE(panel->isVisible());
  const int narrow = form.width();
  Find<QAction>(form, "PolarFormItem")->trigger();
  EXPECT_TRUE(panel->isVisible());
  EXPECT_GT(form.width(), narrow);
  EXPECT_EQ(MemoLinesOf(panel), QStringList({"Контурные токи", "I11 = 3.75 ∠ 0°", "I22 = 1.25 ∠ 0°", "",
                                             "Токи в каждой ветви", "I12 = 3.75 ∠ 0°", "I23 = 2.5 ∠ 0°",
                                             "I31 = 3.75 ∠ 0°", "I24 = 1.25 ∠ 0°", "I43 = 1.25 ∠ 0°"}));
  EXPECT_EQ(MemoLinesOf(currents), memoLines);

  // Five arrows from the origin, then node 2 head to tail back to the origin.
  diagramItem->trigger();
  PhasorDiagramWindow& diagram = form.phasorDiagram();
  ASSERT_TRUE(diagram.isVisible());
  std::vector<PhasorLayer> layers = diagram.Layers();
  ASSERT_EQ(layers.size(), 1u);
  EXPECT_EQ(ArrowLabels(layers[0]), QStringList({"I12", "I23", "I31", "I24", "I43"}));
  const PhasorDiagram& fan = layers[0].diagram;
  EXPECT_GT(fan.arrows[0].tip.x - fan.origin.x, 100);
  EXPECT_NEAR(fan.arrows[0].tip.y, fan.origin.y, 1e-9);
  EXPECT_FALSE(Find<QCheckBox>(diagram, "PotentialsBox")->isVisibleTo(&diagram));

  auto* nodeBox = Find<QComboBox>(diagram, "NodeBox");
  nodeBox->setCurrentIndex(nodeBox->findText("2"));
  layers = diagram.Layers();
  ASSERT_EQ(layers.size(), 1u);
  EXPECT_EQ(ArrowLabels(layers[0]), QStringList({"I12", "-I23", "-I24"}));
  const PhasorDiagram& polygon = layers[0].diagram;
  EXPECT_NEAR(polygon.arrows.back().tip.x, polygon.origin.x, 1e-6);
  EXPECT_NEAR(polygon.arrows.back().tip.y, polygon.origin.y, 1e-6);
  EXPECT_FALSE(Find<QCheckBox>(diagram, "LogLengthBox")->isEnabled());

  const QString png = QString::fromStdString((scratch_.Path() / "diagram.png").string());
  prompts_.saveNames = {png};
  Find<QAction>(diagram, "SavePngItem")->trigger();
  EXPECT_EQ(prompts_.lastDirectory, "phasors.png");
  const QImage saved(png, "PNG");
  EXPECT_EQ(saved.size(), Find<QWidget>(diagram, "PhasorView")->size());
  // A name without a suffix gets ".png"; a disk without room keeps the old
  // picture and says so.
  const std::string oldBytes = ReadFileBytes(png.toStdString());
  prompts_.saveNames = {QString::fromStdString((scratch_.Path() / "plain").string())};
  Find<QAction>(diagram, "SavePngItem")->trigger();
  EXPECT_FALSE(QImage(QString::fromStdString((scratch_.Path() / "plain.png").string()), "PNG").isNull());
  EXPECT_FALSE(std::filesystem::exists(scratch_.Path() / "plain"));
  prompts_.messages.clear();
  prompts_.saveNames = {png};
  {
    const FileSizeLimit disk(1024);
    Find<QAction>(diagram, "SavePngItem")->trigger();
  }
  EXPECT_EQ(prompts_.Texts(), std::vector<QString>{QStringLiteral("Не удалось записать файл «%1». Прежнее содержимое "
                                                                  "файла не изменено.")
                                                       .arg(png)});
  EXPECT_EQ(ReadFileBytes(png.toStdString()), oldBytes);
  prompts_.messages.clear();

  // A new test empties the window's currents, and the solution goes with them.
  Click("TestBtn");
  EXPECT_FALSE(diagramItem->isEnabled());
  EXPECT_FALSE(diagram.isVisible());
  EXPECT_TRUE(MemoLinesOf(panel).isEmpty());
  EXPECT_EQ(ToolTipOfLine(currents, 0), "");
}

// The node-potential window lists the potentials and may draw them beside
// the currents, in a colour and on a scale of their own.
TEST_F(PhasorWindowsTest, NodePotentialsJoinTheReadoutsAndTheDiagram) {
  Solve(kFiveBranches, "PotentialBtn");  // zero node 3
  NodePotentialWindow& form = Windows().nodePotentialWindow();
  form.show();
  EXPECT_EQ(ToolTipOfLine(Find<QPlainTextEdit>(form, "NdPot"), 0), "u1 = 3.75 ∠ 180°");
  EXPECT_EQ(MemoLinesOf(Find<QPlainTextEdit>(form, "PolarView")).mid(0, 5),
            QStringList({"Узловые потенциалы", "u1 = 3.75 ∠ 180°", "u2 = 2.5 ∠ 0°", "u3 = 0 ∠ 0°", "u4 = 1.25 ∠ 0°"}));

  Find<QAction>(form, "PhasorDiagramItem")->trigger();
  PhasorDiagramWindow& diagram = form.phasorDiagram();
  auto* potentials = Find<QCheckBox>(diagram, "PotentialsBox");
  ASSERT_TRUE(potentials->isVisibleTo(&diagram));
  potentials->setChecked(true);
  const std::vector<PhasorLayer> layers = diagram.Layers();
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_EQ(ArrowLabels(layers[1]), QStringList({"u1", "u2", "u3", "u4"}));
  EXPECT_NE(layers[0].colour, layers[1].colour);
  EXPECT_EQ(layers[1].unit, "В");

  Find<QCheckBox>(diagram, "LogLengthBox")->setChecked(true);
  EXPECT_EQ(diagram.Layers()[0].diagram.length, ArrowLength::Logarithmic);
}

}  // namespace
}  // namespace ohmara::testing
