#include "model/branch_table_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/results_fixture.h"

namespace ohmara {
namespace {

using BranchTableFileTest = ResultsFixture;

TEST_F(BranchTableFileTest, FileLayoutIsCountThenSixTabTerminatedFieldsInCp1251CrLf) {
  const BranchTable table = {{"1->2", "10", "", "", "5", ""}, {"2->3", "", "30", "", "", ""}};
  EXPECT_EQ(BranchTableFileText(table), "2\n1->2\t10\t0\t0\t5\t0\t\n2->3\t0\t30\t0\t0\t0\t\n");
  EXPECT_EQ(BranchTableFileText({}), "0\n");

  const auto path = Path() / "table.txt";
  ASSERT_TRUE(SaveBranchTableFile(path, {{"1->2", "", "", "", "", "Ом"}}));
  EXPECT_EQ(Bytes("table.txt"), "1\r\n1->2\t0\t0\t0\t0\t\xCE\xEC\t\r\n");
}

// Each row is saved, read back, and compared with what the grid then shows.
TEST_F(BranchTableFileTest, RowsRoundTrip) {
  struct Case {
    const char* what;
    BranchRow saved;
    BranchRow read;
  };
  const Case cases[] = {
      {"a source without angle gets angle 0", {"1->2", "10", "", "", "5", ""}, {"1->2", "10", "", "", "5", "0"}},
      {"an angle without source stays", {"1->2", "10", "", "", "", "30"}, {"1->2", "10", "", "", "", "30"}},
      {"a number keeps its text", {"1->2", "10.50", "", "", "", ""}, {"1->2", "10.50", "", "", "", ""}},
      {"a written zero becomes empty", {"1->2", "0.0", "", "7", "", ""}, {"1->2", "", "", "7", "", ""}},
      {"an empty name becomes 0", {"", "10", "", "", "", ""}, {"0", "10", "", "", "", ""}},
      {"a blank cell is empty", {"1->2", "  ", "", "3", "", ""}, {"1->2", "", "", "3", "", ""}},
      {"blanks around a number go", {"1->2", " 12 ", "", "", "", ""}, {"1->2", "12", "", "", "", ""}},
      {"comma and exponent forms stay", {"1->2", "1,5", "2e1", "", "-5", "-0"}, {"1->2", "1,5", "2e1", "", "-5", "0"}},
      {"a malformed name is kept as it is", {"1-2x", "10", "", "", "", ""}, {"1-2x", "10", "", "", "", ""}},
      {"long tokens are read whole",
       {"10->200", "123456789012.5", "", "", "", "0.00000000001"},
       {"10->200", "123456789012.5", "", "", "", "0.00000000001"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto path = Path() / "t.txt";
    ASSERT_TRUE(SaveBranchTableFile(path, {c.saved, {"2->3", "", "", "1", "", ""}})) << c.what;
    const BranchFileReading reading = ReadBranchTableFile(path);
    ASSERT_TRUE(reading.ok()) << c.what;
    ASSERT_EQ(reading.table.size(), 2u) << c.what;
    EXPECT_EQ(reading.table[0], c.read) << c.what;
  }
}

TEST(BranchTableText, ReadsTokensWhateverTheBlanksAndOnlyTheAnnouncedRows) {
  const BranchFileReading reading = ParseBranchTableText("1\n1->2 10\n0 0\t\t5 45\n2->3 9 9 9 9 9\n");
  ASSERT_TRUE(reading.ok());
  EXPECT_EQ(reading.table, (BranchTable{{"1->2", "10", "", "", "5", "45"}}));
  EXPECT_TRUE(ParseBranchTableText("0\r\n").ok());
  EXPECT_TRUE(ParseBranchTableText("0\r\n").table.empty());
}

TEST(BranchTableText, BadFilesNameTheLineAndGiveNoRows) {
  using P = BranchFileProblem;
  struct Case {
    std::string text;
    P problem;
    int line, row, column;
    std::string token;
  };
  const Case cases[] = {
      {"", P::BadCount, 1, 0, 0, ""},
      {"\n\n", P::BadCount, 3, 0, 0, ""},
      {"two\n", P::BadCount, 1, 0, 0, "two"},
      {"-1\n", P::BadCount, 1, 0, 0, "-1"},
      {"2.5\n", P::BadCount, 1, 0, 0, "2.5"},
      {"99999999999999999999\n", P::BadCount, 1, 0, 0, "99999999999999999999"},
      {"2\n1->2\t10\t0\t0\t5\t0\t\n", P::EndsEarly, 2, 2, 0, ""},
      {"1\n1->2\t10\t0\n", P::EndsEarly, 2, 1, 3, ""},
      {"3\n", P::EndsEarly, 1, 1, 0, ""},
      {"1\n1->2\tabc\t0\t0\t0\t0\t\n", P::NotANumber, 2, 1, 1, "abc"},
      {"2\n1->2 1 0 0 0 0\n\n2->3 0 0 0 0 10x\n", P::NotANumber, 4, 2, 5, "10x"},
      {"1\n1->2 1 0 0 " + std::string(30, '9') + "z 0\n", P::NotANumber, 2, 1, 4, std::string(30, '9') + "z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
    const BranchFileReading reading = ParseBranchTableText(c.text);
    EXPECT_EQ(reading.problem, c.problem) << c.text;
    EXPECT_EQ(reading.line, c.line) << c.text;
    EXPECT_EQ(reading.row, c.row) << c.text;
    EXPECT_EQ(reading.column, c.column) << c.text;
    EXPECT_EQ(reading.token, c.token) << c.text;
    EXPECT_TRUE(reading.table.empty()) << c.text;
  }
}

TEST_F(BranchTableFileTest, MissingFileAndUnwritablePlace) {
  EXPECT_EQ(ReadBranchTableFile(Path() / "none.txt").problem, BranchFileProblem::CannotOpen);
  EXPECT_EQ(ReadBranchTableFile(Path()).problem, BranchFileProblem::CannotOpen);

  const auto path = Path() / "kept.txt";
  ASSERT_TRUE(SaveBranchTableFile(path, {{"1->2", "1", "", "", "", ""}}));
  const auto locked = Path() / "locked";
  std::filesystem::create_directories(locked);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_FALSE(SaveBranchTableFile(Path() / "missing" / "x.txt", {}));
  if (::geteuid() != 0) {
    EXPECT_FALSE(SaveBranchTableFile(locked / "x.txt", {}));
  }
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  EXPECT_EQ(Bytes("kept.txt"), "1\r\n1->2\t1\t0\t0\t0\t0\t\r\n");
}

TEST(BranchTableText, CellsThatCannotBeOneField) {
  struct Case {
    BranchRow row;
    std::optional<int> column;
  };
  const Case cases[] = {
      {{"1->2", "10", "", "", "", ""}, std::nullopt},
      {{"1->2", " 10 ", "  ", "", "\t", ""}, std::nullopt},  // blanks around or alone are harmless
      {{"", "", "", "", "", ""}, std::nullopt},
      {{"1 ->2", "10", "", "", "", ""}, 0},
      {{"1->2 ", "10", "", "", "", ""}, 0},  // trimming would turn a bad name into a good one
      {{"1->2", "1 0", "", "", "", ""}, 1},
      {{"1->2", "1", "", "", "5", "3\n0"}, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
    const std::optional<CellPlace> place = FindUnstorableCell({{"3->1", "", "", "", "", ""}, c.row});
    EXPECT_EQ(place.has_value(), c.column.has_value()) << c.row[0] << "|" << c.row[1];
    if (place && c.column) {
      EXPECT_EQ(place->row, 2);
      EXPECT_EQ(place->column, *c.column);
    }
  }
}

}  // namespace
}  // namespace ohmara
