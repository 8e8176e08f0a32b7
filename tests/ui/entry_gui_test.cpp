// Entering circuits through the windows: the add-branch dialog, branch-table
// files and random circuits, as a student would use them.
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <fstream>
#include <sstream>

#include "generator/random_circuit.h"
#include "ui/random_settings_dialog.h"
#include "support/gui_app_fixture.h"
#include "support/scripted_random.h"
#include "ui/add_branch_dialog.h"

namespace ohmara::testing {
namespace {

class EntryTest : public AppFixture {
 protected:
  TAddF& AddF() { return *Windows().AddF; }
  TRandSetForm& Settings() { return *Windows().RandSetForm; }

  // Opens the cell editor and types into it without finishing the edit.
  static void TypeIntoCell(QTableWidget* table, int row, int col, const QString& text) {
    const QModelIndex index = table->model()->index(row, col);
    table->setCurrentIndex(index);
    table->edit(index);
    auto* editor = qobject_cast<QLineEdit*>(table->indexWidget(index));
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
  }

  // Rows 1..BranchCount as the grid shows them, with the count kept beside.
  BranchTable Grid() {
    EXPECT_EQ(Main().InitTable->rowCount(), Main().BranchCount + 1);
    EXPECT_EQ(Main().NumbLb->text().toInt(), Main().BranchCount);
    return Main().ReadBranchTable();
  }

  std::string PathText(const std::string& name) const { return (scratch_.Path() / name).string(); }

  void WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(scratch_.Path() / name, std::ios::binary) << bytes;
  }

