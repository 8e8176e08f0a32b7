#pragma once
// Magnitude-and-angle forms of a complex value, for readouts that sit beside
// a phasor diagram: "I12 = 3.75 ∠ -36.87°".
//
// The magnitude shows up to four decimals, as the memos show a complex value,
// with trailing zeros cut ("3.75", "10", "0.3125"); a magnitude that is not 0
// but would show as 0 that way (below 0.00005) shows four significant digits
// instead ("0.0001234",
// "2.5e-07"), so a small current never reads as none. The angle is in
// degrees, up to three decimals with trailing zeros cut, in (-180, 180]: a
// value just below the negative real axis reads 180, never -180 or -0. It is
// the inverse of PolarDeg, which takes π as 3.141592, so a source typed at 30°
// reads 30°. A zero value reads "0 ∠ 0°".

#include <string>

#include "model/complex.h"

namespace ohmara {

// The magnitude by the rule above; `magnitude` >= 0.
std::string PolarMagnitudeText(double magnitude);

// "5 ∠ -53.13°"
std::string PolarText(Complex z);

// "I12 = 3.75 ∠ 0°": `label` as the memos write it, then the polar form.
std::string PolarLine(const std::string& label, Complex z);

}  // namespace ohmara
