#pragma once
// What every fuzz target shares: the libFuzzer entry point it defines, and a
// check that stops the run loudly (libFuzzer and the corpus replay both see
// an abort as a failure), kept in release builds where assert is not.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace ohmara {

[[noreturn]] inline void FuzzFailure(const std::string& rule, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, rule.c_str());
  std::abort();
}

}  // namespace ohmara

#define FUZZ_CHECK(condition, rule)                                    \
  do {                                                                 \
    if (!(condition)) ::ohmara::FuzzFailure(rule, __FILE__, __LINE__); \
  } while (0)
