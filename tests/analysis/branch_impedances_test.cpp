#include "analysis/branch_impedances.h"

#include <gtest/gtest.h>

#include "model/circuit.h"
#include "model/errors.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

BranchRow Row(const char* name, const char* r, const char* l, const char* c, const char* e, const char* angle) {
  return {name, r, l, c, e, angle};
}

// A branch between two nodes with nothing computed yet.
CircuitBranch Joining(int from, int to) {
  CircuitBranch branch;
  branch.From = from;
  branch.To = to;
  return branch;
}

std::vector<CircuitBranch> BranchesOf(const BranchTable& table) {
  std::vector<CircuitBranch> branches;
  int nodeCount = 0;
  EXPECT_EQ(ParseBranchTable(BranchNames(table), branches, nodeCount), ParseResult::Ok);
  return branches;
}

TEST(UnitFactor, ThreeUnitsAndUnmatchedTextAsHertz) {
  EXPECT_EQ(UnitFactor(0), 1.0);
  EXPECT_EQ(UnitFactor(1), 1000.0);
  EXPECT_EQ(UnitFactor(2), 1000000.0);
  EXPECT_EQ(UnitFactor(-1), 1.0);
  EXPECT_EQ(UnitFactor(3), 1.0);
}

TEST(ComputeBranchValues, EachElementKindAtEachUnit) {
  struct Case {
    const char* what;
    BranchRow row;
    const char* frequency;
    int unit;
    Complex z, e;
  };
  const Case cases[] = {
      {"R alone", Row("1->2", "3", "", "", "", ""), "15", 0, {3, 0}, {}},
      {"R with comma", Row("1->2", " 0,5 ", "", "", "", ""), "15", 2, {0.5, 0}, {}},
      {"L at Hz", Row("1->2", "", "10", "", "", ""), "50", 0, {0, 3.1415926535897936}, {}},
      {"L at kHz", Row("1->2", "", "10", "", "", ""), "1", 1, {0, 62.831853071795855}, {}},
      {"L at MHz", Row("1->2", "", "10", "", "", ""), "1", 2, {0, 62831.85307179586}, {}},
      {"L, typed unit", Row("1->2", "", "10", "", "", ""), "50", -1, {0, 3.1415926535897936}, {}},
      {"C at Hz", Row("1->2", "", "", "100", "", ""), "15", 0, {0, -106.1032953945969}, {}},
      {"C at kHz", Row("1->2", "", "", "100", "", ""), "1", 1, {0, -1.5915494309189535}, {}},
      {"C at MHz", Row("1->2", "", "", "100", "", ""), "1", 2, {0, -0.0015915494309189536}, {}},
      {"E at 30 degrees", Row("1->2", "", "", "", "100", "30"), "50", 0, {}, {86.60254582502496, 49.999990566243625}},
      {"E at -90 degrees",
       Row("1->2", "", "", "", "10", "-90"),
       "50",
       0,
       {},
       {3.2679489653813835e-06, -9.999999999999465}},
      {"angle without E is ignored", Row("1->2", "2", "", "", "", "x"), "50", 0, {2, 0}, {}},
      {"all four",
       Row("1->2", "3", "10", "100", "100", "30"),
       "50",
       0,
       {3, 3.1415926535897936 - 31.830988618379067},
       {86.60254582502496, 49.999990566243625}},
      {"frequency 0 without C", Row("1->2", "1", "10", "", "", ""), "0", 0, {1, 0}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CircuitBranch branch = Joining(1, 2);
    branch.Z = {9, 9};
    branch.E = {9, 9};
    ComputeBranchValues(branch, c.row, 1, AngularFrequency({c.frequency, c.unit}));
    EXPECT_NEAR(branch.Z.re, c.z.re, 1e-9 * (1 + std::abs(c.z.re))) << c.what;
    EXPECT_NEAR(branch.Z.im, c.z.im, 1e-9 * (1 + std::abs(c.z.im))) << c.what;
    EXPECT_NEAR(branch.E.re, c.e.re, 1e-9) << c.what;
    EXPECT_NEAR(branch.E.im, c.e.im, 1e-9) << c.what;
  }
}

// Every refusal names where the fault is: the branch by its row and name and
// the column for a cell, the branch and the element for an infinite
// impedance, the frequency for an infinite ω. An exact zero divisor stays a
// division by zero.
TEST(ComputeBranchValues, RefusalsSayWhere) {
  enum class Thrown { Conversion, Division, NonFinite };
  struct Case {
    BranchRow row;
    const char* frequency;
    int unit;
    Thrown thrown;
    const char* message;  // what() of the refusal; the quantity for a division by zero
  };
  const Case cases[] = {
      {Row("2->4", "1,2x", "", "", "", ""), "15", 0, Thrown::Conversion,
       "Ветвь 3 (2->4), столбец «R, Ом»: «1,2x» — не число."},
      {Row("2->4", "", "", "", "100", ""), "15", 0, Thrown::Conversion,
       "Ветвь 3 (2->4), столбец «Угол»: пусто, а нужно число."},
      {Row("2->4", "", "", "", "1e400", "0"), "15", 0, Thrown::Conversion,
       "Ветвь 3 (2->4), столбец «E, В»: «1e400» — слишком большое число (больше 1.79e308 по модулю)."},
      {Row("2->4", "", "", "1e-400", "", ""), "15", 0, Thrown::Conversion,
       "Ветвь 3 (2->4), столбец «C, мкФ»: «1e-400» — слишком маленькое число: не ноль, но меньше 4.9e-324 по модулю."},
      {Row("2->4", "1", "", "", "", ""), "15 Hz", 0, Thrown::Conversion, "Частота: «15 Hz» — не число."},
      {Row("2->4", "", "", "0", "", ""), "15", 0, Thrown::Division, "Z24"},
      {Row("2->4", "", "", "10", "", ""), "0", 0, Thrown::Division, "Z24"},
      {Row("2->4", "", "", "1e-305", "", ""), "50", 0, Thrown::NonFinite,
       "Сопротивление ветви 2->4 бесконечно: ёмкость 1e-305 мкФ слишком мала для частоты 50 Гц."},
      {Row("2->4", "", "", "1e-156", "", ""), "1e-155", 0, Thrown::NonFinite,
       "Сопротивление ветви 2->4 бесконечно: ёмкость 1e-156 мкФ слишком мала для частоты 1e-155 Гц."},
      {Row("2->4", "", " 1e308 ", "", "", ""), "2", 1, Thrown::NonFinite,
       "Сопротивление ветви 2->4 бесконечно: индуктивность 1e308 мГн слишком велика для частоты 2000 Гц."},
      {Row("2->4", "1", "", "", "", ""), "1e308", 2, Thrown::NonFinite,
       "Частота 1e308 МГц слишком велика: угловая частота ω = 2πf бесконечна."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    CircuitBranch branch = Joining(2, 4);
    try {
      ComputeBranchValues(branch, c.row, 3, AngularFrequency({c.frequency, c.unit}));
      ADD_FAILURE() << "nothing thrown";
    } catch (const DivisionByZero& error) {
      EXPECT_EQ(c.thrown, Thrown::Division);
      EXPECT_EQ(error.Quantity(), c.message);
    } catch (const ConversionError& error) {
      EXPECT_EQ(c.thrown, Thrown::Conversion);
      EXPECT_EQ(std::string(error.what()), c.message);
    } catch (const NonFiniteValue& error) {
      EXPECT_EQ(c.thrown, Thrown::NonFinite);
      EXPECT_EQ(std::string(error.what()), c.message);
    }
  }
}

class ComputeBranchImpedancesTest : public ResultsFixture {};

TEST_F(ComputeBranchImpedancesTest, WritesOutLinesAndMemoLines) {
  const BranchTable table = {
      Row("1->2", "3", "10", "", "100", "30"),
      Row("2->3", "", "", "", "", ""),
      Row("3->1", "", "", "100", "", ""),
  };
  std::vector<CircuitBranch> branches = BranchesOf(table);
  Results().Append("out.txt", "before\n");
  MemoLines memo;
  ComputeBranchImpedances(branches, table, {"50", 0}, Results(), memo);

  EXPECT_EQ(Bytes("out.txt"),
            "before\r\n"
            "1)\tZ12=3.00000+3.14159i\t\tE12=86.60255+49.99999i\t\t\r\n"
            "2)\tZ23=0.00000+0.00000i\t\tE23=0.00000+0.00000i\t\t\r\n"
            "3)\tZ31=0.00000-31.83099i\t\tE31=0.00000+0.00000i\t\t\r\n");
  EXPECT_EQ(memo.lines, (std::vector<std::string>{"Z12 =  3 + j 3.1416", "E12 = 86.6025 + j 50", "Z23 =  0", "E23 =  0",
                                                  "Z31 =  - j 31.831", "E31 =  0"}));
}

TEST_F(ComputeBranchImpedancesTest, LabelsRunTogetherInFileAndMemo) {
  const BranchTable table = {Row("12->3", "1", "", "", "", ""), Row("1->23", "2", "", "", "", "")};
  std::vector<CircuitBranch> branches(2);
  branches[0] = Joining(12, 3);
  branches[1] = Joining(1, 23);
  MemoLines memo;
  ComputeBranchImpedances(branches, table, {"15", 0}, Results(), memo);
  EXPECT_EQ(Bytes("out.txt"),
            "1)\tZ123=1.00000+0.00000i\t\tE123=0.00000+0.00000i\t\t\r\n"
            "2)\tZ123=2.00000+0.00000i\t\tE123=0.00000+0.00000i\t\t\r\n");
  EXPECT_EQ(memo.lines[0], "Z123 =  1");
  EXPECT_EQ(memo.lines[2], "Z123 =  2");
}

TEST_F(ComputeBranchImpedancesTest, FailureWritesNothingAndKeepsEarlierBranches) {
  const BranchTable table = {
      Row("1->2", "5", "", "", "", ""),
      Row("2->3", "", "", "0", "", ""),
      Row("3->1", "7", "", "", "", ""),
  };
  std::vector<CircuitBranch> branches = BranchesOf(table);
  MemoLines memo;
  try {
    ComputeBranchImpedances(branches, table, {"15", 0}, Results(), memo);
    ADD_FAILURE() << "a C of 0 must throw";
  } catch (const DivisionByZero& error) {
    EXPECT_EQ(error.Quantity(), "Z23");
  }
  EXPECT_FALSE(Exists("out.txt"));
  EXPECT_TRUE(memo.lines.empty());
  EXPECT_EQ(branches[0].Z, Complex(5, 0));
  EXPECT_EQ(branches[2].Z, Complex());
}

}  // namespace
}  // namespace ohmara
