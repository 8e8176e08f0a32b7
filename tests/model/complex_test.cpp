#include "model/complex.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <random>

#include "model/errors.h"
#include "model/text_format.h"

namespace ohmara {
namespace {

struct TextCase {
  Complex z;
  const char* text;
};

TEST(ComplexToText, ScreenForms) {
  const TextCase cases[] = {
      {{3, 4}, " 3 + j 4"},
      {{3, -4}, " 3 - j 4"},
      {{0, 2.5}, " j 2.5"},
      {{0, -2.5}, " - j 2.5"},
      {{1.25, 0}, " 1.25"},
      {{12.5, -0.125}, "12.5 - j 0.125"},
      {{0, 0}, " 0"},
      {{0, -0.0}, " 0"},
      {{-0.0, 0}, " 0"},
      {{-0.00001, 0}, "-0"},
      {{2, 0.00001}, " 2 + j 0"},
      {{1, 0}, " 1"},
      {{100, 0}, "100"},
      {{1000000, 0}, "1000000"},
      {{0.00004, 0}, " 0"},
      {{-3.33333333, 0}, "-3.3333"},
      // NaN never passes for a zero result.
      {{std::numeric_limits<double>::quiet_NaN(), 0}, "    nan"},
      {{0, std::numeric_limits<double>::quiet_NaN()}, " j nan    "},
  };
  for (const TextCase& c : cases) EXPECT_EQ(ComplexToText(c.z), c.text) << c.z.re << " " << c.z.im;
}

TEST(TrimZeros, CutsTrailingZerosOfFractionsOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {" 3.0000", " 3"}, {"1.2500", "1.25"}, {"4.0000 ", "4"}, {"-0.0000", "-0"}, {"12", "12"}, {"100", "100"},
  };
  for (auto [in, out] : cases) {
    std::string text = in;
    TrimZeros(text);
    EXPECT_EQ(text, out) << in;
  }
}

TEST(PolarDeg, UsesPiAsSixDecimals) {
  EXPECT_EQ(PolarDeg(5, 0), Complex(5, 0));
  const Complex quarter = PolarDeg(10, 90);
  EXPECT_GT(quarter.re, 0.0);
  EXPECT_EQ(quarter.re, 10 * std::cos(90 * 3.141592 * (1.0 / 180)));
  EXPECT_EQ(ComplexToText(quarter), " 0 + j 10");
  const Complex e = PolarDeg(100, 30);
  EXPECT_EQ(ComplexOutText(e, ""), "86.60255+49.99999i");
  EXPECT_EQ(ComplexToText(e), "86.6025 + j 50");
  EXPECT_EQ(PolarDeg(-2, 0), Complex(-2, 0));
}

TEST(ComplexArithmetic, PlainFormulas) {
  const Complex z(3, 4), w(1, -2);
  EXPECT_EQ(z + w, Complex(4, 2));
  EXPECT_EQ(z - w, Complex(2, 6));
  EXPECT_EQ(z * w, Complex(11, -2));
  EXPECT_EQ(z * 2.0, Complex(6, 8));
  EXPECT_EQ(z / Complex(0, 1), Complex(4, -3));
  EXPECT_EQ(conj(z), Complex(3, -4));
  EXPECT_NE(z, w);
}

TEST(ComplexArithmetic, DivisionByZeroThrows) {
  EXPECT_THROW(Complex(1, 1) / Complex(0, 0), DivisionByZero);
  EXPECT_THROW(Complex(0, 0) / Complex(-0.0, 0), DivisionByZero);
  try {
    Divide(Complex(1, 0), Complex(), "Y12");
    FAIL();
  } catch (const DivisionByZero& e) {
    EXPECT_EQ(e.Quantity(), "Y12");
  }
}

// Quotients of representable values stay accurate wherever the quotient is
// representable, far beyond where the squares of the divisor overflow or
// underflow; inside the ordinary range the plain formula's bits are kept.
TEST(ComplexArithmetic, DivisionIsAccurateAtTheEndsOfTheRange) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    Complex z, w, quotient;
  };
  const Case cases[] = {
      {{3, 4}, {1, 2}, {(3.0 * 1 + 4.0 * 2) / 5.0, (4.0 * 1 - 3.0 * 2) / 5.0}},
      {{1e300, 1e300}, {1e300, 1e300}, {1, 0}},
      {{1.5e308, 0}, {1.5e308, 0}, {1, 0}},
      {{1, 0}, {0, 3.2e-161}, {0, -3.125e160}},
      {{1e-300, 0}, {1e-300, 1e-300}, {0.5, -0.5}},
      {{1e308, 0}, {1e154, 1e154}, {5e153, -5e153}},
      {{1e-320, 0}, {1e-320, 0}, {1, 0}},
      {{1e300, 0}, {1e-300, 0}, {inf, 0}},  // not representable: infinite, for the checks to name
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ComplexToText(c.z) + " / " + ComplexToText(c.w));
    const Complex q = c.z / c.w;
    if (std::isinf(c.quotient.re)) {
      EXPECT_TRUE(std::isinf(q.re));
      continue;
    }
    const double scale = std::fmax(std::fabs(c.quotient.re), std::fabs(c.quotient.im));
    EXPECT_LE(std::fabs(q.re - c.quotient.re), 4e-16 * scale) << q.re;
    EXPECT_LE(std::fabs(q.im - c.quotient.im), 4e-16 * scale) << q.im;
  }
  EXPECT_THROW(Complex(1, 1) / Complex(0, 0), DivisionByZero);
  EXPECT_NO_THROW(Complex(1, 1) / Complex(1e-320, 0));
}

