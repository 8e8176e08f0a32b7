// "Экспорт в SPICE…": offered only for a circuit that passed "Тест", and the
// file holds the core's netlist of exactly that circuit.

#include <QLineEdit>

#include "analysis/spice_netlist.h"
#include "support/gui_app_fixture.h"
#include "ui/error_messages.h"

namespace ohmara::testing {
namespace {

// Every kind of element and a source at a phase, so that the netlist is
// anything but trivial.
const BranchTable kTested = {
    {"1->2", "10", "20", "100", "10", "30"}, {"2->3", "5"}, {"3->1", "", "", "50"}, {"2->4", "1", "5"}, {"4->3", "2"}};

class SpiceExportTest : public AppFixture {
 protected:
  QAction* Item() { return Find<QAction>(Main(), "ExportSpiceItem"); }
  QString Scratch(const char* name) { return QString::fromStdString((scratch_.Path() / name).string()); }
  void Export(const QString& fileName) {
    prompts_.messages.clear();
    prompts_.saveNames = {fileName};
    Trigger("ExportSpiceItem");
  }
};

TEST_F(SpiceExportTest, WritesTheLastPassedTestsCircuitWithTheTypedZeroNode) {
  EXPECT_FALSE(Item()->isEnabled());
  TypeTable(kTested);
  Click("TestBtn");
  ASSERT_TRUE(Item()->isEnabled());
  const std::vector<CircuitBranch> branches = Circuit().Branches;

  // The methods go on solving the tested circuit whatever is typed since,
  // and so does the export; the zero node is read at the export.
  TypeTable(kFiveBranches);
  Find<QLineEdit>(Main(), "Frequence")->setText("50");
  Find<QLineEdit>(Main(), "U0Ed")->setText("4");
  Export(Scratch("circuit.cir"));
  EXPECT_EQ(prompts_.lastDirectory, "circuit.cir");
  EXPECT_TRUE(prompts_.messages.empty());
  EXPECT_EQ(scratch_.Text("circuit.cir"), SpiceNetlist(branches, kTested, {"15", 0}, 4));
}

TEST_F(SpiceExportTest, FailuresAreToldAndWriteNothing) {
  TypeTable(kTested);
  Click("TestBtn");
  struct Case {
    const char* zeroNode;
    const char* file;
    QString message;
    bool critical;
  };
  const Case cases[] = {
      {"9", "a.cir", "Узел с нулевым потенциалом «9» - не узел проверенной цепи: в ней узлы от 1 до 4.", false},
      {"x", "b.cir", "Узел с нулевым потенциалом: «x» — не целое число.", true},
      {"3", "no-such-folder/c.cir", SaveProblemText(SaveProblem::CannotWrite, Scratch("no-such-folder/c.cir")), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Find<QLineEdit>(Main(), "U0Ed")->setText(c.zeroNode);
    Export(Scratch(c.file));
    ASSERT_EQ(prompts_.messages.size(), 1u);
    EXPECT_EQ(prompts_.messages[0].text, c.message);
    EXPECT_EQ(prompts_.messages[0].critical, c.critical);
    EXPECT_FALSE(scratch_.Exists(c.file));
  }
}

TEST_F(SpiceExportTest, ATestThatFailsOrStopsTakesTheItemAway) {
  const BranchTable failing[] = {{{"1-2", "1"}, {"2->3", "1"}, {"3->1", "1"}},  // malformed name
                                 {{"1->2", "1x"}, {"2->3", "1"}, {"3->1", "1"}, {"2->4", "1"}, {"4->3", "1"}}};
  for (const BranchTable& table : failing) {
    TypeTable(kTested);
    Click("TestBtn");
    ASSERT_TRUE(Item()->isEnabled());
    TypeTable(table);
    Click("TestBtn");
    EXPECT_FALSE(Item()->isEnabled());
  }
}

}  // namespace
}  // namespace ohmara::testing
