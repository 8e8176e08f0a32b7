#pragma once
// A fresh directory under the system's temporary directory, removed with its
// contents when the object goes, for tests that write files or run an
// external program. Header-only so that the window tests, which link no core
// test support, can use it too.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

#include "model/text_file.h"

namespace ohmara {

// The bytes of a file exactly as stored (cp1251, CR LF); empty when it cannot
// be read.
inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class ScratchDirectory {
 public:
  // create_directory fails on a name that exists, so a name another test
  // process took at the same moment is never shared: the loop draws again.
  explicit ScratchDirectory(const std::string& prefix = "ohmara") {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (;;) {
      path_ = std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(random()));
      std::error_code error;
      if (std::filesystem::create_directory(path_, error)) return;
      if (error) throw std::filesystem::filesystem_error("cannot create a scratch directory", path_, error);
    }
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  // Raw bytes of a file below the directory; empty when it does not exist.
  std::string Bytes(const std::filesystem::path& name) const { return ReadFileBytes(path_ / name); }
  // A file below the directory as the program reads it back (UTF-8, "\n");
  // empty when it does not exist.
  std::string Text(const std::filesystem::path& name) const {
    return ReadTextFile(path_ / name).value_or(std::string());
  }
  bool Exists(const std::filesystem::path& name) const {
    std::error_code ignored;
    return std::filesystem::exists(path_ / name, ignored);
  }

 private:
  std::filesystem::path path_;
};

}  // namespace ohmara
