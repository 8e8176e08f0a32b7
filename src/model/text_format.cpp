#include "model/text_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace ohmara {

namespace {

struct Conversion {
  bool left = false;
  bool plus = false;
  bool space = false;
  bool zero = false;
  int width = 0;
  int precision = -1;
  char type = 0;
};

// Reads one conversion starting just after '%'.
Conversion ParseConversion(std::string_view fmt, size_t& pos) {
  Conversion conv;
  for (; pos < fmt.size(); ++pos) {
    char c = fmt[pos];
    if (c == '-') conv.left = true;
    else if (c == '+') conv.plus = true;
    else if (c == ' ') conv.space = true;
    else if (c == '0') conv.zero = true;
    else break;
  }
  while (pos < fmt.size() && fmt[pos] >= '0' && fmt[pos] <= '9') conv.width = conv.width * 10 + (fmt[pos++] - '0');
  if (pos < fmt.size() && fmt[pos] == '.') {
    ++pos;
    conv.precision = 0;
    while (pos < fmt.size() && fmt[pos] >= '0' && fmt[pos] <= '9')
      conv.precision = conv.precision * 10 + (fmt[pos++] - '0');
  }
  while (pos < fmt.size() && (fmt[pos] == 'l' || fmt[pos] == 'h')) ++pos;
  if (pos >= fmt.size()) throw std::invalid_argument("format ends inside a conversion");
  conv.type = fmt[pos++];
  return conv;
}

constexpr std::array<uint64_t, 10> kPowersOfTen = {1,      10,      100,      1000,      10000,
                                                   100000, 1000000, 10000000, 100000000, 1000000000};

// |value| · 10^precision rounded to the nearest integer, ties to even, as
// printf and std::to_chars round. The rounded product is off the exact one
// by at most half its last place; only when it lies that close to a halfway
// point is the rest computed exactly (by fma) to decide. False when the
// product reaches 2^52, where an integer no longer holds every step.
bool RoundedScaled(double magnitude, int precision, uint64_t& n) {
  const double scale = static_cast<double>(kPowersOfTen[precision]);
  const double high = magnitude * scale;
  if (!(high < 4503599627370496.0)) return false;
  n = static_cast<uint64_t>(high);  // the floor: high is not negative
  const double aboveHalf = (high - static_cast<double>(n)) - 0.5;
  const double error = high * 0x1p-52;
  if (std::fabs(aboveHalf) > error) [[likely]] {
    n += aboveHalf > 0.0;  // no branch on the value: trace digits are as good as random
  } else {
    const double low = std::fma(magnitude, scale, -high);
    if (aboveHalf > -low || (aboveHalf == -low && (n & 1))) ++n;
  }
  return true;
}

// What surrounds the digits of one number: blanks before (right-aligned),
// the sign, zeros ('0' flag) and blanks after ('-' flag).
struct Padding {
  int pad = 0;
  bool zeros = false;
  bool left = false;
};

Padding PaddingOf(const FixedFormat& format, int length, bool zerosAllowed) {
  return {format.width > length ? format.width - length : 0, format.zeroPad && zerosAllowed && !format.left,
          format.left};
}

char* WriteLead(char* out, const Padding& padding, char sign) {
  if (!padding.left && !padding.zeros) out = std::fill_n(out, padding.pad, ' ');
  if (sign) *out++ = sign;
  if (padding.zeros) out = std::fill_n(out, padding.pad, '0');
  return out;
}

char* WriteTail(char* out, const Padding& padding) { return padding.left ? std::fill_n(out, padding.pad, ' ') : out; }

int DecimalDigits(uint64_t n) {
  int digits = 1;
  for (; n >= 10000; n /= 10000) digits += 4;
  return digits + (n >= 10) + (n >= 100) + (n >= 1000);
}

// "00" to "99", two characters each.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// The `digits` last decimal digits of `n`, written at `out`, two at a time.
void WriteDigits(char* out, uint64_t n, int digits) {
  for (; digits >= 2; digits -= 2, n /= 100) std::memcpy(out + digits - 2, &kDigitPairs[2 * (n % 100)], 2);
  if (digits == 1) *out = static_cast<char>('0' + n % 10);
}

// Sign and `digits` padded to the format's width, at `out`.
char* WritePadded(char* out, char sign, std::string_view digits, const FixedFormat& format, bool zerosAllowed) {
  const Padding padding = PaddingOf(format, static_cast<int>(digits.size()) + (sign ? 1 : 0), zerosAllowed);
  out = std::copy(digits.begin(), digits.end(), WriteLead(out, padding, sign));
  return WriteTail(out, padding);
}

// The digits of n / 10^kPrecision with kPrecision decimals, written so that
// they end just before `end`; returns where they start (at most 17
// characters before it, as n < 2^52).
template <int kPrecision>
char* ScaledDigitsBefore(char* end, uint64_t n) {
  if constexpr (kPrecision > 0) {
    end -= kPrecision;
    WriteDigits(end, n % kPowersOfTen[kPrecision], kPrecision);
    *--end = '.';
    n /= kPowersOfTen[kPrecision];
  }
  for (; n >= 100; n /= 100) std::memcpy(end -= 2, &kDigitPairs[2 * (n % 100)], 2);
  if (n >= 10) std::memcpy(end -= 2, &kDigitPairs[2 * n], 2);
  else *--end = static_cast<char>('0' + n);
  return end;
}

constexpr char kBlanks[] = "                ";

// The text of a value whose scaled form fits an integer. The precision is a
// constant here so that the divisions become multiplications. The solver's
// trace writes tens of millions of these, right-aligned in narrow fields:
// there the blanks go as one copy of fixed size (WriteFixed's caller leaves
// room for it) and the digits straight to their places; building them
// elsewhere and copying them over would stall on reading back what was
// just written.
template <int kPrecision>
char* WriteScaled(char* out, uint64_t n, char sign, const FixedFormat& format) {
  const int length = DecimalDigits(n / kPowersOfTen[kPrecision]) + (kPrecision > 0 ? kPrecision + 1 : 0);
  const int pad = format.width - length - (sign ? 1 : 0);
  if (format.left || format.zeroPad || pad > static_cast<int>(sizeof kBlanks) - 1) {
    char digits[32];
    char* const end = digits + sizeof digits;
    return WritePadded(out, sign, {ScaledDigitsBefore<kPrecision>(end, n), static_cast<size_t>(length)}, format, true);
  }
  std::memcpy(out, kBlanks, sizeof kBlanks - 1);
  out += std::max(pad, 0);
  *out = sign;
  out += sign != 0;
  ScaledDigitsBefore<kPrecision>(out + length, n);
  return out + length;
}

char* DispatchScaled(char* out, uint64_t n, char sign, const FixedFormat& format) {
  switch (format.precision) {
    case 0:
      return WriteScaled<0>(out, n, sign, format);
    case 1:
      return WriteScaled<1>(out, n, sign, format);
    case 2:
      return WriteScaled<2>(out, n, sign, format);
    case 3:
      return WriteScaled<3>(out, n, sign, format);
    case 4:
      return WriteScaled<4>(out, n, sign, format);
    case 5:
      return WriteScaled<5>(out, n, sign, format);
    case 6:
      return WriteScaled<6>(out, n, sign, format);
    case 7:
      return WriteScaled<7>(out, n, sign, format);
    case 8:
      return WriteScaled<8>(out, n, sign, format);
    default:
      return WriteScaled<9>(out, n, sign, format);
  }
}

}  // namespace

