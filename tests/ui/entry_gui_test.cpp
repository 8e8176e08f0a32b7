// Entering circuits through the windows: the add-branch dialog, branch-table
// files and random circuits, as a student would use them.
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <fstream>
#include <sstream>

#include "generator/random_circuit.h"
#include "support/gui_app_fixture.h"
#include "support/scripted_random.h"
#include "ui/add_branch_dialog.h"
#include "ui/random_settings_dialog.h"

namespace ohmara::testing {
namespace {

class EntryTest : public AppFixture {
 protected:
  AddBranchDialog& AddF() { return Windows().addBranchDialog(); }
  RandomSettingsDialog& Settings() { return Windows().randomSettingsDialog(); }

  // Opens the cell editor and types into it without finishing the edit.
  static void TypeIntoCell(QTableWidget* table, int row, int col, const QString& text) {
    const QModelIndex index = table->model()->index(row, col);
    table->setCurrentIndex(index);
    table->edit(index);
    auto* editor = qobject_cast<QLineEdit*>(table->indexWidget(index));
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
  }

  // The branch rows as the grid shows them, with the count shown beside.
  BranchTable Grid() {
    EXPECT_EQ(BranchGrid()->rowCount(), Main().BranchCount() + 1);
    EXPECT_EQ(Find<QLabel>(Main(), "NumbLb")->text().toInt(), Main().BranchCount());
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
      auto* settings = dynamic_cast<RandomSettingsDialog*>(&dialog);
      if (!settings) return;
      Find<QLineEdit>(*settings, "Edit1")->setText(loops);
      Find<QLineEdit>(*settings, "Edit2")->setText(points);
      Find<QPushButton>(*settings, "BitBtn1")->click();
    };
  }
};

TEST_F(EntryTest, AddDialogLayout) {
  AddBranchDialog& addF = AddF();
  EXPECT_EQ(addF.windowTitle(), "Добавление ветви");
  EXPECT_EQ(addF.size(), QSize(391, 86));
  EXPECT_EQ(Find<QTableWidget>(addF, "AddTb")->geometry(), QRect(0, 0, 394, 54));
  EXPECT_EQ(Find<QTableWidget>(addF, "AddTb")->rowCount(), 2);
  EXPECT_EQ(Find<QTableWidget>(addF, "AddTb")->columnCount(), 6);
  EXPECT_FALSE(Find<QTableWidget>(addF, "AddTb")->horizontalHeader()->isVisibleTo(&addF));
  const QString titles[] = {"Ветвь", "R, Ом", "L, мГн", "C, мкФ", "E, В", "Угол"};
  for (int col = 0; col < 6; ++col) EXPECT_EQ(Find<QTableWidget>(addF, "AddTb")->item(0, col)->text(), titles[col]);
  EXPECT_EQ(Find<QTableWidget>(addF, "AddTb")->currentRow(), 1);
  EXPECT_EQ(Find<QTableWidget>(addF, "AddTb")->currentColumn(), 0);
  EXPECT_EQ(Find<QPushButton>(addF, "BitBtn1")->geometry(), QRect(8, 56, 75, 25));
  EXPECT_EQ(Find<QPushButton>(addF, "BitBtn2")->geometry(), QRect(88, 56, 75, 25));
  EXPECT_EQ(Find<QPushButton>(addF, "BitBtn1")->text(), "OK");
  EXPECT_EQ(Find<QPushButton>(addF, "BitBtn2")->text(), "Cancel");
  EXPECT_TRUE(Find<QPushButton>(addF, "BitBtn1")->isDefault());
  EXPECT_EQ(addF.parent(), nullptr);
}

TEST_F(EntryTest, ProposalsLeaveZerosEmptyAndKeepTheName) {
  AddBranchDialog& addF = AddF();
  Find<QTableWidget>(addF, "AddTb")->item(1, 0)->setText("2->4");
  // E 0; C 15; no L; R 0: a lone capacitor.
  ScriptedRandom capacitor({0, 0, 0, 0, 5, 1, 0, 0, 0, 2, 3, 0});
  addF.ProposeValues(capacitor);
  EXPECT_EQ(addF.Row(), (BranchRow{"2->4", "", "", "15", "", ""}));
  // E 10 at angle 0, then R 10.
  ScriptedRandom source({0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  addF.ProposeValues(source);
  EXPECT_EQ(addF.Row(), (BranchRow{"2->4", "10", "", "", "10", "0"}));

  // Every activation draws afresh from the clock.
  QEvent activate(QEvent::WindowActivate);
  for (int i = 0; i < 20; ++i) {
    Find<QTableWidget>(addF, "AddTb")->item(1, 1)->setText("x");
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
  AddBranchDialog& addF = AddF();
  for (int col = 1; col <= 5; ++col) Find<QTableWidget>(addF, "AddTb")->item(1, col)->setText("");
  Click("BitBtn1");
  QApplication::processEvents();
  ASSERT_TRUE(addF.isVisible());
  EXPECT_TRUE(!addF.Row()[1].empty() || !addF.Row()[3].empty());  // proposed on activation
  EXPECT_FALSE(addF.isModal());

  TypeIntoCell(Find<QTableWidget>(addF, "AddTb"), 1, 0, "2->4");  // still in the editor when OK is pressed
  const BranchRow proposed = addF.Row();
  Find<QPushButton>(addF, "BitBtn1")->click();

  EXPECT_FALSE(addF.isVisible());
  const BranchTable grid = Grid();
  ASSERT_EQ(grid.size(), 4u);
  BranchRow expected = proposed;
  expected[0] = "2->4";
  EXPECT_EQ(grid[3], expected);
  EXPECT_EQ(Main().BranchCount(), 4);
  EXPECT_EQ(Find<QLabel>(Main(), "NumbLb")->text(), "4");
  EXPECT_EQ(BranchGrid()->rowHeight(4), 20);
  EXPECT_TRUE(prompts_.messages.empty());
}

TEST_F(EntryTest, CancelAddsNothing) {
  TypeTable({{"1->2", "10"}});
  Click("BitBtn1");
  TypeIntoCell(Find<QTableWidget>(AddF(), "AddTb"), 1, 0, "2->3");
  Find<QPushButton>(AddF(), "BitBtn2")->click();
  EXPECT_FALSE(AddF().isVisible());
  EXPECT_EQ(Grid(), (BranchTable{{"1->2", "10", "", "", "", ""}}));
}

TEST_F(EntryTest, ElementModeOnlyReportsOk) {
  TypeTable({{"1->2", "10"}});
  prompts_.onModal = [](QDialog& dialog) { Find<QPushButton>(dialog, "BitBtn1")->click(); };
  const std::optional<BranchRow> element = AddF().AskElementValues();
  ASSERT_TRUE(element.has_value());
  EXPECT_EQ(*element, AddF().Row());
  // The earlier OK does not answer the next question.
  prompts_.onModal = [](QDialog& dialog) { Find<QPushButton>(dialog, "BitBtn2")->click(); };
  EXPECT_FALSE(AddF().AskElementValues().has_value());
  EXPECT_EQ(prompts_.modalShown, (std::vector<QString>{"AddF", "AddF"}));
  EXPECT_EQ(Grid(), (BranchTable{{"1->2", "10", "", "", "", ""}}));
}

TEST_F(EntryTest, SaveAndOpenRestoreTheGridExactly) {
  TypeTable({{"1->2", "10.50", "", "", "5", ""}, {"", "0.0", "30", "", "", "45"}, {"3->1", "", "", "7", "", ""}});
  Circuit().NeedsTest = false;
  Find<QFrame>(Main(), "Panel2")->show();
  TypeIntoCell(BranchGrid(), 3, 2, "12");  // typed just before saving

  prompts_.saveNames = {QString::fromStdString(PathText("t.txt"))};
  Trigger("N3");
  EXPECT_EQ(prompts_.lastDirectory, ".");
  EXPECT_EQ(scratch_.Bytes("t.txt"),
            "3\r\n1->2\t10.50\t0\t0\t5\t0\t\r\n0\t0.0\t30\t0\t0\t45\t\r\n3->1\t0\t12\t7\t0\t0\t\r\n");

  Click("BitBtn2");
  Click("BitBtn2");
  prompts_.openNames = {QString::fromStdString(PathText("t.txt"))};
  Trigger("N2");
  EXPECT_EQ(prompts_.lastDirectory, ".");
  EXPECT_EQ(Grid(),
            (BranchTable{
                {"1->2", "10.50", "", "", "5", "0"}, {"0", "", "30", "", "", "45"}, {"3->1", "", "12", "7", "", ""}}));
  EXPECT_EQ(BranchGrid()->rowHeight(2), 20);
  EXPECT_FALSE(Find<QFrame>(Main(), "Panel2")->isVisibleTo(&Main()));
  EXPECT_FALSE(Circuit().NeedsTest);  // the parsed circuit stays until the next test
  EXPECT_TRUE(prompts_.messages.empty());

  // A file of fewer rows shortens the grid.
  WriteFile("one.txt", "1\r\n2->3\t5\t0\t0\t0\t0\t\r\n");
  prompts_.openNames = {QString::fromStdString(PathText("one.txt"))};
  Trigger("N2");
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
      {"1\r\n1->2\t1\t0\t0\t"
       "1234567890123456789012345678901234567890x\t0\t\r\n",
       "E, В"},
  };
  const BranchTable before = {{"1->2", "10", "", "", "", ""}, {"2->1", "", "", "", "", ""}};
  TypeTable(before);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
    WriteFile("bad.txt", c.bytes);
    prompts_.messages.clear();
    prompts_.openNames = {QString::fromStdString(PathText("bad.txt"))};
    Trigger("N2");
    EXPECT_EQ(Grid(), before) << c.bytes;
    ASSERT_EQ(prompts_.messages.size(), 1u) << c.bytes;
    EXPECT_TRUE(prompts_.messages[0].critical);
    EXPECT_TRUE(prompts_.messages[0].text.contains("bad.txt")) << prompts_.messages[0].text.toStdString();
    EXPECT_TRUE(prompts_.messages[0].text.contains(c.expectedInMessage)) << prompts_.messages[0].text.toStdString();
  }
  prompts_.messages.clear();
  prompts_.openNames = {QString::fromStdString(PathText("missing.txt"))};
  Trigger("N2");
  EXPECT_EQ(Grid(), before);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].text.contains("missing.txt"));
}

