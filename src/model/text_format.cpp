#include "model/text_format.h"

#include <charconv>
#include <cmath>
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

// Sign, then digits: pads to the width as printf does.
void AppendPadded(std::string& out, const Conversion& conv, std::string_view sign, std::string_view body) {
  const int length = static_cast<int>(sign.size() + body.size());
  const int pad = conv.width > length ? conv.width - length : 0;
  if (conv.left) {
    out.append(sign).append(body).append(pad, ' ');
  } else if (conv.zero) {
    out.append(sign).append(pad, '0').append(body);
  } else {
    out.append(pad, ' ').append(sign).append(body);
  }
}

std::string_view SignOf(bool negative, const Conversion& conv) {
  if (negative) return "-";
  if (conv.plus) return "+";
  if (conv.space) return " ";
  return "";
}

void AppendInteger(std::string& out, const Conversion& conv, long long value) {
  char buffer[32];
  const bool negative = value < 0;
  const unsigned long long magnitude =
      negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
  AppendPadded(out, conv, SignOf(negative, conv), std::string_view(buffer, result.ptr - buffer));
}

void AppendReal(std::string& out, const Conversion& conv, double value) {
  const int precision = conv.precision < 0 ? 6 : conv.precision;
  const bool negative = std::signbit(value);
  if (!std::isfinite(value)) {
    Conversion plain = conv;
    plain.zero = false;
    AppendPadded(out, plain, SignOf(negative, conv), std::isnan(value) ? "nan" : "inf");
    return;
  }
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, precision);
  AppendPadded(out, conv, SignOf(negative, conv), std::string_view(buffer, result.ptr - buffer));
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
        AppendInteger(out, conv, arg.kind() == FormatArg::Kind::Real ? static_cast<long long>(arg.real()) : arg.integer());
        break;
      case 'f':
        AppendReal(out, conv, arg.kind() == FormatArg::Kind::Integer ? static_cast<double>(arg.integer()) : arg.real());
        break;
      case 's': {
        Conversion plain = conv;
        plain.zero = false;
        std::string_view text = arg.text();
        if (conv.precision >= 0 && static_cast<size_t>(conv.precision) < text.size()) text = text.substr(0, conv.precision);
        AppendPadded(out, plain, "", text);
        break;
      }
      default:
        throw std::invalid_argument(std::string("unsupported conversion %") + conv.type);
    }
  }
}

}  // namespace ohmara
