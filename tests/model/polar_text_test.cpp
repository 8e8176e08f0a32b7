#include "model/polar_text.h"

#include <gtest/gtest.h>

#include <string>

namespace ohmara {
namespace {

TEST(PolarText, MagnitudeAndAngle) {
  const struct {
    Complex z;
    const char* text;
  } rows[] = {
      {{3.75, 0.0}, "3.75 ∠ 0°"},
      {{3.0, -4.0}, "5 ∠ -53.13°"},
      {{0.0, -2.5}, "2.5 ∠ -90°"},
      {PolarDeg(100, 30), "100 ∠ 30°"},  // the angle typed, π of 3.141592 and all
      {PolarDeg(2, -135.25), "2 ∠ -135.25°"},
      {{-1.0, 0.0}, "1 ∠ 180°"},
      {{-1.0, -0.0}, "1 ∠ 180°"},   // atan2 gives -180 here
      {{-1.0, -1e-9}, "1 ∠ 180°"},  // rounds to -180
      {{1.0, -1e-9}, "1 ∠ 0°"},     // rounds to -0
      {{0.0, 0.0}, "0 ∠ 0°"},
      {{-0.0, -0.0}, "0 ∠ 0°"},
      {{0.12345, 0.0}, "0.1235 ∠ 0°"},  // four decimals, as the memos show a value
      {{0.3124999999999, 0.0}, "0.3125 ∠ 0°"},
      {{0.3125000000001, 0.0}, "0.3125 ∠ 0°"},
      {{0.0, 0.000125}, "0.0001 ∠ 90°"},
      {{0.0, 0.0000125}, "1.25e-05 ∠ 90°"},  // would read 0 at four decimals
      {{-2.5e-7, 0.0}, "2.5e-07 ∠ 180°"},
      {{1234567.891, 0.0}, "1234567.891 ∠ 0°"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(PolarText(row.z), row.text);
  }
  EXPECT_EQ(PolarLine("I12", {3.75, 0.0}), "I12 = 3.75 ∠ 0°");
}

}  // namespace
}  // namespace ohmara
