#pragma once
// printf-style formatting that never consults the C locale: the results files
// and every number on screen must carry a decimal point whatever LC_NUMERIC
// says. Supports %d, %f/%lf, %s and %% with the flags '-', '+', ' ', '0', a
// width and a precision - all the results files need - and gives exactly
// printf's output for them (std::to_chars rounds as printf does).

#include <initializer_list>
#include <string>
#include <string_view>

namespace ohmara {

class FormatArg {
 public:
  FormatArg(int v) : kind_(Kind::Integer), integer_(v) {}
  FormatArg(long v) : kind_(Kind::Integer), integer_(v) {}
  FormatArg(long long v) : kind_(Kind::Integer), integer_(v) {}
  FormatArg(unsigned v) : kind_(Kind::Integer), integer_(v) {}
  FormatArg(double v) : kind_(Kind::Real), real_(v) {}
  FormatArg(const char* v) : kind_(Kind::Text), text_(v) {}
  FormatArg(std::string_view v) : kind_(Kind::Text), text_(v) {}
  FormatArg(const std::string& v) : kind_(Kind::Text), text_(v) {}

  enum class Kind { Integer, Real, Text };
  Kind kind() const { return kind_; }
  long long integer() const { return integer_; }
  double real() const { return real_; }
  std::string_view text() const { return text_; }

 private:
  Kind kind_;
  long long integer_ = 0;
  double real_ = 0.0;
  std::string_view text_;
};

// One "%f" conversion: its width, precision and flags.
struct FixedFormat {
  int width = 0;
  int precision = 6;
  char positiveSign = 0;  // '+' or ' ' before a value without a minus; 0 for none
  bool left = false;      // '-': blanks after the number instead of before
  bool zeroPad = false;   // '0': zeros between sign and digits (not for inf and nan)
};

// Room WriteFixed needs beyond the width: the digits of the largest double
// at any precision the program uses, with sign and point.
inline constexpr int kFixedTextRoom = 400;

// printf's text of `value` by `format`, written at `out`, which has room for
// max(width, 0) + kFixedTextRoom characters; returns the end. Both the
// general formatter and the solver's trace, which writes millions of
// numbers, go through it.
char* WriteFixed(char* out, double value, const FixedFormat& format);

// Formats `args` into `out` (appending) by the printf format `fmt`.
void AppendFormatted(std::string& out, std::string_view fmt, std::initializer_list<FormatArg> args);

template <class... Args>
std::string Format(std::string_view fmt, const Args&... args) {
  std::string out;
  AppendFormatted(out, fmt, {FormatArg(args)...});
  return out;
}

template <class... Args>
void AppendFormat(std::string& out, std::string_view fmt, const Args&... args) {
  AppendFormatted(out, fmt, {FormatArg(args)...});
}

}  // namespace ohmara
