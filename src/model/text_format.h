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
