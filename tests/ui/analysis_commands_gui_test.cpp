#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>

#include "support/gui_app_fixture.h"
#include "ui/check_report_dialog.h"
#include "ui/mesh_current_window.h"
#include "ui/node_potential_window.h"
#include "ui/widget_views.h"

namespace ohmara::testing {
namespace {

// The node-potential example: 1->2 with 10 V, 1->3 of 2 ohms.
const BranchTable kFourNodes = {
    {"1->2", "1", "", "", "10", "0"}, {"2->3", "1"}, {"3->4", "1"}, {"4->1", "1"}, {"1->3", "2"}};

class AnalysisCommandsTest : public AppFixture {
 protected:
  // Runs "Тест" on `table` and returns the statuses the report shows.
  QStringList Test(const BranchTable& table) {
    TypeTable(table);
    prompts_.modalShown.clear();
    Click("TestBtn");
    EXPECT_EQ(prompts_.modalShown, std::vector<QString>{"ResTest"});
    QStringList statuses;
    for (int row = 1; row < Windows().checkReport().VisibleRows(); ++row)
      statuses << Windows().checkReport().Status(row);
    return statuses;
  }
};

TEST_F(AnalysisCommandsTest, ReportShowsOneRowPerCheckReached) {
  struct Case {
    BranchTable table;
    QStringList statuses;
    bool notClosedMessage;
  };
  const Case cases[] = {
      {{{"1-2", "1"}, {"2->3", "1"}, {"3->1", "1"}}, {"Нет"}, false},
      {{{"1->2", "1"}, {"2->3", "1"}, {"3->1", "1"}, {"4->5", "1"}, {"5->6", "1"}, {"6->4", "1"}},
       {"Да", "Нет"},
       false},
      {{{"1->2", "1"}, {"2->3", "1"}, {"3->1", "1"}, {"3->4", "1"}}, {"Да", "Да", "Нет"}, true},
      {{{"1->2", "1"}, {"2->3", "1"}, {"3->1", "1"}}, {"Да", "Да", "Нет"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
    prompts_.messages.clear();
    EXPECT_EQ(Test(c.table), c.statuses);
    EXPECT_EQ(prompts_.Texts() == std::vector<QString>{"Я вам сочувствую - цепь не замкнута :("}, c.notClosedMessage);
    EXPECT_TRUE(Circuit().NeedsTest);
    EXPECT_FALSE(Find<QFrame>(Main(), "Panel2")->isVisibleTo(&Main()));
  }
}

TEST_F(AnalysisCommandsTest, PassedTestShowsCountsAndALaterFailureKeepsThem) {
  EXPECT_EQ(Test({{"1->2", "1"}, {"2->3", "1"}, {"3->1", "1"}, {"3->4", "1"}, {"4->1", "1"}}),
            QStringList({"Да", "Да", "Да"}));
  EXPECT_FALSE(Circuit().NeedsTest);
  EXPECT_TRUE(Find<QFrame>(Main(), "Panel2")->isVisibleTo(&Main()));
  EXPECT_EQ(Find<QLineEdit>(Main(), "EdM")->text(), "3");
  EXPECT_EQ(Find<QLineEdit>(Main(), "EdN")->text(), "2");
  EXPECT_TRUE(prompts_.messages.empty());

  EXPECT_EQ(Test({{"1->2x", "1"}}), QStringList({"Нет"}));
  EXPECT_TRUE(Circuit().NeedsTest);
  EXPECT_TRUE(Find<QFrame>(Main(), "Panel2")->isVisibleTo(&Main()));
  EXPECT_EQ(Find<QLineEdit>(Main(), "EdM")->text(), "3");
  EXPECT_TRUE(ResultsFile("out.txt").empty());
}

TEST_F(AnalysisCommandsTest, BadNumberStopsTheTestWithTheConversionError) {
  TypeTable({{"1->2", "1,5x"}, {"2->3", "1"}, {"3->1", "1"}, {"2->4", "1"}, {"4->3", "1"}});
  Click("TestBtn");
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].critical);
  EXPECT_EQ(prompts_.messages[0].text, "Ветвь 1 (1->2), столбец «R, Ом»: «1,5x» — не число.");
  EXPECT_TRUE(prompts_.modalShown.empty());
  EXPECT_TRUE(Circuit().NeedsTest);
}

TEST_F(AnalysisCommandsTest, MeshCurrentsAfterATest) {
  Test(kFiveBranches);
  MeshCurrentWindow& form = Windows().meshCurrentWindow();
  EXPECT_EQ(MemoLinesOf(Find<QPlainTextEdit>(form, "Conts")),
            QStringList({"1)   2->3  3->1  1->2  ", "2)   4->3  3->2  2->4  "}));
  prompts_.messages.clear();
  Click("ContBtn");
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text, "Вычисления прошли успешно.");
  EXPECT_EQ(prompts_.messages[0].topLeft, Main().pos() + QPoint(200, 200));
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(MemoLinesOf(Find<QPlainTextEdit>(form, "ContCurr")), QStringList({"I11 =  3.75", "I22 =  1.25"}));
  EXPECT_EQ(MemoLinesOf(Find<QPlainTextEdit>(form, "CurMemo")),
            QStringList({"I12 =  3.75", "I23 =  2.5", "I31 =  3.75", "I24 =  1.25", "I43 =  1.25"}));
  EXPECT_EQ(MemoLinesOf(Find<QPlainTextEdit>(form, "PowerMemo")),
            QStringList({"Мощность источников = 37.5", "Потребляемая мощность = 37.5"}));
  EXPECT_EQ(Find<QTableWidget>(form, "RGrid")->item(0, 0)->text(), " 3");
  EXPECT_EQ(Find<QTableWidget>(form, "RGrid")->item(0, 1)->text(), "-1");
  EXPECT_EQ(Find<QTableWidget>(form, "EGrid")->item(0, 0)->text(), "10");
}

TEST_F(AnalysisCommandsTest, MethodsBeforeATestAskForOneAndComputeNothing) {
  TypeTable(kFiveBranches);
  Find<QLineEdit>(Main(), "U0Ed")->setText("1");
  for (const char* method : {"ContBtn", "PotentialBtn", "BitBtn3"}) Click(method);
  EXPECT_EQ(prompts_.Texts(), std::vector<QString>(3, "Сначала проверьте цепь: нажмите «Тест»."));
  EXPECT_FALSE(Windows().meshCurrentWindow().isVisible());
  EXPECT_FALSE(Windows().nodePotentialWindow().isVisible());
  EXPECT_TRUE(ResultsFile("out.txt").empty());
}

// Once the table changes, what the windows show is an older circuit's: they
// say so, and no method computes until the table is tested again. The zero
// node is the node methods' alone.
TEST_F(AnalysisCommandsTest, ChangeAfterSolvingMarksTheWindowsAndStopsTheMethods) {
  const QString stale = " — таблица изменена после проверки";
  auto titles = [this] {
    return QStringList{Windows().meshCurrentWindow().windowTitle(), Windows().nodePotentialWindow().windowTitle()};
  };
  Test(kFiveBranches);
  for (const char* method : {"ContBtn", "PotentialBtn"}) Click(method);
  EXPECT_EQ(titles(), QStringList({"Метод контурных токов", "Метод узловых потенциалов"}));
  const std::string out = ResultsFile("out.txt");
  const QStringList currents = MemoLinesOf(Find<QPlainTextEdit>(Windows().meshCurrentWindow(), "CurMemo"));

  BranchGrid()->item(2, 1)->setText("5");
  EXPECT_EQ(titles(), QStringList({"Метод контурных токов" + stale, "Метод узловых потенциалов" + stale}));
  prompts_.messages.clear();
  for (const char* method : {"ContBtn", "PotentialBtn", "BitBtn3"}) Click(method);
  EXPECT_EQ(prompts_.Texts(), std::vector<QString>(3, "Таблица изменилась после проверки. Нажмите «Тест»."));
  EXPECT_EQ(ResultsFile("out.txt"), out);
  EXPECT_EQ(MemoLinesOf(Find<QPlainTextEdit>(Windows().meshCurrentWindow(), "CurMemo")), currents);

  // Typed back as it was tested: the windows are current again.
  BranchGrid()->item(2, 1)->setText("1");
  EXPECT_EQ(titles(), QStringList({"Метод контурных токов", "Метод узловых потенциалов"}));

  Find<QLineEdit>(Main(), "U0Ed")->setText("2");
  EXPECT_EQ(titles(), QStringList({"Метод контурных токов", "Метод узловых потенциалов" + stale}));
  Click("PotentialBtn");
  EXPECT_EQ(titles(), QStringList({"Метод контурных токов", "Метод узловых потенциалов"}));

  // A new test replaces the circuit the node window solved.
  Find<QComboBox>(Main(), "Dimens")->setCurrentIndex(1);
  EXPECT_EQ(titles(), QStringList({"Метод контурных токов" + stale, "Метод узловых потенциалов" + stale}));
  Test(kFiveBranches);
  EXPECT_EQ(titles(), QStringList({"Метод контурных токов", "Метод узловых потенциалов" + stale}));
}

// A refused "Тест" names the branch at fault, shows no report, and no method
// then claims success.
TEST_F(AnalysisCommandsTest, RefusedTestNamesTheBranchAndNothingPassesAsSuccess) {
  struct Case {
    BranchTable table;
    const char* message;
  };
  const Case cases[] = {
      {{{"1->2", "1", "", "", "10", "0"}, {"2->3", "1"}, {"3->1", "1"}, {"2->4", "1", "", "1e-305"}, {"4->3", "1"}},
       "Сопротивление ветви 2->4 бесконечно: ёмкость 1e-305 мкФ слишком мала для частоты 50 Гц."},
      {{{"1->2", "1", "", "", "10", "0"}, {"2->3", "1"}, {"3->1", "1,2x"}, {"2->4", "1"}, {"4->3", "1"}},
       "Ветвь 3 (3->1), столбец «R, Ом»: «1,2x» — не число."},
  };
  Find<QLineEdit>(Main(), "Frequence")->setText("50");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Test(kFiveBranches);  // a passed test before, so a refusal must undo it
    TypeTable(c.table);
    prompts_.messages.clear();
    prompts_.modalShown.clear();
    Click("TestBtn");
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_TRUE(prompts_.messages[0].critical);
    EXPECT_EQ(prompts_.messages[0].text, c.message);
    EXPECT_TRUE(prompts_.modalShown.empty());
    prompts_.messages.clear();
    for (const char* method : {"ContBtn", "PotentialBtn", "BitBtn3"}) Click(method);
    EXPECT_EQ(prompts_.Texts(), std::vector<QString>(3, "Сначала проверьте цепь: нажмите «Тест»."));
  }
}

