#include "model/quoted_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "analysis/circuit_faults.h"
#include "cli/command_line.h"
#include "editor/scheme_file.h"
#include "editor/table_to_drawing.h"
#include "model/branch.h"
#include "model/errors.h"
#include "model/number_text.h"

namespace ohmara {
namespace {

// Characters of a well-formed UTF-8 text, or -1 when it is not well formed
// or holds a raw control character.
int ShownCharacters(const std::string& text) {
  int count = 0;
  for (size_t at = 0; at < text.size(); ++count) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x20 || lead == 0x7F) return -1;
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || at + length > text.size()) return -1;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) return -1;
    if (length == 2 && static_cast<unsigned char>(text[at + 1]) < 0xA0 && lead == 0xC2) return -1;  // C1 control
    at += length;
  }
  return count;
}

std::string Repeated(const std::string& piece, int times) {
  std::string out;
  for (int k = 0; k < times; ++k) out += piece;
  return out;
}

TEST(QuotedText, ShortTextsStayAndLongOnesAreCutBetweenCharacters) {
  struct Case {
    std::string text;
    std::string quoted;
  };
  const Case cases[] = {
      {"1,2x", "1,2x"},
      {"", ""},
      {"Ветвь", "Ветвь"},
      {Repeated("ж", 40), Repeated("ж", 40)},
      {Repeated("ж", 41), Repeated("ж", 39) + "…"},
      {Repeated("7", 5'000'000), Repeated("7", 39) + "…"},
      {"a\tb\nc\rd", "a\\tb\\nc\\rd"},
      {std::string("1\0"
                   "2",
                   3),
       "1\\x002"},
      {std::string(1000, '\0'), Repeated("\\x00", 9) + "…"},
      {"\x7f\xc2\x85", "\\x7f\\u0085"},
      {"\xff\xd0", "\\xff\\xd0"},  // not UTF-8: each byte shown
      {"\xe2\x82", "\\xe2\\x82"},  // a sequence cut short
      {Repeated("x", 38) + "\t", Repeated("x", 38) + "\\t"},
      {Repeated("x", 38) + "\tz", Repeated("x", 38) + "…"},  // the escape would not fit with the ellipsis
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.quoted);
    EXPECT_EQ(QuotedText(c.text), c.quoted);
  }
}

// Whatever the bytes, the excerpt is readable UTF-8 of at most 40
// characters, and a text that fits is shown whole.
TEST(QuotedText, AnyBytesGiveAShortWellFormedExcerpt) {
  std::mt19937 random(29);
  const std::string alphabet[] = {"a",        "ж",        "€",   "\xf0\x9f\x98\x80", "\n", std::string(1, '\0'), "\x80",
                                  "\xe2\x82", "\xc2\x9f", "\x7f"};
  for (int trial = 0; trial < 2000; ++trial) {
    std::string text;
    const int pieces = std::uniform_int_distribution<int>(0, 60)(random);
    for (int k = 0; k < pieces; ++k) text += alphabet[std::uniform_int_distribution<size_t>(0, 9)(random)];
    SCOPED_TRACE(testing::PrintToString(text));
    const std::string quoted = QuotedText(text);
    const int shown = ShownCharacters(quoted);
    ASSERT_GE(shown, 0);
    EXPECT_LE(shown, kQuotedTextLength);
    const int plain = ShownCharacters(text);
    if (plain >= 0 && plain <= kQuotedTextLength) {
      EXPECT_EQ(quoted, text);
    }
  }
}

// A huge token or branch name is refused with a message of a few lines, not
// with the token itself.
TEST(QuotedText, MessagesQuotingHugeTextsStayShort) {
  const std::string token(5'000'000, '9');
  std::string refusal;
  try {
    StrToFloat(token + "x");
  } catch (const ConversionError& error) {
    refusal = error.what();
    EXPECT_EQ(error.Text().size(), token.size() + 1);  // the whole text stays with the error
  }
  EXPECT_EQ(refusal, "«" + std::string(39, '9') + "…» — не число.");

  const std::string name = std::string(5'000'000, '1') + "->2";
  const BranchTable table = {{"1->2", "1", "", "", "", ""}, {name, "1", "", "", "", ""}};
  CircuitState state;
  CircuitFault fault;
  ParseBranchTable(BranchNames(table), state.Branches, state.NodeCount, false, &fault);
  const std::string line = CircuitFaultLine(fault);
  EXPECT_LT(line.size(), 300u);
  EXPECT_NE(line.find("«" + std::string(39, '1') + "…»"), std::string::npos) << line.substr(0, 300);
  EXPECT_LT(BranchCellPlace(table[1], 2, 1).size(), 200u);
}

// Every reader that names an offending token: a scheme file, a table being
// drawn and a command-line word each quote 39 characters and an ellipsis.
TEST(QuotedText, EveryReaderQuotesOffendingTokensShort) {
  const std::string token(1'000'000, '7');
  const std::string bad = token + "x";
  const std::function<void()> readers[] = {
      [&] { ParseSchemeText(bad, "s.sch"); },
      [&] { ParseSchemeText("1\n2\n" + bad, "s.sch"); },
      [&] {
        LayOutBranchTable({{"1->2", bad, "", "", "", ""}, {"2->1", "1", "", "", "", ""}});
      },
      [&] { FindCommand(bad); },
      [&] {
        ReadSolveRequest(ParseArguments({"solve", "t.txt", "--zero", bad}));
      },
  };
  for (const auto& read : readers) {
    try {
      read();
      ADD_FAILURE() << "accepted";
    } catch (const std::exception& error) {
      const std::string message = error.what();
      SCOPED_TRACE(message.substr(0, 200));
      EXPECT_LT(message.size(), 300u);
      EXPECT_NE(message.find(std::string(39, '7') + "…»"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace ohmara
