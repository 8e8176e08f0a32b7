#pragma once
// A random source that answers from a script and records every draw, so a
// test can check the exact sequence of draws and steer the outcome.

#include <gtest/gtest.h>

#include <vector>

#include "model/random_values.h"

namespace ohmara::testing {

class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(std::vector<int> answers) : answers_(std::move(answers)) {}

  // Answers in script order; once the script is used up every draw gives 0.
  int r(int k) override {
    asked.push_back(k);
    const int answer = next_ < answers_.size() ? answers_[next_++] : 0;
    EXPECT_TRUE(answer >= 0 && answer < k) << "scripted " << answer << " for r(" << k << ")";
    return answer;
  }

  bool ScriptUsedUp() const { return next_ == answers_.size(); }

  std::vector<int> asked;  // k of every draw, in order

 private:
  std::vector<int> answers_;
  size_t next_ = 0;
};

}  // namespace ohmara::testing
