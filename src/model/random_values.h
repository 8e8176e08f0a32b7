#pragma once
// Plausible element values for one branch, drawn at random. The add-branch
// dialog proposes them and the random circuit generator fills its rows with
// them, so both must make the same draws in the same order.

#include <cstdint>
#include <random>

#include "model/branch.h"

namespace ohmara {

// r(k): a uniform random integer 0..k-1.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual int r(int k) = 0;
};

// A standard engine behind r(k); a fixed seed repeats the same draws.
class EngineRandomSource : public RandomSource {
 public:
  explicit EngineRandomSource(std::uint64_t seed);
  int r(int k) override;

 private:
  std::mt19937_64 engine_;
};

// Seeded from the clock when made: every showing of the add-branch dialog and
// every generation makes a fresh one.
class ClockRandomSource : public EngineRandomSource {
 public:
  ClockRandomSource();
};

// Values of one branch: R in ohms, L in millihenries, C in microfarads, E in
// volts and its angle in degrees. At least R or C is never 0.
struct RandomElementValues {
  int R = 0;
  int L = 0;
  int C = 0;
  int E = 0;
  int Angle = 0;

  // Draws E, the angle (only when E is not 0), C, L and R, in that order.
  static RandomElementValues Draw(RandomSource& random);
};

// Writes the values into columns 1..5 of `row` as decimal integers. A value
// of 0 leaves its cell empty (the element is absent: a "0" in the C cell
// would be a division by zero at the next test); the angle is written
// whenever E is present, also when it is 0, and never without E.
void WriteElementValues(const RandomElementValues& values, BranchRow& row);

}  // namespace ohmara
