#include "model/random_values.h"

#include <chrono>
#include <string>

namespace ohmara {

EngineRandomSource::EngineRandomSource(std::uint64_t seed) : engine_(seed) {}

int EngineRandomSource::r(int k) {
  std::uniform_int_distribution<int> uniform(0, k - 1);
  return uniform(engine_);
}

namespace {
std::uint64_t ClockSeed() {
  // Nanoseconds rather than milliseconds, so that two generations made in
  // quick succession still differ.
  return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) ^
         static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}
}  // namespace

ClockRandomSource::ClockRandomSource() : EngineRandomSource(ClockSeed()) {}

RandomElementValues RandomElementValues::Draw(RandomSource& random) {
  // Every draw is a statement of its own: the order of draws is part of the
  // rule, and C++ leaves the order of operands in one expression open.
  RandomElementValues v;
  int base = 10 * (random.r(10) + 1);
  base += 5 * random.r(3);
  v.E = base * random.r(2);

  if (v.E != 0) {
    v.Angle = 10 * random.r(9);
    v.Angle += 5 * random.r(3);
  }

  base = 10 * (random.r(10) + 1);
  base += random.r(10);
  v.C = base * random.r(2);

  base = 10 * (random.r(9) + 1);
  base += random.r(10);
  v.L = base * random.r(2);

  base = 10 * (random.r(9) + 1);
  base += random.r(10);
  // A lone capacitor may go without a resistor; any other branch keeps one,
  // so that every branch has R or C.
  const bool onlyCapacitor = v.C != 0 && v.L == 0 && v.E == 0;
  v.R = onlyCapacitor ? base * random.r(2) : base;
  return v;
}

void WriteElementValues(const RandomElementValues& values, BranchRow& row) {
  auto text = [](int value) { return value != 0 ? std::to_string(value) : std::string(); };
  row[kRColumn] = text(values.R);
  row[kLColumn] = text(values.L);
  row[kCColumn] = text(values.C);
  row[kEColumn] = text(values.E);
  row[kAngleColumn] = values.E != 0 ? std::to_string(values.Angle) : std::string();
}

}  // namespace ohmara
