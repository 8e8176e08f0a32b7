#include "analysis/answer_marks.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "model/errors.h"
#include "model/number_text.h"

namespace ohmara {

namespace {

const std::string kAngleSign = "\u2220";   // ∠
const std::string kDegreeSign = "\u00B0";  // °
const std::string kNoBreakSpace = "\u00A0";

// The text without blanks, "," read as the decimal point.
std::string Compact(std::string_view text) {
  std::string compact;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, kNoBreakSpace.size(), kNoBreakSpace) == 0) {
      i += kNoBreakSpace.size() - 1;
      continue;
    }
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    compact += c == ',' ? '.' : c;
  }
  return compact;
}

std::optional<double> Decimal(const std::string& text) {
  if (text.empty()) return std::nullopt;
  try {
    return StrToFloat(text);
  } catch (const ConversionError&) {
    return std::nullopt;
  }
}

std::optional<Complex> Polar(const std::string& text, size_t angleAt) {
  std::string angle = text.substr(angleAt + kAngleSign.size());
  if (angle.size() >= kDegreeSign.size() && angle.ends_with(kDegreeSign))
    angle.resize(angle.size() - kDegreeSign.size());
  const std::optional<double> magnitude = Decimal(text.substr(0, angleAt));
  const std::optional<double> degrees = Decimal(angle);
  if (!magnitude || !degrees) return std::nullopt;
  return PolarDeg(*magnitude, *degrees);
}

bool IsImaginaryUnit(char c) { return c == 'j' || c == 'i' || c == 'J' || c == 'I'; }

// One signed term: a real number, or an imaginary one with its unit before
// or after the digits ("j4", "-4j", "-j" alone for −1).
std::optional<Complex> Term(std::string term) {
  const auto unit = std::find_if(term.begin(), term.end(), IsImaginaryUnit);
  if (unit == term.end()) {
    const std::optional<double> re = Decimal(term);
    return re ? std::optional<Complex>(Complex(*re, 0.0)) : std::nullopt;
  }
  term.erase(unit);
  if (std::any_of(term.begin(), term.end(), IsImaginaryUnit)) return std::nullopt;
  if (term.empty() || term == "+") term += "1";
  if (term == "-") term += "1";
  const std::optional<double> im = Decimal(term);
  return im ? std::optional<Complex>(Complex(0.0, *im)) : std::nullopt;
}

// Where the second term starts: a sign that neither opens the text nor
// belongs to an exponent; npos for one term, and 0 when there are more than two.
size_t SecondTermAt(const std::string& text) {
  size_t at = std::string::npos;
  for (size_t i = 1; i < text.size(); ++i) {
    if ((text[i] != '+' && text[i] != '-') || text[i - 1] == 'e' || text[i - 1] == 'E') continue;
    if (at != std::string::npos) return 0;
    at = i;
  }
  return at;
}

std::optional<Complex> Rectangular(const std::string& text) {
  const size_t split = SecondTermAt(text);
  if (split == 0) return std::nullopt;
  if (split == std::string::npos) return Term(text);
  const std::optional<Complex> first = Term(text.substr(0, split));
  const std::optional<Complex> second = Term(text.substr(split));
  if (!first || !second) return std::nullopt;
  const bool oneOfEach = (first->im == 0.0 && second->re == 0.0) || (first->re == 0.0 && second->im == 0.0);
  const bool firstImaginary = std::any_of(text.begin(), text.begin() + static_cast<long>(split), IsImaginaryUnit);
  const bool secondImaginary = std::any_of(text.begin() + static_cast<long>(split), text.end(), IsImaginaryUnit);
  if (!oneOfEach || firstImaginary == secondImaginary) return std::nullopt;
  return *first + *second;
}

}  // namespace

Answer ReadAnswer(std::string_view text) {
  const std::string compact = Compact(text);
  if (compact.empty()) return {};
  const size_t angleAt = compact.find(kAngleSign);
  const std::optional<Complex> value = angleAt == std::string::npos ? Rectangular(compact) : Polar(compact, angleAt);
  if (!value) return {Answer::Kind::Unreadable, {}};
  return {Answer::Kind::Value, *value};
}

double AllowedDifference(const Tolerance& tolerance) {
  if (tolerance.kind == Tolerance::Kind::Percent) return tolerance.amount / 100.0;
  // Rounding to n significant digits moves a value by at most half a unit of
  // its n-th digit, which is 5·10^-n of it when it starts with a 1.
  return 5.0 * std::pow(10.0, -tolerance.amount);
}

double RelativeDifference(Complex answer, Complex expected, double scale) {
  const double roundOff = 1e-9 * scale;
  const double magnitude = std::hypot(expected.re, expected.im);
  const double difference = std::hypot(answer.re - expected.re, answer.im - expected.im);
  if (magnitude <= roundOff) {
    // The program's value is zero: the answer is right when it is zero too.
    const double answerMagnitude = std::hypot(answer.re, answer.im);
    if (answerMagnitude <= std::max(roundOff, 1e-300)) return 0.0;
    return answerMagnitude / std::max(magnitude, std::max(roundOff, 1e-300));
  }
  return difference / magnitude;
}

bool IsRight(Complex answer, Complex expected, double scale, const Tolerance& tolerance) {
  // The slack keeps an answer exactly at the limit (101 for 100 at 1 %) right
  // whatever the last bit of the division.
  return RelativeDifference(answer, expected, scale) <= AllowedDifference(tolerance) * (1.0 + 1e-12);
}

double LargestMagnitude(const std::vector<Complex>& values) {
  double largest = 0.0;
  for (const Complex& value : values) largest = std::max(largest, std::hypot(value.re, value.im));
  return largest;
}

}  // namespace ohmara
