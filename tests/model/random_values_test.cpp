#include "model/random_values.h"

#include <gtest/gtest.h>

#include "support/scripted_random.h"

namespace ohmara {
namespace {

using testing::ScriptedRandom;

bool operator==(const RandomElementValues& a, const RandomElementValues& b) {
  return a.R == b.R && a.L == b.L && a.C == b.C && a.E == b.E && a.Angle == b.Angle;
}

TEST(RandomElementValues, DrawsInTheFixedOrder) {
  struct Case {
    const char* what;
    std::vector<int> answers;
    std::vector<int> asked;  // k of each draw: E, angle (with E only), C, L, R
    RandomElementValues expected;
  };
  const Case cases[] = {
      {"nothing but the resistor",
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {10, 3, 2, 10, 10, 2, 9, 10, 2, 9, 10},
       {10, 0, 0, 0, 0}},
      {"every element at its top",
       {9, 2, 1, 8, 2, 9, 9, 1, 8, 9, 1, 8, 9},
       {10, 3, 2, 9, 3, 10, 10, 2, 9, 10, 2, 9, 10},
       {99, 99, 109, 110, 90}},
      {"a source at angle 0",
       {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {10, 3, 2, 9, 3, 10, 10, 2, 9, 10, 2, 9, 10},
       {10, 0, 0, 10, 0}},
      {"a lone capacitor without resistor",
       {0, 0, 0, 0, 5, 1, 0, 0, 0, 2, 3, 0},
       {10, 3, 2, 10, 10, 2, 9, 10, 2, 9, 10, 2},
       {0, 0, 15, 0, 0}},
      {"a lone capacitor with resistor",
       {0, 0, 0, 0, 5, 1, 0, 0, 0, 2, 3, 1},
       {10, 3, 2, 10, 10, 2, 9, 10, 2, 9, 10, 2},
       {33, 0, 15, 0, 0}},
      {"a capacitor beside a coil keeps its resistor",
       {0, 0, 0, 4, 4, 1, 1, 1, 1, 0, 0},
       {10, 3, 2, 10, 10, 2, 9, 10, 2, 9, 10},
       {10, 21, 54, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedRandom random(c.answers);
    const RandomElementValues values = RandomElementValues::Draw(random);
    EXPECT_TRUE(values == c.expected) << c.what << ": R" << values.R << " L" << values.L << " C" << values.C << " E"
                                      << values.E << " angle " << values.Angle;
    EXPECT_EQ(random.asked, c.asked) << c.what;
    EXPECT_TRUE(random.ScriptUsedUp()) << c.what;
  }
}

bool InSteps(int value, int low, int high, int step) {
  return value >= low && value <= high && (value - low) % step == 0;
}

// Over many draws every value stays on its grid of ranges and steps, R or C
// is always present, and each range is reached at both of its ends.
TEST(RandomElementValues, RangesOverManyDraws) {
  EngineRandomSource random(20240611);
  int maxE = 0, maxAngle = 0, minC = 1000, maxC = 0, minL = 1000, maxL = 0, minR = 1000, maxR = 0;
  int withoutR = 0, withoutE = 0;
  for (int i = 0; i < 20000; ++i) {
    const RandomElementValues v = RandomElementValues::Draw(random);
    ASSERT_TRUE(v.E == 0 || InSteps(v.E, 10, 110, 5)) << v.E;
    ASSERT_TRUE(InSteps(v.Angle, 0, 90, 5)) << v.Angle;
    ASSERT_TRUE(v.E != 0 || v.Angle == 0);
    ASSERT_TRUE(v.C == 0 || (v.C >= 10 && v.C <= 109)) << v.C;
    ASSERT_TRUE(v.L == 0 || (v.L >= 10 && v.L <= 99)) << v.L;
    ASSERT_TRUE(v.R == 0 || (v.R >= 10 && v.R <= 99)) << v.R;
    ASSERT_TRUE(v.R != 0 || (v.C != 0 && v.L == 0 && v.E == 0));
    maxE = std::max(maxE, v.E);
    maxAngle = std::max(maxAngle, v.Angle);
    if (v.C) minC = std::min(minC, v.C), maxC = std::max(maxC, v.C);
    if (v.L) minL = std::min(minL, v.L), maxL = std::max(maxL, v.L);
    if (v.R) minR = std::min(minR, v.R), maxR = std::max(maxR, v.R);
    withoutR += v.R == 0;
    withoutE += v.E == 0;
  }
  EXPECT_EQ(maxE, 110);
  EXPECT_EQ(maxAngle, 90);
  EXPECT_EQ(minC, 10);
  EXPECT_EQ(maxC, 109);
  EXPECT_EQ(minL, 10);
  EXPECT_EQ(maxL, 99);
  EXPECT_EQ(minR, 10);
  EXPECT_EQ(maxR, 99);
  EXPECT_GT(withoutR, 0);
  EXPECT_GT(withoutE, 0);
}

TEST(RandomElementValues, CellTexts) {
  struct Case {
    RandomElementValues values;
    BranchRow expected;
  };
  const Case cases[] = {
      {{10, 0, 0, 0, 0}, {"kept", "10", "", "", "", ""}},
      {{0, 0, 15, 0, 0}, {"kept", "", "", "15", "", ""}},
      {{22, 45, 109, 110, 0}, {"kept", "22", "45", "109", "110", "0"}},
      {{22, 0, 0, 15, 35}, {"kept", "22", "", "", "15", "35"}},
      {{22, 0, 0, 0, 35}, {"kept", "22", "", "", "", ""}},  // no angle without a source
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
    BranchRow row = {"kept", "x", "x", "x", "x", "x"};
    WriteElementValues(c.values, row);
    EXPECT_EQ(row, c.expected);
  }
}

TEST(EngineRandomSource, UniformBelowKAndRepeatableBySeed) {
  EngineRandomSource a(7), b(7);
  std::vector<int> seen(5, 0);
  for (int i = 0; i < 1000; ++i) {
    const int x = a.r(5);
    ASSERT_EQ(x, b.r(5));
    ASSERT_GE(x, 0);
    ASSERT_LT(x, 5);
    ++seen[x];
  }
  for (int count : seen) EXPECT_GT(count, 100);
  EXPECT_EQ(a.r(1), 0);
}

}  // namespace
}  // namespace ohmara
