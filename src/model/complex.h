#pragma once
// The complex value every quantity of the analysis is made of, with the
// screen form (ComplexToText) and the fixed forms of the results files.

#include <string>

namespace ohmara {

struct Complex {
  double re = 0.0;
  double im = 0.0;

  constexpr Complex() = default;
  constexpr Complex(double real, double imag) : re(real), im(imag) {}

  Complex& operator+=(Complex w) {
    re += w.re;
    im += w.im;
    return *this;
  }
  Complex& operator-=(Complex w) {
    re -= w.re;
    im -= w.im;
    return *this;
  }
  Complex& operator*=(Complex w);
  Complex& operator*=(double x) {
    re *= x;
    im *= x;
    return *this;
  }
  // Throws DivisionByZero when w is exactly 0 + 0i: the analysis must never
  // carry an inf or NaN into a window or file. Scaled, so the quotient of
  // finite values is accurate wherever it is representable.
  Complex& operator/=(Complex w);

  friend Complex operator+(Complex z, Complex w) { return z += w; }
  friend Complex operator-(Complex z, Complex w) { return z -= w; }
  friend Complex operator*(Complex z, Complex w) { return z *= w; }
  friend Complex operator*(Complex z, double x) { return z *= x; }
  friend Complex operator/(Complex z, Complex w) { return z /= w; }
  friend bool operator==(Complex z, Complex w) { return z.re == w.re && z.im == w.im; }
  friend bool operator!=(Complex z, Complex w) { return !(z == w); }
};

inline double real(Complex z) { return z.re; }
inline double imag(Complex z) { return z.im; }
inline Complex conj(Complex z) { return {z.re, -z.im}; }
inline bool IsZero(Complex z) { return z.re == 0.0 && z.im == 0.0; }
// Both parts neither infinite nor NaN.
bool IsFinite(Complex z);

// Divides, naming `quantity` in the error when w is 0 + 0i.
Complex Divide(Complex z, Complex w, const std::string& quantity);

// magnitude·(cos φ + i sin φ) with φ in degrees; π is taken as 3.141592, as
// the course's worked examples were computed with it.
Complex PolarDeg(double magnitude, double degrees);

// Cuts trailing zeros (and a bare point) of a decimal fraction, passing over
// trailing spaces first; texts without a point are left alone.
void TrimZeros(std::string& text);

// The screen text of z: " 3 + j 4", " - j 2.5", "12.5 - j 0.125", " 0".
std::string ComplexToText(Complex z);

// The forms of the results files: the real part by `realFormat`, then the
// imaginary part by `plusFormat` when it is >= 0 (-0 included), else by
// `minusFormat`.
std::string ComplexFileText(Complex z, const char* realFormat, const char* plusFormat, const char* minusFormat);

// The lines of out.txt: "%7.5lf" then "+%7.5lfi" / "%7.5lfi" and `tail`.
std::string ComplexOutText(Complex z, const char* tail);

}  // namespace ohmara
