#include "model/safe_save.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "model/branch_table_file.h"
#include "model/text_file.h"
#include "support/file_size_limit.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

namespace fs = std::filesystem;

class SafeSaveTest : public ResultsFixture {
 protected:
  void Write(const fs::path& name, const std::string& bytes) { ASSERT_TRUE(WriteTextFile(Path() / name, bytes)); }
  mode_t Mode(const fs::path& name) {
    struct stat st {};
    EXPECT_EQ(::stat((Path() / name).c_str(), &st), 0);
    return st.st_mode & 07777;
  }
  // Names in the directory, so a temporary file left behind shows.
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

// A link is written through to its target and stays a link; the file keeps
// its mode; nothing but the files themselves remains in the directory.
TEST_F(SafeSaveTest, SymlinkIsWrittenThroughAndModeKept) {
  fs::create_directory(Path() / "real");
  Write("real/table.txt", "old\n");
  ::chmod((Path() / "real/table.txt").c_str(), 0640);
  fs::create_symlink("real/table.txt", Path() / "link.txt");
  fs::create_symlink("link.txt", Path() / "link2.txt");

  EXPECT_EQ(SaveFileSafely(Path() / "link2.txt", "new\r\n"), SaveProblem::None);
  EXPECT_TRUE(fs::is_symlink(Path() / "link.txt"));
  EXPECT_TRUE(fs::is_symlink(Path() / "link2.txt"));
  EXPECT_EQ(Bytes("real/table.txt"), "new\r\n");
  EXPECT_EQ(Mode("real/table.txt"), 0640u);
  EXPECT_EQ(Names(), (std::vector<std::string>{"link.txt", "link2.txt", "real"}));
  EXPECT_EQ(fs::directory_iterator(Path() / "real")->path().filename(), "table.txt");

  // A dangling link creates its target.
  fs::create_symlink("made.txt", Path() / "dangling.txt");
  EXPECT_EQ(SaveFileSafely(Path() / "dangling.txt", "x"), SaveProblem::None);
  EXPECT_EQ(Bytes("made.txt"), "x");
  EXPECT_TRUE(fs::is_symlink(Path() / "dangling.txt"));
}

TEST_F(SafeSaveTest, RefusalsLeaveTheFileAsItWas) {
  Write("locked.txt", "old\n");
  ::chmod((Path() / "locked.txt").c_str(), 0400);
  fs::create_directory(Path() / "folder");
  if (::geteuid() == 0) {
    // The superuser may write anything; the file still keeps its mode.
    EXPECT_EQ(SaveFileSafely(Path() / "locked.txt", "new"), SaveProblem::None);
    EXPECT_EQ(Mode("locked.txt"), 0400u);
  } else {
    EXPECT_EQ(SaveFileSafely(Path() / "locked.txt", "new"), SaveProblem::NotPermitted);
    EXPECT_EQ(Bytes("locked.txt"), "old\r\n");
  }
  EXPECT_EQ(SaveFileSafely(Path() / "folder", "new"), SaveProblem::NotAFile);
  EXPECT_EQ(SaveFileSafely(Path() / "missing" / "x.txt", "new"), SaveProblem::CannotWrite);

  Write("table.txt", "1\n1->2\t1\t0\t0\t0\t0\t\n");
  const BranchTable omega = {{"1->2", "10Ω", "", "", "", ""}};
  EXPECT_EQ(SaveBranchTableFileSafely(Path() / "table.txt", omega), SaveProblem::Unencodable);
  EXPECT_EQ(Bytes("table.txt"), "1\r\n1->2\t1\t0\t0\t0\t0\t\r\n");
  EXPECT_EQ(Names(), (std::vector<std::string>{"folder", "locked.txt", "table.txt"}));
}

// Every write and the flush are checked, whoever writes: a file that does not
// fit on the disk, or that its writer left without its end, never replaces
// the old one, and no temporary file stays behind.
TEST_F(SafeSaveTest, AFileThatDoesNotFitKeepsTheOldOne) {
  Write("old.bin", "old");
  const std::string big(64 * 1024, 'x');
  const auto throughStream = [&big](const fs::path& temporary) {
    std::ofstream(temporary, std::ios::binary) << big << "END";  // a stream that ignores its failures
    return FileEndsWith(temporary, "END");
  };
  struct Case {
    const char* what;
    std::function<SaveProblem()> save;
  };
  const Case cases[] = {
      {"bytes", [&] { return SaveFileSafely(Path() / "old.bin", big); }},
      {"writer", [&] { return SaveFileWrittenBy(Path() / "old.bin", throughStream); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    {
      const FileSizeLimit disk(4096);
      EXPECT_EQ(c.save(), SaveProblem::CannotWrite);
    }
    EXPECT_EQ(Bytes("old.bin"), "old");
    EXPECT_EQ(Names(), std::vector<std::string>{"old.bin"});
    EXPECT_EQ(c.save(), SaveProblem::None);  // room again
    EXPECT_EQ(Bytes("old.bin").size(), big.size() + (std::string(c.what) == "writer" ? 3 : 0));
    Write("old.bin", "old");
  }
  EXPECT_EQ(SaveFileWrittenBy(Path() / "old.bin", [](const fs::path&) { return false; }), SaveProblem::CannotWrite);
  EXPECT_EQ(Bytes("old.bin"), "old");
  EXPECT_EQ(Names(), std::vector<std::string>{"old.bin"});
}

TEST(UnencodableCell, NamesTheBranchColumnAndCharacter) {
  const BranchTable table = {{"1->2", "10", "", "", "", ""},
                             {"2->4", "10", "", "", "", ""},
                             {"4->1", "1", "", "5", "2\xE2\x80\xAF", ""}};  // a narrow no-break space
  std::optional<UnencodableCell> cell = FindUnencodableCell(table);
  ASSERT_TRUE(cell);
  EXPECT_EQ(UnencodableCellMessage(table, *cell),
            "Ветвь 3 (4->1), столбец «E, В»: знака «\xE2\x80\xAF» нет в кодировке Windows-1251, в которой хранится "
            "файл. Файл не записан.");
  EXPECT_FALSE(FindUnencodableCell({{"1->2", "Ом №", "", "", "", ""}}));  // Cyrillic and № are in the code page
  EXPECT_EQ(FindUnencodableCell({{"1->2", "10\xFF", "", "", "", ""}})->character, "\xEF\xBF\xBD");
}

TEST_F(SafeSaveTest, Utf8ByteOrderMarkIsSkipped) {
  std::ofstream(Path() / "marked.txt", std::ios::binary) << "\xEF\xBB\xBF"
                                                            "1\r\n1->2\t10\t0\t0\t5\t0\t\r\n";
  const BranchFileReading reading = ReadBranchTableFile(Path() / "marked.txt");
  ASSERT_TRUE(reading.ok());
  EXPECT_EQ(reading.table, (BranchTable{{"1->2", "10", "", "", "5", "0"}}));
  std::ofstream(Path() / "utf8.txt", std::ios::binary) << "\xEF\xBB\xBF"
                                                          "Ток\n";
  EXPECT_EQ(ReadTextFile(Path() / "utf8.txt"), "Ток\n");
}

}  // namespace
}  // namespace ohmara