TEST(FileForms, SignChoosesTheImaginaryFormat) {
  EXPECT_EQ(ComplexOutText({3, -4}, "\t\t"), "3.00000-4.00000i\t\t");
  EXPECT_EQ(ComplexOutText({3, 4}, "\t\t"), "3.00000+4.00000i\t\t");
  EXPECT_EQ(ComplexOutText({0, 0.0}, ""), "0.00000+0.00000i");
  EXPECT_EQ(ComplexOutText({-0.0, -0.0}, ""), "-0.00000+-0.00000i");  // printf's own output for -0
  EXPECT_EQ(ComplexFileText({1, 0.5}, "%6.3lf", "+%5.3lfi\t", "%4.3lfi\t"), " 1.000+0.500i\t");
  EXPECT_EQ(ComplexFileText({-12.25, -0.5}, "%6.3lf", "+%5.3lfi\t", "%4.3lfi\t"), "-12.250-0.500i\t");
}

TEST(Format, MatchesPrintf) {
  const double values[] = {0.0, -0.0, 1.5, -2.25, 3.14159265, 123456.789, 1e-7, -1e-7, 2.5e10, 0.125, 0.000045};
  const char* formats[] = {"%7.5lf", "%6.3lf", "%4.3lf", "%-7.4lf", "%+5.3lf", "%7.4lf", "%lf", "%010.2f"};
  for (const char* f : formats)
    for (double v : values) {
      char expected[128];
      std::snprintf(expected, sizeof expected, f, v);
      EXPECT_EQ(Format(f, v), expected) << f << " " << v;
    }
  EXPECT_EQ(Format("%d)\tZ%d%d=%s%%", 1, 12, 3, "x"), "1)\tZ123=x%");
  EXPECT_EQ(Format("%5d|%-5d|%d", 42, -7, -2147483647 - 1), "   42|-7   |-2147483648");
}

// The fixed-point writer rounds by an integer where it can; near the halfway
// points of every precision it must still round the exact binary value as
// printf does (ties to even). Random magnitudes from 1e-12 to 1e17, values
// near and exactly on halfway points, each with its neighbouring doubles.
TEST(Format, FixedPointRoundsAsPrintfEverywhere) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> exponent(-12.0, 17.0);
  std::uniform_int_distribution<int> precision(0, 11);
  int mismatches = 0;
  for (int i = 0; i < 200000 && mismatches < 5; ++i) {
    const int p = precision(random);
    double v = std::pow(10.0, exponent(random)) * (random() % 2 ? -1 : 1);
    if (i % 4 == 1) v = (std::floor(v * std::pow(10.0, p)) + 0.5) / std::pow(10.0, p);  // near a halfway point
    if (i % 4 == 3)
      v = std::pow(5.0, p) * static_cast<double>(2 * (random() % (1 << 20)) + 1) /
          std::pow(2.0, p + 1);  // exactly on one
    for (double w : {std::nextafter(v, -1e300), v, std::nextafter(v, 1e300)}) {
      const std::string format = Format("%%%d.%dlf", i % 9, p);
      char expected[512];
      std::snprintf(expected, sizeof expected, format.c_str(), w);
      if (Format(format, w) != expected) {
        ++mismatches;
        ADD_FAILURE() << format << " of " << std::hexfloat << w << ": " << Format(format, w) << " vs " << expected;
      }
    }
  }
}

TEST(Format, KeepsThePointUnderACommaLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  const char* comma = nullptr;
  for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8", "ru_RU.utf8", "de_DE.utf8", "fr_FR.UTF-8"})
    if ((comma = std::setlocale(LC_NUMERIC, name))) break;
  if (!comma) GTEST_SKIP() << "no comma-decimal locale installed";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  EXPECT_STREQ(probe, "1,5");  // the locale really is a comma locale
  EXPECT_EQ(Format("%7.5lf", 1.5), "1.50000");
  EXPECT_EQ(ComplexToText({12.5, -0.125}), "12.5 - j 0.125");
  EXPECT_EQ(ComplexOutText({3, 4}, ""), "3.00000+4.00000i");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace ohmara
