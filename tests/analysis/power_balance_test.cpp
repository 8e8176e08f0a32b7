#include "analysis/power_balance.h"

#include <gtest/gtest.h>

#include <vector>

namespace ohmara {
namespace {

CircuitBranch Branch(Complex z, Complex e) {
  CircuitBranch branch;
  branch.From = 1;
  branch.To = 2;
  branch.Z = z;
  branch.E = e;
  return branch;
}

TEST(PowerBalance, SumsSourceAndConsumedPower) {
  struct Case {
    const char* what;
    std::vector<CircuitBranch> branches;
    std::vector<Complex> currents;
    Complex source, consumed;
  };
  const Case cases[] = {
      {"one branch E=10, R=5, I=2", {Branch({5, 0}, {10, 0})}, {{2, 0}}, {20, 0}, {20, 0}},
      {"reactive load", {Branch({3, 4}, {0, 0})}, {{1, 1}}, {0, 0}, {6, 8}},
      {"source against its current", {Branch({0, 0}, {0, 10})}, {{-1, 2}}, {20, -10}, {0, 0}},
      {"two branches add up",
       {Branch({1, 0}, {10, 0}), Branch({2, -1}, {0, 0})},
       {{3, 0}, {0, -2}},
       {30, 0},
       {9 + 8, -4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Complex source{99, 99}, consumed{99, 99};  // set, not accumulated into
    PowerBalance(c.branches, c.currents, source, consumed);
    EXPECT_EQ(source, c.source) << c.what;
    EXPECT_EQ(consumed, c.consumed) << c.what;
  }
}

TEST(PowerBalance, TextsOfWindowAndFile) {
  MemoLines memo;
  ShowPowerBalance(memo, {37.5, 0}, {12.25, -0.5});
  EXPECT_EQ(memo.lines,
            (std::vector<std::string>{"Мощность источников = 37.5", "Потребляемая мощность = 12.25 - j 0.5"}));
  EXPECT_EQ(PowerBalanceFileText({37.5, 0.0}, {12.25, -0.5}),
            "\nБаланс мощностей\nМощность источников = 37.50000+0.00000i\n"
            "Потребляемая мощность = 12.25000-0.50000i\n");
  EXPECT_EQ(MethodSectionHeader("Метод контурных токов"),
            "\n\n--------------------------------\nМетод контурных токов\n--------------------------------\n\n");
}

}  // namespace
}  // namespace ohmara
