#include "model/number_text.h"

#include <charconv>
#include <cmath>
#include <string>

#include "model/errors.h"

namespace ohmara {

namespace {

bool IsBlankChar(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankChar(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Sign, digits with at most one decimal point, an optional exponent: the
// plain forms a student types. Rejects "inf", "nan", hex and lone signs.
bool LooksLikeDecimal(std::string_view s) {
  size_t pos = 0;
  if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
  size_t digits = 0;
  bool point = false;
  for (; pos < s.size(); ++pos) {
    if (IsDigit(s[pos])) ++digits;
    else if (s[pos] == '.' && !point) point = true;
    else break;
  }
  if (digits == 0) return false;
  if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
    ++pos;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
    size_t expDigits = 0;
    while (pos < s.size() && IsDigit(s[pos])) ++pos, ++expDigits;
    if (expDigits == 0) return false;
  }
  return pos == s.size();
}

}  // namespace

bool IsBlank(std::string_view text) { return TrimBlanks(text).empty(); }

double StrToFloat(std::string_view text) {
  std::string s(TrimBlanks(text));
  for (char& c : s)
    if (c == ',') c = '.';
  if (!LooksLikeDecimal(s)) throw ConversionError(std::string(text), ConversionError::Kind::Float);
  const char* first = s.data() + (s[0] == '+' ? 1 : 0);
  double value = 0.0;
  auto result = std::from_chars(first, s.data() + s.size(), value);
  if (result.ec != std::errc() || result.ptr != s.data() + s.size() || !std::isfinite(value))
    throw ConversionError(std::string(text), ConversionError::Kind::Float);
  return value;
}

int StrToInt(std::string_view text) {
  std::string_view s = TrimBlanks(text);
  std::string digits(s);
  if (!digits.empty() && digits[0] == '+' && (digits.size() == 1 || digits[1] != '-')) digits.erase(0, 1);
  int value = 0;
  auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || result.ec != std::errc() || result.ptr != digits.data() + digits.size())
    throw ConversionError(std::string(text), ConversionError::Kind::Integer);
  return value;
}

}  // namespace ohmara