  // Answers the settings dialog with these texts and presses OK; any other
  // modal window (the test report) is closed as shown.
  void AnswerSettings(const QString& loops, const QString& points) {
    prompts_.onModal = [loops, points](QDialog& dialog) {
      auto* settings = dynamic_cast<TRandSetForm*>(&dialog);
      if (!settings) return;
      settings->Edit1->setText(loops);
      settings->Edit2->setText(points);
      settings->BitBtn1->click();
    };
  }
};

TEST_F(EntryTest, AddDialogLayout) {
  TAddF& addF = AddF();
  EXPECT_EQ(addF.windowTitle(), "Добавление ветви");
  EXPECT_EQ(addF.size(), QSize(391, 86));
  EXPECT_EQ(addF.AddTb->geometry(), QRect(0, 0, 394, 54));
  EXPECT_EQ(addF.AddTb->rowCount(), 2);
  EXPECT_EQ(addF.AddTb->columnCount(), 6);
  EXPECT_FALSE(addF.AddTb->horizontalHeader()->isVisibleTo(&addF));
  const QString titles[] = {"Ветвь", "R, Ом", "L, мГн", "C, мкФ", "E, В", "Угол"};
  for (int col = 0; col < 6; ++col) EXPECT_EQ(addF.AddTb->item(0, col)->text(), titles[col]);
  EXPECT_EQ(addF.AddTb->currentRow(), 1);
  EXPECT_EQ(addF.AddTb->currentColumn(), 0);
  EXPECT_EQ(addF.BitBtn1->geometry(), QRect(8, 56, 75, 25));
  EXPECT_EQ(addF.BitBtn2->geometry(), QRect(88, 56, 75, 25));
  EXPECT_EQ(addF.BitBtn1->text(), "OK");
  EXPECT_EQ(addF.BitBtn2->text(), "Cancel");
  EXPECT_TRUE(addF.BitBtn1->isDefault());
  EXPECT_EQ(addF.parent(), nullptr);
}

TEST_F(EntryTest, ProposalsLeaveZerosEmptyAndKeepTheName) {
  TAddF& addF = AddF();
  addF.AddTb->item(1, 0)->setText("2->4");
  addF.Accepted = 1;
  // E 0; C 15; no L; R 0: a lone capacitor.
  ScriptedRandom capacitor({0, 0, 0, 0, 5, 1, 0, 0, 0, 2, 3, 0});
  addF.ProposeValues(capacitor);
  EXPECT_EQ(addF.Row(), (BranchRow{"2->4", "", "", "15", "", ""}));
  EXPECT_EQ(addF.Accepted, 0);
  // E 10 at angle 0, then R 10.
  ScriptedRandom source({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  addF.ProposeValues(source);
  EXPECT_EQ(addF.Row(), (BranchRow{"2->4", "10", "", "", "10", "0"}));

  // Every activation draws afresh from the clock.
  QEvent activate(QEvent::WindowActivate);
  for (int i = 0; i < 20; ++i) {
    addF.AddTb->item(1, 1)->setText("x");
    QApplication::sendEvent(&addF, &activate);
    const BranchRow row = addF.Row();
    EXPECT_NE(row[1], "x");
    EXPECT_TRUE(!row[1].empty() || !row[3].empty());
    EXPECT_EQ(row[4].empty(), row[5].empty());
    EXPECT_EQ(row[0], "2->4");
  }
}

TEST_F(EntryTest, AddBranchAppendsTheTypedRowOnOk) {
  TypeTable({{"1->2", "10"}, {"2->3", "20"}, {"3->1", "30"}});
  TAddF& addF = AddF();
  for (int col = 1; col <= 5; ++col) addF.AddTb->item(1, col)->setText("");
  Main().BitBtn1->click();
  QApplication::processEvents();
  ASSERT_TRUE(addF.isVisible());
  EXPECT_TRUE(!addF.Row()[1].empty() || !addF.Row()[3].empty());  // proposed on activation
  EXPECT_EQ(addF.EditorMode, 0);
  EXPECT_FALSE(addF.isModal());

  TypeIntoCell(addF.AddTb, 1, 0, "2->4");  // still in the editor when OK is pressed
  const BranchRow proposed = addF.Row();
  addF.BitBtn1->click();

  EXPECT_FALSE(addF.isVisible());
  const BranchTable grid = Grid();
  ASSERT_EQ(grid.size(), 4u);
  BranchRow expected = proposed;
  expected[0] = "2->4";
  EXPECT_EQ(grid[3], expected);
  EXPECT_EQ(Main().BranchCount, 4);
  EXPECT_EQ(Main().NumbLb->text(), "4");
  EXPECT_EQ(Main().InitTable->rowHeight(4), 20);
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(EntryTest, CancelAddsNothing) {
  TypeTable({{"1->2", "10"}});
  Main().BitBtn1->click();
  TypeIntoCell(AddF().AddTb, 1, 0, "2->3");
  AddF().BitBtn2->click();
  EXPECT_FALSE(AddF().isVisible());
  EXPECT_EQ(Grid(), (BranchTable{{"1->2", "10", "", "", "", ""}}));
}

TEST_F(EntryTest, ElementModeOnlyReportsOk) {
  TypeTable({{"1->2", "10"}});
  prompts_.onModal = [](QDialog& dialog) { dynamic_cast<TAddF&>(dialog).BitBtn1->click(); };
  EXPECT_TRUE(AddF().AskElementValues());
  EXPECT_EQ(AddF().Accepted, 1);
  prompts_.onModal = [](QDialog& dialog) { dynamic_cast<TAddF&>(dialog).BitBtn2->click(); };
  AddF().Accepted = 0;
  EXPECT_FALSE(AddF().AskElementValues());
  EXPECT_EQ(prompts_.modalShown, (std::vector<QString>{"AddF", "AddF"}));
  EXPECT_EQ(Grid(), (BranchTable{{"1->2", "10", "", "", "", ""}}));
}

TEST_F(EntryTest, SaveAndOpenRestoreTheGridExactly) {
  TypeTable({{"1->2", "10.50", "", "", "5", ""}, {"", "0.0", "30", "", "", "45"}, {"3->1", "", "", "7", "", ""}});
  Main().circuit().NeedsTest = false;
  Main().Panel2->show();
  TypeIntoCell(Main().InitTable, 3, 2, "12");  // typed just before saving

  prompts_.saveNames = {QString::fromStdString(PathText("t.txt"))};
  Main().N3->trigger();
  EXPECT_EQ(prompts_.lastDirectory, ".");
  EXPECT_EQ(scratch_.Bytes("t.txt"),
            "3\r\n1->2\t10.50\t0\t0\t5\t0\t\r\n0\t0.0\t30\t0\t0\t45\t\r\n3->1\t0\t12\t7\t0\t0\t\r\n");

  Main().BitBtn2->click();
  Main().BitBtn2->click();
  prompts_.openNames = {QString::fromStdString(PathText("t.txt"))};
  Main().N2->trigger();
  EXPECT_EQ(prompts_.lastDirectory, ".");
  EXPECT_EQ(Grid(), (BranchTable{{"1->2", "10.50", "", "", "5", "0"},
                                 {"0", "", "30", "", "", "45"},
                                 {"3->1", "", "12", "7", "", ""}}));
  EXPECT_EQ(Main().InitTable->rowHeight(2), 20);
  EXPECT_FALSE(Main().Panel2->isVisibleTo(&Main()));
  EXPECT_FALSE(Main().circuit().NeedsTest);  // the parsed circuit stays until the next test
  EXPECT_TRUE(prompts_.messages.empty());

  // A file of fewer rows shortens the grid.
  WriteFile("one.txt", "1\r\n2->3\t5\t0\t0\t0\t0\t\r\n");
  prompts_.openNames = {QString::fromStdString(PathText("one.txt"))};
  Main().N2->trigger();
  EXPECT_EQ(Grid(), (BranchTable{{"2->3", "5", "", "", "", ""}}));
}

TEST_F(EntryTest, BadFilesChangeNothingAndNameTheirLine) {
  struct Case {
    const char* bytes;
    const char* expectedInMessage;
  };
  const Case cases[] = {
      {"two\r\n", "строка 1"},
      {"", "пуст"},
      {"2\r\n1->2\t10\t0\t0\t5\t0\t\r\n", "строке 2"},
      {"2\r\n1->2\t10\t0\t0\t5\t0\t\r\n2->3\t0\tabc\t0\t0\t0\t\r\n", "строка 3"},
      {"1\r\n1->2\t1\t0\t0\t" "1234567890123456789012345678901234567890x\t0\t\r\n", "E, В"},
  };
  const BranchTable before = {{"1->2", "10", "", "", "", ""}, {"2->1", "", "", "", "", ""}};
  TypeTable(before);
  for (const Case& c : cases) {
    WriteFile("bad.txt", c.bytes);
    prompts_.messages.clear();
    prompts_.openNames = {QString::fromStdString(PathText("bad.txt"))};
    Main().N2->trigger();
    EXPECT_EQ(Grid(), before) << c.bytes;
    ASSERT_EQ(prompts_.messages.size(), 1u) << c.bytes;
    EXPECT_TRUE(prompts_.messages[0].critical);
    EXPECT_TRUE(prompts_.messages[0].text.contains("bad.txt")) << prompts_.messages[0].text.toStdString();
    EXPECT_TRUE(prompts_.messages[0].text.contains(c.expectedInMessage)) << prompts_.messages[0].text.toStdString();
  }
  prompts_.messages.clear();
  prompts_.openNames = {QString::fromStdString(PathText("missing.txt"))};
  Main().N2->trigger();
  EXPECT_EQ(Grid(), before);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].text.contains("missing.txt"));
}

TEST_F(EntryTest, SavingRefusesWhatTheFileCannotHoldAndReportsFailures) {
  TypeTable({{"1->2", "1 0"}});
  prompts_.saveNames = {QString::fromStdString(PathText("t.txt"))};
  Main().N3->trigger();
  EXPECT_FALSE(scratch_.Exists("t.txt"));
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].text.contains("R, Ом"));

