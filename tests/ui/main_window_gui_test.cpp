#include <QComboBox>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <fstream>

#include "model/install_paths.h"
#include "support/gui_app_fixture.h"
#include "ui/about_dialog.h"
#include "ui/editor_window.h"
#include "ui/node_potential_window.h"
#include "ui/widget_style.h"

namespace ohmara::testing {
namespace {

using MainWindowTest = AppFixture;

TEST_F(MainWindowTest, StartsWithTitlesOnlyAndTheDefaults) {
  MainWindow& main = Main();
  EXPECT_EQ(main.windowTitle(), "Ohmara");
  EXPECT_EQ(main.centralWidget()->size(), QSize(673, 543));
  EXPECT_EQ(BranchGrid()->rowCount(), 1);
  EXPECT_EQ(BranchGrid()->columnCount(), 6);
  const QString titles[] = {"Ветвь", "R, Ом", "L, мГн", "C, мкФ", "E, В", "Угол"};
  for (int col = 0; col < 6; ++col) EXPECT_EQ(Cell(0, col), titles[col]);
  EXPECT_EQ(Find<QLabel>(Main(), "NumbLb")->text(), "0");
  EXPECT_EQ(Main().BranchCount(), 0);
  EXPECT_FALSE(Find<QFrame>(Main(), "Panel2")->isVisibleTo(&main));
  EXPECT_TRUE(Circuit().NeedsTest);
  EXPECT_EQ(Find<QLineEdit>(Main(), "Frequence")->text(), "15");
  EXPECT_EQ(Find<QComboBox>(Main(), "Dimens")->currentText(), "Гц");
  EXPECT_EQ(Find<QComboBox>(Main(), "Dimens")->count(), 3);
  EXPECT_FALSE(Find<QComboBox>(Main(), "Dimens")->isEditable());  // a unit is chosen, never typed
  EXPECT_EQ(Find<QLineEdit>(Main(), "U0Ed")->text(), "3");
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
    SCOPED_TRACE(place.name);
    auto* widget = Main().findChild<QWidget*>(place.name);
    ASSERT_NE(widget, nullptr) << place.name;
    EXPECT_EQ(widget->geometry(), place.bounds) << place.name;
    if (place.text) {
      EXPECT_EQ(qobject_cast<QPushButton*>(widget)->text(), place.text);
    }
  }
  QStringList menus;
  for (QAction* action : Main().menuBar()->actions()) menus << action->text();
  EXPECT_EQ(menus, QStringList({"Файл", "Вид", "Справка"}));
  EXPECT_EQ(Find<QAction>(Main(), "N2")->text(), "Открыть");
  EXPECT_EQ(Find<QAction>(Main(), "N3")->text(), "Сохранить");
  EXPECT_EQ(Find<QAction>(Main(), "N4")->text(), "Печать");
  EXPECT_EQ(Find<QAction>(Main(), "N7")->text(), "Выход");
  EXPECT_EQ(Find<QAction>(Main(), "N6")->text(), "О программе");
}

TEST_F(MainWindowTest, DeleteBranchRemovesTheLastRowWhateverIsSelected) {
  TypeTable({{"1->2"}, {"2->3"}, {"3->1"}});
  BranchGrid()->setCurrentCell(1, 0);
  Click("BitBtn2");
  EXPECT_EQ(BranchGrid()->rowCount(), 3);
  EXPECT_EQ(Cell(1, 0), "1->2");
  EXPECT_EQ(Cell(2, 0), "2->3");
  EXPECT_EQ(Find<QLabel>(Main(), "NumbLb")->text(), "2");
  EXPECT_EQ(Main().BranchCount(), 2);
  Click("BitBtn2");
  Click("BitBtn2");
  Click("BitBtn2");  // nothing left to delete
  EXPECT_EQ(BranchGrid()->rowCount(), 1);
  EXPECT_EQ(Find<QLabel>(Main(), "NumbLb")->text(), "0");
  EXPECT_EQ(Cell(0, 0), "Ветвь");
}

TEST_F(MainWindowTest, ZeroNodeThatIsNotANumberShowsTheConversionError) {
  Find<QLineEdit>(Main(), "U0Ed")->setText("abc");
  Click("PotentialBtn");
  Click("BitBtn3");
  ASSERT_EQ(prompts_.messages.size(), 2u);
  EXPECT_TRUE(prompts_.messages[0].critical);
  EXPECT_EQ(prompts_.messages[0].text, "Узел с нулевым потенциалом: «abc» — не целое число.");
  EXPECT_FALSE(Windows().nodePotentialWindow().isVisible());
}

// Start-up builds the main window alone; every other window is made the
// first time it is needed, and once only.
TEST_F(MainWindowTest, StartsWithTheMainWindowAloneAndMakesEachOtherWindowOnce) {
  EXPECT_EQ(Windows().MadeCount(), 1);
  Trigger("N6");
  EXPECT_EQ(Windows().MadeCount(), 2);
  Trigger("N6");
  EXPECT_EQ(Windows().MadeCount(), 2);
  Windows().printDialog();
  EXPECT_EQ(Windows().MadeCount(), 3);
  // The editor, with the add-branch dialog it shares with the main window.
  Click("Button2");
  EXPECT_EQ(Windows().MadeCount(), 5);
  EXPECT_TRUE(Windows().editorWindow().isVisible());
  EXPECT_EQ(Windows().MadeCount(), 5);
}

// The program's fonts name families the font database holds: a missing one
// would be drawn in whatever fontconfig finds after a slow fallback search.
TEST_F(MainWindowTest, FontsAreTheInstalledLiberationFamilies) {
  const std::pair<QFont, std::string> fonts[] = {{InterfaceFont(11), "Liberation Sans"},
                                                 {InterfaceFont(11, true), "Liberation Sans"},
                                                 {SerifFont(13), "Liberation Serif"},
                                                 {BranchGrid()->font(), "Liberation Serif"},
                                                 {Find<QLineEdit>(Main(), "U0Ed")->font(), "Liberation Sans"}};
  for (const auto& [font, family] : fonts) {
    EXPECT_EQ(font.family().toStdString(), family);
    EXPECT_EQ(QFontInfo(font).family().toStdString(), family);
  }
}

TEST_F(MainWindowTest, AboutOpensModallyWithItsCredit) {
  Trigger("N6");
  ASSERT_EQ(prompts_.modalShown, std::vector<QString>{"AboutPrForm"});
  EXPECT_EQ(Windows().aboutDialog().windowTitle(), "О программе");
  EXPECT_EQ(Find<QLabel>(Windows().aboutDialog(), "Credit")->text(), "Ohmara");
  EXPECT_FALSE(Find<QLabel>(Windows().aboutDialog(), "Year")->text().isEmpty());
  EXPECT_EQ(Find<QLabel>(Windows().aboutDialog(), "VersionLabel")->text(),
            QStringLiteral("Версия ") + QString::fromLatin1(OhmaraVersion()));
  EXPECT_EQ(Find<QLineEdit>(Windows().aboutDialog(), "ResultsFolderEdit")->text().toStdString(),
            app_->results().Directory().string());
}

TEST_F(MainWindowTest, AnUnwritableResultsDirectoryIsReportedOnceAndTheCommandGoesOn) {
  app_.reset();
  std::ofstream(scratch_.Path() / "blocker") << "a file where the directory should be";
  app_ = std::make_unique<OhmaraApplication>(prompts_, scratch_.Path() / "blocker" / "Results");
  TypeTable({{"1->2", "1"}, {"2->3", "1"}, {"3->1", "1"}, {"2->4", "1"}, {"4->3", "1"}});
  Click("TestBtn");
  EXPECT_FALSE(Circuit().NeedsTest);
  ASSERT_EQ(prompts_.messages.size(), 1u);
  EXPECT_TRUE(prompts_.messages[0].text.contains("out.txt"));
  EXPECT_TRUE(prompts_.messages[0].text.contains("adjTable.txt"));
}

}  // namespace
}  // namespace ohmara::testing