TEST_F(EntryTest, SavingRefusesWhatTheFileCannotHoldAndReportsFailures) {
  TypeTable({{"1->2", "1 0"}});
  prompts_.saveNames = {QString::fromStdString(PathText("t.txt"))};
  Trigger("N3");
  EXPECT_FALSE(scratch_.Exists("t.txt"));
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].text.contains("R, Ом"));

  // A character Windows-1251 lacks would be stored as '?'.
  TypeTable({{"1->2", "10"}, {"2->1", "10Ω"}});
  prompts_.messages.clear();
  prompts_.saveNames = {QString::fromStdString(PathText("t.txt"))};
  Trigger("N3");
  EXPECT_FALSE(scratch_.Exists("t.txt"));
  EXPECT_EQ(prompts_.Texts(), std::vector<QString>{"Ветвь 2 (2->1), столбец «R, Ом»: знака «Ω» нет в кодировке "
                                                   "Windows-1251, в которой хранится файл. Файл не записан."});

  // Files that may not be replaced are named; the superuser may write a read-only file.
  TypeTable({{"1->2", "10"}});
  std::filesystem::create_directory(scratch_.Path() / "folder");
  WriteFile("locked.txt", "old");
  std::filesystem::permissions(scratch_.Path() / "locked.txt", std::filesystem::perms::owner_read);
  std::vector<QString> expected = {QString::fromStdString("«" + PathText("folder") +
                                                          "» — не файл (например, папка). "
                                                          "Ничего не записано.")};
  prompts_.saveNames = {QString::fromStdString(PathText("folder"))};
  if (::geteuid() != 0) {
    prompts_.saveNames.push_back(QString::fromStdString(PathText("locked.txt")));
    expected.push_back(
        QString::fromStdString("Нет прав на запись файла «" + PathText("locked.txt") + "». Файл не изменён."));
  }
  prompts_.messages.clear();
  for (size_t k = 0; k < expected.size(); ++k) Trigger("N3");
  EXPECT_EQ(prompts_.Texts(), expected);
  EXPECT_EQ(scratch_.Bytes("locked.txt"), "old");

  TypeTable({{"1->2", "10"}});
  prompts_.messages.clear();
  prompts_.saveNames = {QString::fromStdString(PathText("no/such/dir/t.txt"))};
  Trigger("N3");
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].text.contains("t.txt"));

  // Cancelled dialogs do nothing.
  prompts_.messages.clear();
  Trigger("N3");
  Trigger("N2");
  EXPECT_TRUE(prompts_.messages.empty());
  EXPECT_EQ(Grid(), (BranchTable{{"1->2", "10", "", "", "", ""}}));
}