  TypeTable({{"1->2", "10"}});
  prompts_.messages.clear();
  prompts_.saveNames = {QString::fromStdString(PathText("no/such/dir/t.txt"))};
  Main().N3->trigger();
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].text.contains("t.txt"));

  // Cancelled dialogs do nothing.
  prompts_.messages.clear();
  Main().N3->trigger();
  Main().N2->trigger();
  EXPECT_TRUE(prompts_.messages.empty());
  EXPECT_EQ(Grid(), (BranchTable{{"1->2", "10", "", "", "", ""}}));
}

TEST_F(EntryTest, SettingsDialogLayoutAndDefaults) {
  TRandSetForm& form = Settings();
  EXPECT_EQ(form.windowTitle(), "Random settings");
  EXPECT_EQ(form.size(), QSize(243, 125));
  EXPECT_EQ(form.Label1->text(), "Мимимальное количество контуров");
  EXPECT_EQ(form.Label2->text(), "Требуемое количество точек");
  EXPECT_EQ(form.Edit1->text(), "4");
  EXPECT_EQ(form.Edit2->text(), "7");
  EXPECT_EQ(form.BitBtn1->text(), "OK");
  EXPECT_EQ(form.BitBtn2->text(), "Отмена");
  EXPECT_TRUE(form.BitBtn1->isDefault());
  EXPECT_TRUE(form.Label1->font().bold());
  EXPECT_TRUE(form.Edit1->font().bold());
  EXPECT_EQ(form.Panel1->geometry(), QRect(8, 8, 225, 81));
  EXPECT_EQ(form.Edit2->geometry().topLeft(), QPoint(152, 48));
  EXPECT_EQ(form.Accepted, 0);
}

