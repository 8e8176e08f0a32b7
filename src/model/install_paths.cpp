#include "model/install_paths.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace ohmara {

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

const char* OhmaraVersion() { return OHMARA_VERSION; }

UserFolders CurrentUserFolders() { return {Variable("XDG_DATA_HOME"), Variable("HOME")}; }

std::filesystem::path UserResultsFolder(const UserFolders& user) {
  std::filesystem::path data(user.xdgDataHome);
  if (!data.is_absolute()) {
    if (user.home.empty()) return {};
    data = std::filesystem::path(user.home) / ".local" / "share";
  }
  return data / "ohmara" / "Results";
}

bool CanWriteInto(const std::filesystem::path& folder) { return ::access(folder.c_str(), W_OK | X_OK) == 0; }

std::filesystem::path ResultsFolderFor(const std::filesystem::path& executable, const UserFolders& user,
                                       const std::function<bool(const std::filesystem::path&)>& canWrite) {
  const std::filesystem::path beside = executable.parent_path() / "Results";
  std::error_code error;
  const bool exists = std::filesystem::is_directory(beside, error);
  if (canWrite(exists ? beside : executable.parent_path())) return beside;
  std::filesystem::path own = UserResultsFolder(user);
  // With no user folder either, the failure to write is reported per file.
  return own.empty() ? beside : own;
}

std::vector<std::filesystem::path> PictureFolders(const std::filesystem::path& currentFolder,
                                                  const std::filesystem::path& executableFolder) {
  return {currentFolder / "Pictures", executableFolder / "Pictures",
          (executableFolder / ".." / "share" / "ohmara" / "Pictures").lexically_normal()};
}

}  // namespace ohmara