// The table keeps its place and size; the line under it names the first
// fault, and the dialog grows by the line.
TEST_F(AnalysisCommandsTest, ReportNamesTheFirstFaultUnderItsTable) {
  const CheckReportDialog& report = Windows().checkReport();
  const QTableWidget& table = *Find<QTableWidget>(report, "TestTable");
  Test(kFiveBranches);
  EXPECT_EQ(report.FaultLine(), "");
  const QRect tableBounds = table.geometry();
  const int plainHeight = report.height();

  EXPECT_EQ(Test({{"1->2", "1"}, {"2->3", "1"}, {"1-2", "1"}}), QStringList({"Нет"}));
  EXPECT_EQ(report.FaultLine(),
            "Ветвь 3: имя «1-2» написано неверно — нужно «a->b», где a и b — номера узлов от 1 до 255.");
  EXPECT_EQ(table.geometry(), tableBounds);
  EXPECT_GT(report.height(), plainHeight);
  const QRect line = Find<QLabel>(report, "FaultLine")->geometry();
  EXPECT_GE(line.top(), tableBounds.bottom());
  EXPECT_LE(Find<QPushButton>(report, "BitBtn1")->geometry().bottom(), report.height());
  EXPECT_GE(Find<QPushButton>(report, "BitBtn1")->geometry().top(), line.bottom());

  Test(kFiveBranches);
  EXPECT_EQ(report.FaultLine(), "");
  EXPECT_EQ(report.height(), plainHeight);
}

