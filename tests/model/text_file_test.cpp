#include "model/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "model/errors.h"
#include "model/number_text.h"
#include "model/results_directory.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

using TempDir = ResultsFixture;

// `convert` must throw a ConversionError whose text is `message`.
template <typename Convert>
void ExpectConversionMessage(Convert convert, const char* message) {
  EXPECT_THROW(
      {
        try {
          convert();
        } catch (const ConversionError& e) {
          EXPECT_STREQ(e.what(), message);
          throw;
        }
      },
      ConversionError);
}

TEST(Cp1251, RoundTripsCyrillic) {
  const std::string text = "Контуры в цепи Ёё №";
  const std::string bytes = Utf8ToCp1251(text);
  EXPECT_EQ(bytes.size(), 19u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xCA);   // К
  EXPECT_EQ(static_cast<unsigned char>(bytes[15]), 0xA8);  // Ё
  EXPECT_EQ(Cp1251ToUtf8(bytes), text);
  EXPECT_EQ(ToFileBytes("a\nб\n"), std::string("a\r\n\xE1\r\n"));
}

TEST_F(TempDir, WritersUseCrLfAndAtomicSaveKeepsOldFileOnFailure) {
  const auto path = Path() / "t.txt";
  ASSERT_TRUE(WriteTextFile(path, "1\n"));
  ASSERT_TRUE(AppendTextFile(path, "Ток\n"));
  EXPECT_EQ(Bytes("t.txt"), "1\r\n\xD2\xEE\xEA\r\n");
  EXPECT_EQ(*ReadTextFile(path), "1\nТок\n");
  ASSERT_EQ(SaveTextFileSafely(path, "new\n"), SaveProblem::None);
  EXPECT_EQ(Bytes("t.txt"), "new\r\n");
  EXPECT_EQ(SaveTextFileSafely(Path() / "missing" / "x.txt", "y"), SaveProblem::CannotWrite);
  EXPECT_FALSE(ReadTextFile(Path() / "none.txt").has_value());
  EXPECT_FALSE(ReadTextFile(Path()).has_value());
}

TEST_F(TempDir, ResultsDirectoryCreatesItselfAndReportsFailures) {
  ResultsDirectory results(Path() / "Results");
  results.Rewrite("out.txt", "a\n");
  results.Append("out.txt", "b\n");
  EXPECT_EQ(Bytes("Results/out.txt"), "a\r\nb\r\n");
  EXPECT_TRUE(results.TakeFailedFiles().empty());

  std::ofstream(Path() / "blocker") << "x";  // a file where the directory should be
  ResultsDirectory blocked(Path() / "blocker" / "Results");
  blocked.Append("out.txt", "x");
  blocked.Append("out.txt", "y");
  blocked.Rewrite("adjTable.txt", "z");
  EXPECT_EQ(blocked.TakeFailedFiles(), (std::vector<std::string>{"out.txt", "adjTable.txt"}));
  EXPECT_TRUE(blocked.TakeFailedFiles().empty());
  EXPECT_EQ(ResultsDirectory::BesideExecutable("/opt/app/ohmara").PathOf("out.txt"),
            std::filesystem::path("/opt/app/Results/out.txt"));
}

// A results file is overwritten in place and then cut to its new length:
// a shorter text must leave nothing of the longer one, whichever writer
// replaced it, and a device in the file's place is written without a fault.
TEST_F(TempDir, ReplacedFilesKeepNothingOfTheirLongerPast) {
  const auto path = Path() / "r.txt";
  const std::string longer(5000, 'x');
  const auto streamed = [](const std::filesystem::path& to, const std::string& text) {
    TextFileStream stream(to);
    stream.Write(text);
    return stream.Close();
  };
  const auto whole = [](const std::filesystem::path& to, const std::string& text) { return WriteTextFile(to, text); };
  for (const auto& write : {std::function<bool(const std::filesystem::path&, const std::string&)>(streamed),
                            std::function<bool(const std::filesystem::path&, const std::string&)>(whole)}) {
    ASSERT_TRUE(write(path, longer));
    ASSERT_TRUE(write(path, "short\n"));
    EXPECT_EQ(Bytes("r.txt"), "short\r\n");
    ASSERT_TRUE(write(path, ""));
    EXPECT_EQ(Bytes("r.txt"), "");
  }
  std::filesystem::create_symlink("/dev/null", Path() / "null.txt");
  EXPECT_TRUE(WriteTextFile(Path() / "null.txt", "x\n"));
  EXPECT_TRUE(streamed(Path() / "null.txt", "x\n"));
}

// A results file whose name is a link to another file is replaced by a file
// of its own, whichever writer comes: the linked file is never touched. A
// pipe without a reader is refused at once instead of hanging the command.
TEST_F(TempDir, LinksInTheResultsFolderAreReplacedNotWrittenThrough) {
  namespace fs = std::filesystem;
  const auto streamed = [](const fs::path& to, const std::string& text) {
    TextFileStream stream(to);
    stream.Write(text);
    return stream.Close();
  };
  const auto whole = [](const fs::path& to, const std::string& text) { return WriteTextFile(to, text); };
  const auto appended = [](const fs::path& to, const std::string& text) { return AppendTextFile(to, text); };
  using Writer = std::function<bool(const fs::path&, const std::string&)>;
  for (const Writer& write : {Writer(streamed), Writer(whole), Writer(appended)}) {
    ASSERT_TRUE(WriteTextFile(Path() / "victim.txt", "keep\n"));
    fs::remove(Path() / "out.txt");
    fs::create_symlink(Path() / "victim.txt", Path() / "out.txt");
    EXPECT_TRUE(write(Path() / "out.txt", "new\n"));
    EXPECT_EQ(Bytes("victim.txt"), "keep\r\n");
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(Path() / "out.txt")));
    EXPECT_EQ(Bytes("out.txt"), "new\r\n");
  }
  ASSERT_EQ(::mkfifo((Path() / "pipe.txt").c_str(), 0600), 0);
  EXPECT_FALSE(WriteTextFile(Path() / "pipe.txt", "x\n"));
}

