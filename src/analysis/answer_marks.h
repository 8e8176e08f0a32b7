#pragma once
// The student's own answers, read from what they typed and marked against
// the program's values: the core of the self-check.

#include <string_view>
#include <vector>

#include "model/complex.h"

namespace ohmara {

// What one answer cell holds.
struct Answer {
  enum class Kind { Blank, Value, Unreadable };
  Kind kind = Kind::Blank;
  Complex value;
};

// Reads a value in any form a student writes one: "2.5", "3 + j4", "3-j 4",
// "-j2,5", "4j", "3 + 4i", "5∠-53.13°", "5 ∠ -53,13". Blanks anywhere are
// ignored and "," serves as the decimal point; a polar angle is in degrees
// (π taken as 3.141592, as the program's polar forms are). A cell of blanks
// is Blank; anything else that is not one of these forms is Unreadable.
Answer ReadAnswer(std::string_view text);

// How close an answer must be: within `percent` per cent of the program's
// value, or equal to it rounded to `digits` significant digits.
struct Tolerance {
  enum class Kind { Percent, SignificantDigits };
  Kind kind = Kind::Percent;
  double amount = 1.0;
};

// The relative difference an answer may have under `tolerance`.
double AllowedDifference(const Tolerance& tolerance);

// |answer − expected| relative to |expected|. `scale` is the largest
// magnitude of the group the value belongs to (a column of currents, a
// matrix): a value that is round-off beside it (below 1e-9 of it) counts as
// zero, so a student's 0 for a 3e-16 matches.
double RelativeDifference(Complex answer, Complex expected, double scale);

// Whether the answer is right.
bool IsRight(Complex answer, Complex expected, double scale, const Tolerance& tolerance);

// The largest magnitude among `values` (0 for none).
double LargestMagnitude(const std::vector<Complex>& values);

}  // namespace ohmara