// The "Ветви:" lines of randomCir.txt as grid rows.
BranchTable FileRows(const std::string& text) {
  BranchTable rows;
  std::istringstream in(text.substr(text.find("Ветви:\n") + std::string("Ветви:\n").size()));
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    BranchRow row;
    int values[5] = {};
    fields >> row[0] >> values[0] >> values[1] >> values[2] >> values[3] >> values[4];
    for (int col = 1; col <= 4; ++col) row[col] = values[col - 1] ? std::to_string(values[col - 1]) : "";
    row[5] = values[3] ? std::to_string(values[4]) : "";
    rows.push_back(row);
  }
  return rows;
}

TEST_F(EntryTest, GenerationFillsTheGridAndAgreesWithItsFile) {
  Main().circuit().NeedsTest = false;
  Main().Dimens->setCurrentIndex(1);
  for (int points = 4; points <= 19; points += 5) {
    AnswerSettings("3", QString::number(points));
    Main().BitBtn4->click();
    EXPECT_EQ(Main().RandLoops, 3);
    EXPECT_EQ(Main().RandPoints, points);
    const BranchTable grid = Grid();
    std::vector<TBranch> branches;
    int nodeCount = 0;
    EXPECT_EQ(ParseBranchTable(BranchNames(grid), branches, nodeCount), kParseOk);
    EXPECT_EQ(nodeCount, points);
    EXPECT_EQ(FileRows(scratch_.Text("Results/randomCir.txt")), grid);
    const int frequency = Main().Frequence->text().toInt();
    EXPECT_GE(frequency, 10);
    EXPECT_LE(frequency, 24);
  }
  EXPECT_EQ(Main().Dimens->currentIndex(), 1);
  EXPECT_FALSE(Main().circuit().NeedsTest);
  EXPECT_TRUE(prompts_.messages.empty());

  // Generate, save, delete rows, open: the grid is back exactly.
  const BranchTable generated = Grid();
  prompts_.saveNames = {QString::fromStdString(PathText("gen.txt"))};
  Main().N3->trigger();
  Main().BitBtn2->click();
  Main().BitBtn2->click();
  prompts_.openNames = {QString::fromStdString(PathText("gen.txt"))};
  Main().N2->trigger();
  EXPECT_EQ(Grid(), generated);
}