TEST_F(EntryTest, SettingsDialogLayoutAndDefaults) {
  RandomSettingsDialog& form = Settings();
  EXPECT_EQ(form.windowTitle(), "Random settings");
  EXPECT_EQ(form.size(), QSize(243, 125));
  EXPECT_EQ(Find<QLabel>(form, "Label1")->text(), "Мимимальное количество контуров");
  EXPECT_EQ(Find<QLabel>(form, "Label2")->text(), "Требуемое количество точек");
  EXPECT_EQ(Find<QLineEdit>(form, "Edit1")->text(), "4");
  EXPECT_EQ(Find<QLineEdit>(form, "Edit2")->text(), "7");
  EXPECT_EQ(Find<QPushButton>(form, "BitBtn1")->text(), "OK");
  EXPECT_EQ(Find<QPushButton>(form, "BitBtn2")->text(), "Отмена");
  EXPECT_TRUE(Find<QPushButton>(form, "BitBtn1")->isDefault());
  EXPECT_TRUE(Find<QLabel>(form, "Label1")->font().bold());
  EXPECT_TRUE(Find<QLineEdit>(form, "Edit1")->font().bold());
  EXPECT_EQ(Find<QFrame>(form, "Panel1")->geometry(), QRect(8, 8, 225, 81));
  EXPECT_EQ(Find<QLineEdit>(form, "Edit2")->geometry().topLeft(), QPoint(152, 48));
  EXPECT_FALSE(form.Chosen().has_value());
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
  Circuit().NeedsTest = false;
  Find<QComboBox>(Main(), "Dimens")->setCurrentIndex(1);
  for (int points = 4; points <= 19; points += 5) {
    AnswerSettings("3", QString::number(points));
    Click("BitBtn4");
    EXPECT_EQ(Main().RandomCircuitSettings().loops, 3);
    EXPECT_EQ(Main().RandomCircuitSettings().points, points);
    const BranchTable grid = Grid();
    std::vector<CircuitBranch> branches;
    int nodeCount = 0;
    EXPECT_EQ(ParseBranchTable(BranchNames(grid), branches, nodeCount), ParseResult::Ok);
    EXPECT_EQ(nodeCount, points);
    EXPECT_EQ(FileRows(scratch_.Text("Results/randomCir.txt")), grid);
    const int frequency = Find<QLineEdit>(Main(), "Frequence")->text().toInt();
    EXPECT_GE(frequency, 10);
    EXPECT_LE(frequency, 24);
  }
  EXPECT_EQ(Find<QComboBox>(Main(), "Dimens")->currentIndex(), 1);
  EXPECT_FALSE(Circuit().NeedsTest);
  EXPECT_TRUE(prompts_.messages.empty());

  // Generate, save, delete rows, open: the grid is back exactly.
  const BranchTable generated = Grid();
  prompts_.saveNames = {QString::fromStdString(PathText("gen.txt"))};
  Trigger("N3");
  Click("BitBtn2");
  Click("BitBtn2");
  prompts_.openNames = {QString::fromStdString(PathText("gen.txt"))};
  Trigger("N2");
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
    SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
    prompts_.messages.clear();
    AnswerSettings(c.loops, c.points);
    Click("BitBtn4");
    EXPECT_EQ(Grid(), (BranchTable{{"1->2", "10", "", "", "", ""}})) << c.loops << " " << c.points;
    EXPECT_EQ(Find<QLineEdit>(Main(), "Frequence")->text(), "15");
    ASSERT_EQ(prompts_.messages.size(), c.message ? 1u : 0u) << c.loops << " " << c.points;
    if (c.message) {
      EXPECT_TRUE(prompts_.messages[0].text.startsWith(
          QStringLiteral("Из %1 точек не построить цепь, которая пройдёт тест").arg(c.points)));
      EXPECT_TRUE(prompts_.messages[0].text.endsWith("Задайте не меньше 4 точек."));
    }
  }
  EXPECT_FALSE(scratch_.Exists("Results/randomCir.txt"));

  // "Отмена", and the close box after an earlier "OK", generate nothing.
  prompts_.onModal = [](QDialog& dialog) { Find<QPushButton>(dialog, "BitBtn2")->click(); };
  Click("BitBtn4");
  EXPECT_FALSE(Settings().Chosen().has_value());
  Find<QLineEdit>(Settings(), "Edit1")->setText("4");
  Find<QLineEdit>(Settings(), "Edit2")->setText("7");
  Find<QPushButton>(Settings(), "BitBtn1")->click();
  ASSERT_TRUE(Settings().Chosen().has_value());
  prompts_.onModal = [](QDialog& dialog) { dialog.close(); };
  Click("BitBtn4");
  EXPECT_FALSE(Settings().Chosen().has_value());
  EXPECT_EQ(Grid(), (BranchTable{{"1->2", "10", "", "", "", ""}}));
}

