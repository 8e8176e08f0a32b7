#include "model/complex.h"

#include <cmath>

#include "model/errors.h"
#include "model/text_format.h"

namespace ohmara {

Complex& Complex::operator*=(Complex w) {
  const double a = re, b = im;
  re = a * w.re - b * w.im;
  im = a * w.im + b * w.re;
  return *this;
}

namespace {

// Inside this band of magnitudes the textbook quotient neither overflows nor
// underflows in its squares and products, so it is accurate; its results
// are kept bit for bit, since the results files print them.
constexpr double kPlainLow = 1e-140;
constexpr double kPlainHigh = 1e140;

double LargerPart(Complex z) { return std::fmax(std::fabs(z.re), std::fabs(z.im)); }

bool InPlainBand(double magnitude) { return magnitude >= kPlainLow && magnitude <= kPlainHigh; }

Complex PlainQuotient(double a, double b, Complex w) {
  const double denominator = w.re * w.re + w.im * w.im;
  return {(a * w.re + b * w.im) / denominator, (b * w.re - a * w.im) / denominator};
}

// Both operands brought to magnitudes near 1 by powers of two (exact), the
// quotient formed there and scaled back: accurate wherever the quotient is
// representable, infinite or zero only where it truly is not.
Complex ScaledQuotient(Complex z, Complex w) {
  int zExponent = 0, wExponent = 0;
  const double zLarger = LargerPart(z);
  if (zLarger != 0.0) std::frexp(zLarger, &zExponent);
  std::frexp(LargerPart(w), &wExponent);
  const Complex zScaled{std::ldexp(z.re, -zExponent), std::ldexp(z.im, -zExponent)};
  const Complex wScaled{std::ldexp(w.re, -wExponent), std::ldexp(w.im, -wExponent)};
  const Complex q = PlainQuotient(zScaled.re, zScaled.im, wScaled);
  return {std::ldexp(q.re, zExponent - wExponent), std::ldexp(q.im, zExponent - wExponent)};
}

}  // namespace

Complex& Complex::operator/=(Complex w) {
  if (IsZero(w)) throw DivisionByZero("");
  const double zLarger = LargerPart(*this);
  const bool plain = InPlainBand(LargerPart(w)) && (zLarger == 0.0 || InPlainBand(zLarger));
  // Infinite or NaN operands take the plain way too, which carries them on
  // for the finiteness checks to name.
  *this = plain || !IsFinite(*this) || !IsFinite(w) ? PlainQuotient(re, im, w) : ScaledQuotient(*this, w);
  return *this;
}

bool IsFinite(Complex z) { return std::isfinite(z.re) && std::isfinite(z.im); }

Complex Divide(Complex z, Complex w, const std::string& quantity) {
  if (IsZero(w)) throw DivisionByZero(quantity);
  return z / w;
}

Complex PolarDeg(double magnitude, double degrees) {
  const double phi = degrees * 3.141592 * (1.0 / 180.0);
  return {magnitude * std::cos(phi), magnitude * std::sin(phi)};
}

void TrimZeros(std::string& text) {
  if (text.find('.') == std::string::npos) return;
  size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  while (end > 0 && text[end - 1] == '0') --end;
  if (end > 0 && text[end - 1] == '.') --end;
  text.resize(end);
}

namespace {
std::string Trimmed(std::string text) {
  TrimZeros(text);
  return text;
}
// -0 counts as zero; NaN does not, so it can never pass for a zero result.
bool PartIsZero(double part) { return part == 0.0; }

std::string ImaginaryText(double b, bool afterReal) {
  if (b < 0) return " - j " + Trimmed(Format("%-7.4lf", -b));
  return (afterReal ? " + j " : " j ") + Trimmed(Format("%-7.4lf", b));
}
}  // namespace

std::string ComplexToText(Complex z) {
  const bool realZero = PartIsZero(z.re);
  const bool imagZero = PartIsZero(z.im);
  if (realZero && imagZero) return Format(" %d", 0);
  if (realZero) return ImaginaryText(z.im, false);
  std::string text = Trimmed(Format("%7.4lf", z.re));
  if (!imagZero) text += ImaginaryText(z.im, true);
  return text;
}

std::string ComplexFileText(Complex z, const char* realFormat, const char* plusFormat, const char* minusFormat) {
  std::string text = Format(realFormat, z.re);
  // -0 compares >= 0 and so takes the "+" form, printed by printf's rules
  // as "+-0.00000": files written before keep their exact bytes.
  AppendFormat(text, z.im >= 0.0 ? plusFormat : minusFormat, z.im);
  return text;
}

std::string ComplexOutText(Complex z, const char* tail) {
  std::string text = ComplexFileText(z, "%7.5lf", "+%7.5lfi", "%7.5lfi");
  text += tail;
  return text;
}

}  // namespace ohmara
