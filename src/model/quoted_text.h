#pragma once
// A text the student typed or a file held, made fit to stand in quotes inside
// a message: a token of megabytes or a run of NUL characters must neither
// freeze the message box nor stretch it past the screen.

#include <string>
#include <string_view>

namespace ohmara {

// The longest excerpt, in characters as the reader sees them (an escape
// counts as its visible characters).
inline constexpr int kQuotedTextLength = 40;

// `text` with control characters shown escaped ("\n", "\t", "\r", "\x00",
// "\u0085") and bytes that are not UTF-8 shown as "\xNN"; when that is longer
// than kQuotedTextLength characters, its beginning, cut between characters,
// followed by "…" within the same length.
std::string QuotedText(std::string_view text);

}  // namespace ohmara