// A held file is written once, when the hold ends (by an exception too),
// and ends up as the single writes would have left it; other files are
// written at once.
TEST_F(TempDir, HeldFileIsWrittenOnceAsTheSingleWritesWouldLeaveIt) {
  ResultsDirectory results(Path());
  results.Rewrite("out.txt", "old\n");
  try {
    const ResultsDirectory::Holding hold = results.Hold("out.txt");
    results.Rewrite("out.txt", "");
    results.Append("out.txt", "a\n");
    results.Append("out.txt", "б\n");
    results.Rewrite("adjTable.txt", "t\n");
    EXPECT_EQ(Bytes("out.txt"), "old\r\n");
    EXPECT_EQ(Bytes("adjTable.txt"), "t\r\n");
    throw std::runtime_error("stopped");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(Bytes("out.txt"), "a\r\n\xE1\r\n");
  {
    const ResultsDirectory::Holding hold = results.Hold("out.txt");
    results.Append("out.txt", "c\n");
  }
  EXPECT_EQ(Bytes("out.txt"), "a\r\n\xE1\r\nc\r\n");
  EXPECT_TRUE(results.TakeFailedFiles().empty());
}

TEST(ResultsDirectory, DiscardingWritesNothingAndNotesNoFailure) {
  ResultsDirectory discarding = ResultsDirectory::Discarding();
  const std::string name = "ohmara-discarded.txt";
  discarding.Rewrite(name, "a\n");
  discarding.Append(name, "b\n");
  EXPECT_FALSE(std::filesystem::exists(discarding.PathOf(name)));
  EXPECT_TRUE(discarding.TakeFailedFiles().empty());
}

TEST(TokenReader, TokensOfAnyLengthWithTheirLines) {
  TokenReader reader("2\r\n1->2\t" + std::string(40, '7') + "\t\n\n  x");
  std::string token;
  ASSERT_TRUE(reader.Next(token));
  EXPECT_EQ(token, "2");
  ASSERT_TRUE(reader.Next(token));
  EXPECT_EQ(token, "1->2");
  EXPECT_EQ(reader.Line(), 2);
  ASSERT_TRUE(reader.Next(token));
  EXPECT_EQ(token.size(), 40u);
  ASSERT_TRUE(reader.Next(token));
  EXPECT_EQ(token, "x");
  EXPECT_EQ(reader.Line(), 4);
  EXPECT_FALSE(reader.Next(token));
}

TEST(NumberText, StrictConversion) {
  EXPECT_EQ(StrToFloat("10.50"), 10.5);
  EXPECT_EQ(StrToFloat(" 1,25 "), 1.25);
  EXPECT_EQ(StrToFloat("-3"), -3);
  EXPECT_EQ(StrToFloat("+2e3"), 2000);
  EXPECT_EQ(StrToFloat(".5"), 0.5);
  EXPECT_EQ(StrToFloat("1e-310"), 1e-310);  // subnormal, but stored
  EXPECT_EQ(StrToFloat("0e-999"), 0.0);
  for (const char* bad : {"", " ", "1,2x", "1.2.3", "1,2,3", "inf", "nan", "0x10", "e5", "-", "1e", "1 2", "1e999"}) {
    EXPECT_THROW(StrToFloat(bad), ConversionError) << bad;
  }
  // Each refusal says what is wrong with the text, and a field names its place.
  const std::pair<const char*, const char*> refusals[] = {
      {"1,2x", "«1,2x» — не число."},
      {" ", "пусто, а нужно число."},
      {"1e400", "«1e400» — слишком большое число (больше 1.79e308 по модулю)."},
      {"-1.8e308", "«-1.8e308» — слишком большое число (больше 1.79e308 по модулю)."},
      {"1e-400", "«1e-400» — слишком маленькое число: не ноль, но меньше 4.9e-324 по модулю."},
      {"0,00001e-320", "«0,00001e-320» — слишком маленькое число: не ноль, но меньше 4.9e-324 по модулю."},
      {"123456e-99999999999999",
       "«123456e-99999999999999» — слишком маленькое число: не ноль, но меньше 4.9e-324 по модулю."},
  };
  for (const auto& [text, message] : refusals) {
    SCOPED_TRACE(text);
    ExpectConversionMessage([text = text] { StrToFloat(text); }, message);
  }
  ExpectConversionMessage([] { FieldToFloat("abc", "Частота"); }, "Частота: «abc» — не число.");
  EXPECT_EQ(StrToInt(" 3 "), 3);
  EXPECT_EQ(StrToInt("-7"), -7);
  EXPECT_EQ(StrToInt("+4"), 4);
  for (const char* bad : {"", "abc", "3.0", "+-5", "99999999999", "1 2"})
    EXPECT_THROW(StrToInt(bad), ConversionError) << bad;
  ExpectConversionMessage([] { StrToInt("abc"); }, "«abc» — не целое число.");
}

}  // namespace
}  // namespace ohmara
