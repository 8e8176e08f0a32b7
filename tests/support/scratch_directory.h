#pragma once
// A fresh directory under the system's temporary directory, removed with its
// contents when the object goes, for tests that write results files or run
// an external program.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace ohmara {

class ScratchDirectory {
 public:
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

  // The raw bytes of a file in the directory; empty when it does not exist.
  std::string Bytes(const std::string& name) const {
    std::ifstream file(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }

 private:
  std::filesystem::path path_;
};

}  // namespace ohmara
