#include "model/number_text.h"

#include <algorithm>
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

// For a decimal `from_chars` could not store: whether its magnitude is at
// least 1 (it overflowed) rather than below 1 (it underflowed). The power of
// ten of the first significant digit decides; the exponent saturates, as a
// long one needs only its sign to answer.
bool AtLeastOne(std::string_view s) {
  size_t pos = (s[0] == '+' || s[0] == '-') ? 1 : 0;
  long power = 0;
  bool significant = false, point = false;
  for (; pos < s.size() && s[pos] != 'e' && s[pos] != 'E'; ++pos) {
    if (s[pos] == '.') point = true;
    else if (!significant && s[pos] != '0') significant = true, power += point ? -1 : 0;
    else if (significant && !point) ++power;
    else if (!significant && point) --power;
  }
  if (pos < s.size()) {
    long exponent = 0;
    const bool negative = s[pos + 1] == '-';
    for (pos += (s[pos + 1] == '+' || negative) ? 2 : 1; pos < s.size(); ++pos)
      exponent = std::min(exponent * 10 + (s[pos] - '0'), 100000L);
    power += negative ? -exponent : exponent;
  }
  return power >= 0;
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
  if (result.ec == std::errc::result_out_of_range)
    throw ConversionError(std::string(text), ConversionError::Kind::Float,
                          AtLeastOne(s) ? ConversionError::Reason::TooLarge : ConversionError::Reason::TooSmall);
  if (result.ec != std::errc() || result.ptr != s.data() + s.size() || !std::isfinite(value))
    throw ConversionError(std::string(text), ConversionError::Kind::Float);
  return value;
}

double FieldToFloat(std::string_view text, const std::string& where) {
  try {
    return StrToFloat(text);
  } catch (const ConversionError& bare) {
    throw ConversionError(bare, where);
  }
}

int FieldToInt(std::string_view text, const std::string& where) {
  try {
    return StrToInt(text);
  } catch (const ConversionError& bare) {
    throw ConversionError(bare, where);
  }
}

int StrToInt(std::string_view text) {
  std::string_view s = TrimBlanks(text);
  std::string digits(s);
  if (!digits.empty() && digits[0] == '+' && (digits.size() == 1 || digits[1] != '-')) digits.erase(0, 1);
  int value = 0;
  auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (result.ec == std::errc::result_out_of_range && result.ptr == digits.data() + digits.size())
    throw ConversionError(std::string(text), ConversionError::Kind::Integer, ConversionError::Reason::TooLarge);
  if (digits.empty() || result.ec != std::errc() || result.ptr != digits.data() + digits.size())
    throw ConversionError(std::string(text), ConversionError::Kind::Integer);
  return value;
}

}  // namespace ohmara
