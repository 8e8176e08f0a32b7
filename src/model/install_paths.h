#pragma once
// Where the program finds and leaves its files, whether it runs from its
// build folder or is installed (/usr/bin/ohmara with its pictures in
// /usr/share/ohmara). An installed program cannot write beside itself, so its
// results go to the user's data folder instead.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace ohmara {

// The program's version, as the build names it ("0.1").
const char* OhmaraVersion();

// The two variables the user's data folder is made of.
struct UserFolders {
  std::string xdgDataHome;  // $XDG_DATA_HOME, empty when unset
  std::string home;         // $HOME, empty when unset
};
UserFolders CurrentUserFolders();

// $XDG_DATA_HOME/ohmara/Results, or ~/.local/share/ohmara/Results when the
// variable is unset or not absolute (as the XDG rules ask); empty when
// neither names a folder.
std::filesystem::path UserResultsFolder(const UserFolders& user);

// True when the current user may create and replace files in `folder`.
bool CanWriteInto(const std::filesystem::path& folder);

// The Results folder for the program at `executable`: the one beside it when
// that folder (or, while it is missing, the executable's own folder) can be
// written, as in a build folder; else the user's. `canWrite` is CanWriteInto
// except in tests.
std::filesystem::path ResultsFolderFor(
    const std::filesystem::path& executable, const UserFolders& user,
    const std::function<bool(const std::filesystem::path&)>& canWrite = CanWriteInto);

// The folders searched for the editor's pictures, in order: "Pictures" in
// the current folder, beside the executable, and in the installed share
// folder (<prefix>/share/ohmara/Pictures for <prefix>/bin/ohmara).
std::vector<std::filesystem::path> PictureFolders(const std::filesystem::path& currentFolder,
                                                  const std::filesystem::path& executableFolder);

}  // namespace ohmara
