#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <fstream>

#include "support/gui_app_fixture.h"
#include "analysis/node_potential_window.h"
#include "ui/about_dialog.h"

namespace ohmara::testing {
namespace {

using MainWindowTest = AppFixture;

TEST_F(MainWindowTest, StartsWithTitlesOnlyAndTheDefaults) {
  TRGZForm& main = Main();
  EXPECT_EQ(main.windowTitle(), "Ohmara");
  EXPECT_EQ(main.centralWidget()->size(), QSize(673, 543));
  EXPECT_EQ(main.InitTable->rowCount(), 1);
  EXPECT_EQ(main.InitTable->columnCount(), 6);
  const QString titles[] = {"Ветвь", "R, Ом", "L, мГн", "C, мкФ", "E, В", "Угол"};
  for (int col = 0; col < 6; ++col) EXPECT_EQ(Cell(0, col), titles[col]);
  EXPECT_EQ(main.NumbLb->text(), "0");
  EXPECT_EQ(main.BranchCount, 0);
  EXPECT_FALSE(main.Panel2->isVisibleTo(&main));
  EXPECT_TRUE(main.circuit().NeedsTest);
  EXPECT_EQ(main.Frequence->text(), "15");
  EXPECT_EQ(main.Dimens->currentText(), "Гц");
  EXPECT_EQ(main.Dimens->count(), 3);
  EXPECT_EQ(main.U0Ed->text(), "3");
  EXPECT_TRUE(std::filesystem::is_directory(scratch_.Path() / "Results"));
}

TEST_F(MainWindowTest, ControlsStandWhereTheyBelong) {
  struct Place {
    const char* name;
    QRect bounds;
    const char* text;
  };
  const Place places[] = {
      {"InitTable", {8, 24, 417, 305}, nullptr},
      {"BitBtn1", {432, 24, 121, 25}, "Добавить ветвь"},
      {"BitBtn2", {432, 48, 121, 25}, "Удалить ветвь"},
      {"Panel1", {432, 96, 177, 25}, nullptr},
      {"Panel2", {432, 192, 233, 89}, nullptr},
      {"TestBtn", {40, 344, 273, 25}, "Тест"},
      {"ContBtn", {40, 384, 273, 25}, "Метод контурных токов"},
      {"PotentialBtn", {40, 408, 273, 25}, "Метод узловых потенциалов"},
      {"BitBtn3", {40, 432, 273, 25}, "Метод узловых потенциалов оптимальный"},
      {"BitBtn4", {40, 472, 273, 25}, "Создание произвольной цепи"},
      {"Button2", {40, 504, 273, 25}, "Редактор"},
      {"Image1", {368, 352, 289, 185}, nullptr},
  };
  for (const Place& place : places) {
    auto* widget = Main().findChild<QWidget*>(place.name);
    ASSERT_NE(widget, nullptr) << place.name;
    EXPECT_EQ(widget->geometry(), place.bounds) << place.name;
    if (place.text) EXPECT_EQ(qobject_cast<QPushButton*>(widget)->text(), place.text);
  }
  QStringList menus;
  for (QAction* action : Main().menuBar()->actions()) menus << action->text();
  EXPECT_EQ(menus, QStringList({"Файл", "Справка"}));
  EXPECT_EQ(Main().N2->text(), "Открыть");
  EXPECT_EQ(Main().N3->text(), "Сохранить");
  EXPECT_EQ(Main().N4->text(), "Печать");
  EXPECT_EQ(Main().N7->text(), "Выход");
  EXPECT_EQ(Main().N6->text(), "О программе");
}

TEST_F(MainWindowTest, DeleteBranchRemovesTheLastRowWhateverIsSelected) {
  TypeTable({{"1->2"}, {"2->3"}, {"3->1"}});
  Main().InitTable->setCurrentCell(1, 0);
  Main().BitBtn2->click();
  EXPECT_EQ(Main().InitTable->rowCount(), 3);
  EXPECT_EQ(Cell(1, 0), "1->2");
  EXPECT_EQ(Cell(2, 0), "2->3");
  EXPECT_EQ(Main().NumbLb->text(), "2");
  EXPECT_EQ(Main().BranchCount, 2);
  Main().BitBtn2->click();
  Main().BitBtn2->click();
  Main().BitBtn2->click();  // nothing left to delete
  EXPECT_EQ(Main().InitTable->rowCount(), 1);
  EXPECT_EQ(Main().NumbLb->text(), "0");
  EXPECT_EQ(Cell(0, 0), "Ветвь");
}

TEST_F(MainWindowTest, ZeroNodeThatIsNotANumberShowsTheConversionError) {
  Main().U0Ed->setText("abc");
  Main().PotentialBtn->click();
  Main().BitBtn3->click();
  ASSERT_EQ(prompts_.messages.size(), 2u);
  EXPECT_TRUE(prompts_.messages[0].critical);
  EXPECT_EQ(prompts_.messages[0].text, "«abc» — не целое число.");
  EXPECT_FALSE(Windows().PotForm->isVisible());
}

TEST_F(MainWindowTest, AboutOpensModallyWithItsCredit) {
  Main().N6->trigger();
  ASSERT_EQ(prompts_.modalShown, std::vector<QString>{"AboutPrForm"});
  EXPECT_EQ(Windows().AboutPrForm->windowTitle(), "О программе");
  EXPECT_EQ(Windows().AboutPrForm->Credit->text(), "Ohmara");
  EXPECT_FALSE(Windows().AboutPrForm->Year->text().isEmpty());
}

TEST_F(MainWindowTest, AnUnwritableResultsDirectoryIsReportedOnceAndTheCommandGoesOn) {
  app_.reset();
  std::ofstream(scratch_.Path() / "blocker") << "a file where the directory should be";
  app_ = std::make_unique<OhmaraApplication>(prompts_, scratch_.Path() / "blocker" / "Results");
  TypeTable({{"1->2", "1"}, {"2->3", "1"}, {"3->1", "1"}, {"2->4", "1"}, {"4->3", "1"}});
  Main().TestBtn->click();
  EXPECT_FALSE(Main().circuit().NeedsTest);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].text.contains("out.txt"));
  EXPECT_TRUE(prompts_.messages[0].text.contains("adjTable.txt"));
}

}  // namespace
}  // namespace ohmara::testing
