#include "model/quoted_text.h"

#include <cstdint>

namespace ohmara {

namespace {

constexpr std::string_view kEllipsis = "…";

// One character of the text as it is shown, and the bytes it took.
struct ShownCharacter {
  std::string shown;
  size_t bytes = 1;
  int width = 1;
};

std::string HexEscape(const char* prefix, uint32_t value, int digits) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = prefix;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
  return out;
}

ShownCharacter Escaped(std::string text) {
  const int width = static_cast<int>(text.size());
  return {std::move(text), 1, width};
}

// The length of the well-formed UTF-8 sequence starting at `at`, or 0.
size_t SequenceLength(std::string_view text, size_t at, uint32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[at]);
  size_t length = 0;
  uint32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, codePoint = lead & 0x1F, minimum = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, codePoint = lead & 0x0F, minimum = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, codePoint = lead & 0x07, minimum = 0x10000;
  else return 0;
  if (at + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
  return length;
}

ShownCharacter ShowCharacter(std::string_view text, size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  switch (byte) {
    case '\n':
      return Escaped("\\n");
    case '\t':
      return Escaped("\\t");
    case '\r':
      return Escaped("\\r");
    default:
      break;
  }
  if (byte < 0x20 || byte == 0x7F) return Escaped(HexEscape("\\x", byte, 2));
  if (byte < 0x80) return {std::string(1, static_cast<char>(byte)), 1, 1};
  uint32_t codePoint = 0;
  const size_t length = SequenceLength(text, at, codePoint);
  if (length == 0) return Escaped(HexEscape("\\x", byte, 2));
  if (codePoint <= 0x9F) {
    ShownCharacter control = Escaped(HexEscape("\\u", codePoint, 4));
    control.bytes = length;
    return control;
  }
  return {std::string(text.substr(at, length)), length, 1};
}

}  // namespace

std::string QuotedText(std::string_view text) {
  std::string out;
  size_t cut = 0;  // the length of `out` that still leaves room for the ellipsis
  int width = 0;
  for (size_t at = 0; at < text.size();) {
    ShownCharacter next = ShowCharacter(text, at);
    width += next.width;
    if (width > kQuotedTextLength) {
      out.resize(cut);
      return out += kEllipsis;
    }
    out += next.shown;
    if (width < kQuotedTextLength) cut = out.size();
    at += next.bytes;
  }
  return out;
}

}  // namespace ohmara