TEST_F(AnalysisCommandsTest, ZeroImpedanceLoopGivesAClearErrorAndTheProgramGoesOn) {
  Test({{"1->2", "", "", "", "10", "0"}, {"2->3"}, {"3->1"}, {"2->4", "1"}, {"4->3", "1"}});
  prompts_.messages.clear();
  Click("ContBtn");
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].critical);
  EXPECT_TRUE(prompts_.messages[0].text.startsWith("Система уравнений вырождена"))
      << prompts_.messages[0].text.toStdString();
  EXPECT_FALSE(Windows().meshCurrentWindow().isVisible());
  EXPECT_TRUE(MemoLinesOf(Find<QPlainTextEdit>(Windows().meshCurrentWindow(), "CurMemo")).isEmpty());
}

TEST_F(AnalysisCommandsTest, NodePotentialsBasicAndOptimal) {
  Test(kFourNodes);
  NodePotentialWindow& form = Windows().nodePotentialWindow();
  prompts_.messages.clear();
  Click("PotentialBtn");  // zero node 3, the default
  EXPECT_EQ(prompts_.Texts(), std::vector<QString>{"Вычисления прошли успешно."});
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(MemoLinesOf(Find<QPlainTextEdit>(form, "NdPot")),
            QStringList({"u1 = -3.3333", "u2 =  3.3333", "u3 =  0", "u4 = -1.6667"}));
  Click("BitBtn3");
  EXPECT_EQ(MemoLinesOf(Find<QPlainTextEdit>(form, "NdPot")), QStringList({"u1 = -3.3333", "u3 =  0"}));

  prompts_.messages.clear();
  Find<QLineEdit>(Main(), "U0Ed")->setText("2");
  Click("BitBtn3");
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_EQ(prompts_.messages[0].text, "Точка с нулевым потенциалом - не узел");
  EXPECT_EQ(prompts_.messages[0].topLeft, Main().pos() + QPoint(200, 200));
  EXPECT_EQ(MemoLinesOf(Find<QPlainTextEdit>(form, "NdPot")), QStringList({"u1 = -3.3333", "u3 =  0"}));

  prompts_.messages.clear();
  for (const char* outside : {"0", "5"}) {
    Find<QLineEdit>(Main(), "U0Ed")->setText(outside);
    Click("PotentialBtn");
    Click("BitBtn3");
  }
  EXPECT_TRUE(prompts_.messages.empty());
}

