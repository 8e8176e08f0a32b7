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

Complex& Complex::operator/=(Complex w) {
  const double denominator = w.re * w.re + w.im * w.im;
  if (denominator == 0.0) throw DivisionByZero("");
  const double a = re, b = im;
  re = (a * w.re + b * w.im) / denominator;
  im = (b * w.re - a * w.im) / denominator;
  return *this;
}

Complex Divide(Complex z, Complex w, const std::string& quantity) {
  if (w.re * w.re + w.im * w.im == 0.0) throw DivisionByZero(quantity);
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
// A part counts as zero unless it compares below or above 0 (so -0 and NaN do).
bool PartIsZero(double part) { return !(part < 0.0 || part > 0.0); }

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