TEST_F(EntryTest, RefusedSettingsChangeNothing) {
  TypeTable({{"1->2", "10"}});
  struct Case {
    const char* loops;
    const char* points;
    bool message;
  };
  // Two and three points pass the dialog's ranges, but no circuit over them
  // passes the test: the student is told why instead of getting one.
  const Case cases[] = {{"1", "7", false}, {"10", "7", false}, {"4", "20", false}, {"4", "1", false},
                        {"4", "2", true},  {"4", "3", true},   {"9", "3", true}};
  for (const Case& c : cases) {
    prompts_.messages.clear();
    AnswerSettings(c.loops, c.points);
    Main().BitBtn4->click();
    EXPECT_EQ(Grid(), (BranchTable{{"1->2", "10", "", "", "", ""}})) << c.loops << " " << c.points;
    EXPECT_EQ(Main().Frequence->text(), "15");
    ASSERT_EQ(prompts_.messages.size(), c.message ? 1u : 0u) << c.loops << " " << c.points;
    if (c.message) {
      EXPECT_TRUE(prompts_.messages[0].text.startsWith(QStringLiteral("Из %1 точек не построить цепь, которая пройдёт тест")
                                                         .arg(c.points)));
      EXPECT_TRUE(prompts_.messages[0].text.endsWith("Задайте не меньше 4 точек."));
    }
  }
  EXPECT_FALSE(scratch_.Exists("Results/randomCir.txt"));

  // "Отмена", and the close box after an earlier "OK", generate nothing.
  prompts_.onModal = [](QDialog& dialog) { dynamic_cast<TRandSetForm&>(dialog).BitBtn2->click(); };
  Main().BitBtn4->click();
  EXPECT_EQ(Settings().Accepted, 0);
  Settings().Accepted = 1;
  Main().RandPoints = 7;
  prompts_.onModal = [](QDialog& dialog) { dialog.close(); };
  Main().BitBtn4->click();
  EXPECT_EQ(Settings().Accepted, 0);
  EXPECT_EQ(Grid(), (BranchTable{{"1->2", "10", "", "", "", ""}}));
}

TEST_F(EntryTest, SettingsThatAreNotIntegersKeepTheDialogOpen) {
  bool openAfterBadText = false;
  prompts_.onModal = [&](QDialog& dialog) {
    auto& settings = dynamic_cast<TRandSetForm&>(dialog);
    settings.Edit2->setText("seven");
    settings.BitBtn1->click();
    openAfterBadText = settings.isVisible() && settings.result() == QDialog::Rejected;
    settings.Edit2->setText("6");
    settings.BitBtn1->click();
  };
  Main().BitBtn4->click();
  EXPECT_TRUE(openAfterBadText);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].critical);
  EXPECT_TRUE(prompts_.messages[0].text.contains("seven"));
  EXPECT_EQ(Main().RandPoints, 6);
  EXPECT_EQ(Main().BranchCount, Main().InitTable->rowCount() - 1);
  EXPECT_GE(Main().BranchCount, 6);
}

// Few points are where the loops fold onto each other; every exercise must
// still pass "Тест" as the student will press it.
TEST_F(EntryTest, RepeatedSmallGenerationsFinishAndPassTheTest) {
  for (int i = 0; i < 32; ++i) {
    const int loops = 2 + i % 8, points = 4 + i / 8 % 2;
    SCOPED_TRACE(::testing::Message() << "K " << loops << ", P " << points);
    AnswerSettings(QString::number(loops), QString::number(points));
    Main().BitBtn4->click();
    Main().TestBtn->click();
    ASSERT_FALSE(Main().circuit().NeedsTest);
    ASSERT_TRUE(prompts_.messages.empty());
    ASSERT_EQ(Main().circuit().NodeCount, points);
  }
}

}  // namespace
}  // namespace ohmara::testing
