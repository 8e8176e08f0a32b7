#include "model/install_paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "support/scratch_directory.h"

namespace ohmara {
namespace {

namespace fs = std::filesystem;

TEST(InstallPaths, VersionIsTheBuildsDottedNumber) {
  const std::string version = OhmaraVersion();
  ASSERT_FALSE(version.empty());
  EXPECT_EQ(version.find_first_not_of("0123456789."), std::string::npos) << version;
}

// Where the results go, by which folders may be written and what the user's
// variables say.
TEST(InstallPaths, ResultsFolderBesideTheProgramUnlessItCannotBeWritten) {
  ScratchDirectory dir("ohmara-install-paths");
  const fs::path built = dir.Path() / "build" / "ohmara";
  const fs::path withResults = dir.Path() / "old" / "ohmara";
  fs::create_directories(built.parent_path());
  fs::create_directories(withResults.parent_path() / "Results");
  struct Case {
    const char* what;
    fs::path executable;
    UserFolders user;
    std::set<fs::path> writable;
    fs::path expected;
  };
  const UserFolders user{"/data", "/home/st"};
  const Case cases[] = {
      {"a build folder, Results not made yet", built, user, {built.parent_path()}, built.parent_path() / "Results"},
      {"Results exists and is writable",
       withResults,
       user,
       {withResults.parent_path() / "Results"},
       withResults.parent_path() / "Results"},
      {"Results exists, read-only, in a writable folder",
       withResults,
       user,
       {withResults.parent_path()},
       "/data/ohmara/Results"},
      {"installed: /usr/bin is not writable", "/usr/bin/ohmara", user, {}, "/data/ohmara/Results"},
      {"XDG_DATA_HOME unset", "/usr/bin/ohmara", {"", "/home/st"}, {}, "/home/st/.local/share/ohmara/Results"},
      {"XDG_DATA_HOME relative is ignored",
       "/usr/bin/ohmara",
       {"data", "/home/st"},
       {},
       "/home/st/.local/share/ohmara/Results"},
      {"no user folder at all: beside, failures told per file", "/usr/bin/ohmara", {"", ""}, {}, "/usr/bin/Results"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto canWrite = [&](const fs::path& folder) { return c.writable.count(folder) > 0; };
    EXPECT_EQ(ResultsFolderFor(c.executable, c.user, canWrite), c.expected);
  }
}

TEST(InstallPaths, CanWriteIntoFollowsTheFolderMode) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
  ScratchDirectory dir("ohmara-install-mode");
  EXPECT_TRUE(CanWriteInto(dir.Path()));
  fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(CanWriteInto(dir.Path()));
  EXPECT_FALSE(CanWriteInto(dir.Path() / "missing"));
  fs::permissions(dir.Path(), fs::perms::owner_all);
}

TEST(InstallPaths, PicturesBesideTheProgramThenInTheInstalledShareFolder) {
  EXPECT_EQ(PictureFolders("/home/st", "/usr/bin"),
            (std::vector<fs::path>{"/home/st/Pictures", "/usr/bin/Pictures", "/usr/share/ohmara/Pictures"}));
}

}  // namespace
}  // namespace ohmara
