#pragma once
// A fresh, empty results directory for one test, removed afterwards, and the
// raw bytes of the files written into it (cp1251, CR LF), for byte-exact
// comparisons.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "model/results_directory.h"

namespace ohmara {

// The bytes of a file exactly as stored; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

// A uniquely named temporary directory with a ResultsDirectory on it. Usable
// on its own where one test needs several directories (one per table row).
class TemporaryResults {
 public:
  TemporaryResults();
  ~TemporaryResults();
  TemporaryResults(const TemporaryResults&) = delete;
  TemporaryResults& operator=(const TemporaryResults&) = delete;

  ResultsDirectory& Results() { return results_; }
  const std::filesystem::path& Directory() const { return directory_; }
  // Raw bytes of a file of the directory; empty when it does not exist.
  std::string Bytes(std::string_view name) const;
  bool Exists(std::string_view name) const;

 private:
  std::filesystem::path directory_;
  ResultsDirectory results_;
};

// gtest fixture: results() is a fresh directory for every test.
class ResultsFixture : public ::testing::Test {
 protected:
  ResultsDirectory& results() { return temporary_.Results(); }
  std::string Bytes(std::string_view name) const { return temporary_.Bytes(name); }
  bool Exists(std::string_view name) const { return temporary_.Exists(name); }
  const std::filesystem::path& Directory() const { return temporary_.Directory(); }

 private:
  TemporaryResults temporary_;
};

}  // namespace ohmara
