// "Варианты для группы…": the dialog writes into the chosen folder the very
// set the core makes from its settings, and both PDFs beside it.

#include <QDate>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>

#include "support/gui_app_fixture.h"
#include "ui/print_dialog.h"
#include "variants/class_variants.h"
#include "variants/variant_set.h"

namespace ohmara::testing {
namespace {

class VariantsDialogTest : public AppFixture {
 protected:
  // Opens the dialog from the menu and runs `act` in it.
  QString Open(const std::function<void(QDialog&)>& act) {
    QString seed;
    prompts_.onModal = [&](QDialog& dialog) {
      seed = Find<QLineEdit>(dialog, "SeedEdit")->text();
      act(dialog);
    };
    Trigger("VariantsItem");
    return seed;
  }
};

TEST_F(VariantsDialogTest, WritesTheSetOfItsSettingsIntoTheChosenFolder) {
  // The group typed for the report heads every card, with today's date.
  Find<QLineEdit>(Windows().printDialog(), "EdGroup")->setText(QStringLiteral("ИТ-21"));
  const std::filesystem::path folder = scratch_.Path() / "group";
  const std::filesystem::path expected = scratch_.Path() / "expected";
  const QString firstSeed = Open([&](QDialog& dialog) {
    Find<QSpinBox>(dialog, "CountBox")->setValue(4);
    Find<QSpinBox>(dialog, "FirstBox")->setValue(9);
    Find<QLineEdit>(dialog, "SeedEdit")->setText("x7");
    prompts_.folderNames = {QString::fromStdString(folder.string())};
    Find<QPushButton>(dialog, "FolderButton")->click();
    Find<QPushButton>(dialog, "MakeButton")->click();  // a seed that is no number: refused
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_TRUE(prompts_.messages[0].critical);
    EXPECT_FALSE(std::filesystem::exists(folder));
    Find<QLineEdit>(dialog, "SeedEdit")->setText("7");
    Find<QPushButton>(dialog, "MakeButton")->click();
  });
  EXPECT_EQ(prompts_.modalShown, std::vector<QString>{"VariantsForm"});
  ASSERT_EQ(prompts_.messages.size(), 2u);
  EXPECT_FALSE(prompts_.messages[1].critical) << prompts_.messages[1].text.toStdString();

  VariantSettings settings;
  settings.count = 4;
  settings.firstNumber = 9;
  settings.seed = 7;
  const std::vector<Variant> variants = MakeVariants(settings);
  std::filesystem::create_directory(expected);
  ASSERT_TRUE(WriteVariantFiles(expected, variants).empty());
  for (int number : {9, 10, 11, 12}) {
    const std::string name = VariantFileName(number, 12);
    EXPECT_EQ(ReadFileBytes(folder / name), ReadFileBytes(expected / name)) << name;
    EXPECT_FALSE(ReadFileBytes(folder / name).empty());
  }
  for (const char* pdf : {kVariantCardsFile, kAnswerKeyFile})
    EXPECT_EQ(ReadFileBytes(folder / pdf).substr(0, 5), "%PDF-") << pdf;

  QProcess pdftotext;
  pdftotext.start("pdftotext", {QString::fromStdString((folder / kVariantCardsFile).string()), "-"});
  ASSERT_TRUE(pdftotext.waitForFinished(30000)) << "pdftotext (poppler-utils) did not run";
  const QString cards = QString::fromUtf8(pdftotext.readAllStandardOutput());
  const QString titleLine =
      QStringLiteral("Группа: ИТ-21.  Дата: %1.").arg(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
  // pdftotext keeps no run of spaces.
  EXPECT_EQ(QString(cards).remove(' ').count(QString(titleLine).remove(' ')), 4) << cards.toStdString();

  // Each showing proposes a seed of its own.
  const QString secondSeed = Open([](QDialog&) {});
  EXPECT_NE(firstSeed, secondSeed);
}

}  // namespace
}  // namespace ohmara::testing
