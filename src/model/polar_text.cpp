#include "model/polar_text.h"

#include <charconv>
#include <cmath>

#include "model/text_format.h"

namespace ohmara {

namespace {

// Below this a magnitude rounds to 0 at four decimals.
constexpr double kSmallestFixed = 0.00005;

std::string AngleText(Complex z) {
  if (IsZero(z)) return "0";
  std::string text = Format("%.3lf", std::atan2(z.im, z.re) * (180.0 / 3.141592));
  TrimZeros(text);
  // atan2 gives -π just below the negative real axis, and a tiny negative
  // angle rounds to "-0": both name the direction that reads 180 and 0.
  if (text == "-180") return "180";
  if (text == "-0") return "0";
  return text;
}

}  // namespace

std::string PolarMagnitudeText(double magnitude) {
  if (magnitude > 0.0 && magnitude < kSmallestFixed) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::general, 4).ptr;
    return std::string(buffer, end);
  }
  std::string text = Format("%.4lf", magnitude);
  TrimZeros(text);
  return text;
}

std::string PolarText(Complex z) { return PolarMagnitudeText(std::hypot(z.re, z.im)) + " ∠ " + AngleText(z) + "°"; }

std::string PolarLine(const std::string& label, Complex z) { return label + " = " + PolarText(z); }

}  // namespace ohmara
