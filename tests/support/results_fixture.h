#pragma once
// A results directory in a fresh scratch directory, and the gtest fixture
// that gives every test its own.

#include <gtest/gtest.h>

#include <string>

#include "model/results_directory.h"
#include "support/scratch_directory.h"

namespace ohmara {

// The ResultsDirectory writes into the scratch directory itself. Usable on
// its own where one test needs several directories (one per table row).
class ScratchResults : public ScratchDirectory {
 public:
  explicit ScratchResults(const std::string& prefix = "ohmara-results") : ScratchDirectory(prefix), results_(Path()) {}

  ResultsDirectory& Results() { return results_; }

 private:
  ResultsDirectory results_;
};

// Results() is a fresh directory for every test; Path() is free for other
// files and directories too.
class ResultsFixture : public ::testing::Test, public ScratchResults {};

}  // namespace ohmara