char* WriteFixed(char* out, double value, const FixedFormat& format) {
  const bool negative = std::signbit(value);
  const char sign = negative ? '-' : format.positiveSign;
  const bool finite = std::isfinite(value);
  uint64_t n = 0;
  if (finite && format.precision >= 0 && format.precision < static_cast<int>(kPowersOfTen.size()) &&
      RoundedScaled(std::fabs(value), format.precision, n))
    return DispatchScaled(out, n, sign, format);
  char body[kFixedTextRoom];
  char* end = body;
  if (!finite) end = std::copy_n(std::isnan(value) ? "nan" : "inf", 3, body);
  else end = std::to_chars(body, body + sizeof body, std::fabs(value), std::chars_format::fixed, format.precision).ptr;
  return WritePadded(out, sign, {body, static_cast<size_t>(end - body)}, format, finite);
}

namespace {

// The conversion's flags, width and precision (6 when not given).
FixedFormat FormatOf(const Conversion& conv) {
  return {conv.width, conv.precision < 0 ? 6 : conv.precision,
          conv.plus    ? '+'
          : conv.space ? ' '
                       : '\0',
          conv.left, conv.zero};
}

// `sign` (0 for none) and `body` padded to the format's width, appended.
void AppendPadded(std::string& out, const FixedFormat& format, char sign, std::string_view body) {
  const size_t start = out.size();
  out.resize(start + std::max(format.width, 0) + body.size() + 1);
  out.resize(WritePadded(out.data() + start, sign, body, format, true) - out.data());
}

void AppendInteger(std::string& out, const Conversion& conv, long long value) {
  char buffer[32];
  const bool negative = value < 0;
  const unsigned long long magnitude =
      negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
  const FixedFormat format = FormatOf(conv);
  AppendPadded(out, format, negative ? '-' : format.positiveSign, std::string_view(buffer, result.ptr - buffer));
}

void AppendReal(std::string& out, const Conversion& conv, double value) {
  const FixedFormat format = FormatOf(conv);
  const size_t start = out.size();
  out.resize(start + std::max(conv.width, 0) + kFixedTextRoom);
  out.resize(WriteFixed(out.data() + start, value, format) - out.data());
}

// Blanks only: printf pads a string with blanks whatever its flags say.
void AppendText(std::string& out, const Conversion& conv, std::string_view text) {
  if (conv.precision >= 0 && static_cast<size_t>(conv.precision) < text.size()) text = text.substr(0, conv.precision);
  FixedFormat format = FormatOf(conv);
  format.zeroPad = false;
  AppendPadded(out, format, 0, text);
}

}  // namespace

void AppendFormatted(std::string& out, std::string_view fmt, std::initializer_list<FormatArg> args) {
  auto next = args.begin();
  auto take = [&]() -> const FormatArg& {
    if (next == args.end()) throw std::invalid_argument("too few arguments for the format");
    return *next++;
  };
  size_t pos = 0;
  while (pos < fmt.size()) {
    const size_t percent = fmt.find('%', pos);
    if (percent == std::string_view::npos) {
      out.append(fmt.substr(pos));
      break;
    }
    out.append(fmt.substr(pos, percent - pos));
    pos = percent + 1;
    if (pos < fmt.size() && fmt[pos] == '%') {
      out.push_back('%');
      ++pos;
      continue;
    }
    const Conversion conv = ParseConversion(fmt, pos);
    const FormatArg& arg = take();
    switch (conv.type) {
      case 'd':
      case 'i':
        AppendInteger(out, conv,
                      arg.kind() == FormatArg::Kind::Real ? static_cast<long long>(arg.real()) : arg.integer());
        break;
      case 'f':
        AppendReal(out, conv, arg.kind() == FormatArg::Kind::Integer ? static_cast<double>(arg.integer()) : arg.real());
        break;
      case 's':
        AppendText(out, conv, arg.text());
        break;
      default:
        throw std::invalid_argument(std::string("unsupported conversion %") + conv.type);
    }
  }
}

}  // namespace ohmara