// The highest node is a node like any other for both buttons: each solves
// with it at zero potential.
TEST_F(AnalysisCommandsTest, ZeroNodeEqualToTheNodeCountIsInRange) {
  Test({{"1->2", "1", "", "", "10", "0"}, {"2->3", "1"}, {"3->4", "1"}, {"4->1", "1"}, {"2->4", "2"}});
  Find<QLineEdit>(Main(), "U0Ed")->setText("4");
  for (const char* button : {"PotentialBtn", "BitBtn3"}) {
    SCOPED_TRACE(button);
    prompts_.messages.clear();
    Click(button);
    EXPECT_EQ(prompts_.Texts(), std::vector<QString>{"Вычисления прошли успешно."});
    EXPECT_TRUE(MemoLinesOf(Find<QPlainTextEdit>(Windows().nodePotentialWindow(), "NdPot")).contains("u4 =  0"));
  }
}

TEST_F(AnalysisCommandsTest, ResultWindowPrintsItsPictureToAPdf) {
  Test(kFiveBranches);
  Click("ContBtn");
  const auto pdf = scratch_.Path() / "mesh.pdf";
  prompts_.onPrinter = [&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    return true;
  };
  Windows().meshCurrentWindow().PrintPicture();
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
  prompts_.onPrinter = [](QPrinter&) { return false; };  // cancelled: nothing printed
  std::filesystem::remove(pdf);
  Windows().nodePotentialWindow().PrintPicture();
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

}  // namespace
}  // namespace ohmara::testing