TEST_F(EntryTest, SettingsThatAreNotIntegersKeepTheDialogOpen) {
  bool openAfterBadText = false;
  prompts_.onModal = [&](QDialog& dialog) {
    auto& settings = dynamic_cast<RandomSettingsDialog&>(dialog);
    Find<QLineEdit>(settings, "Edit2")->setText("seven");
    Find<QPushButton>(settings, "BitBtn1")->click();
    openAfterBadText = settings.isVisible() && settings.result() == QDialog::Rejected;
    Find<QLineEdit>(settings, "Edit2")->setText("6");
    Find<QPushButton>(settings, "BitBtn1")->click();
  };
  Click("BitBtn4");
  EXPECT_TRUE(openAfterBadText);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].critical);
  EXPECT_EQ(prompts_.messages[0].text, "Количество точек: «seven» — не целое число.");
  EXPECT_EQ(Main().RandomCircuitSettings().points, 6);
  EXPECT_EQ(Main().BranchCount(), BranchGrid()->rowCount() - 1);
  EXPECT_GE(Main().BranchCount(), 6);
}

// Few points are where the loops fold onto each other; every exercise must
// still pass "Тест" as the student will press it.
TEST_F(EntryTest, RepeatedSmallGenerationsFinishAndPassTheTest) {
  for (int i = 0; i < 32; ++i) {
    const int loops = 2 + i % 8, points = 4 + i / 8 % 2;
    SCOPED_TRACE(::testing::Message() << "K " << loops << ", P " << points);
    AnswerSettings(QString::number(loops), QString::number(points));
    Click("BitBtn4");
    Click("TestBtn");
    ASSERT_FALSE(Circuit().NeedsTest);
    ASSERT_TRUE(prompts_.messages.empty());
    ASSERT_EQ(Circuit().NodeCount, points);
  }
}

}  // namespace
}  // namespace ohmara::testing
