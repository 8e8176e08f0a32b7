#include "support/results_fixture.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace ohmara {

namespace {

// mkdtemp gives a name no other test process can take at the same moment.
std::filesystem::path MakeTemporaryDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "ohmara-results-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
  return pattern;
}

}  // namespace

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TemporaryResults::TemporaryResults() : directory_(MakeTemporaryDirectory()), results_(directory_) {}

TemporaryResults::~TemporaryResults() {
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
}

std::string TemporaryResults::Bytes(std::string_view name) const { return ReadFileBytes(directory_ / name); }

bool TemporaryResults::Exists(std::string_view name) const {
  std::error_code ignored;
  return std::filesystem::exists(directory_ / name, ignored);
}

}  // namespace ohmara
