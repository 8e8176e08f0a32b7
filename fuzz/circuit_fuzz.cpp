// End to end: a small circuit decoded from the input goes through "Тест"
// and all three methods at every zero node. Whatever the values, each run
// ends in a designed refusal or in finite results with a closed power
// balance, and nothing that is not finite is ever shown.
//
// Layout: byte 0 frequency and unit, byte 1 branch count (its high bit:
// tested as an extended circuit), then six bytes a branch: its two nodes and
// the choices of R, L, C and the source, and in an extended circuit a
// seventh, the current source beside it. Missing bytes read as 0.

#include <array>
#include <string>

#include "fuzz_check.h"
#include "support/every_method.h"

namespace {

using namespace ohmara;

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  unsigned Next() { return pos_ < size_ ? data_[pos_++] : 0; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Half the choices leave an element out, so most circuits stay small; the
// rest span ordinary values and the ends of the double range.
const std::array<const char*, 32> kValues = {"",  "",    "",       "",       "",        "",      "",      "",
                                             "",  "",    "",       "",       "",        "",      "",      "",
                                             "1", "2.2", "10",     "47",     "100",     "0,5",   "1e3",   "1e-3",
                                             "0", "-5",  "1e-160", "1e-305", "1.7e308", "1e308", "1e154", "1e-310"};
const std::array<const char*, 8> kAngles = {"0", "30", "-45", "90", "180", "", "1e300", "-0"};
const std::array<const char*, 8> kFrequencies = {"50", "1", "15", "0", "1e-3", "1e6", "1e308", "1e-300"};

std::string Choice(unsigned byte) { return kValues[byte % kValues.size()]; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes bytes(data, size);
  const unsigned frequencyByte = bytes.Next();
  const FrequencySetting frequency{kFrequencies[frequencyByte % 8], static_cast<int>(frequencyByte / 8 % 3)};
  const unsigned countByte = bytes.Next();
  const unsigned branches = 1 + countByte % 8;
  const bool extended = countByte >= 128;
  BranchTable table;
  for (unsigned k = 0; k < branches; ++k) {
    const unsigned from = 1 + bytes.Next() % 6, to = 1 + bytes.Next() % 6;
    const std::string r = Choice(bytes.Next()), l = Choice(bytes.Next()), c = Choice(bytes.Next());
    const unsigned source = bytes.Next();
    const std::string e = Choice(source);
    BranchRow row{std::to_string(from) + "->" + std::to_string(to), r, l, c, e, kAngles[source / 32 % 8]};
    if (extended) {
      const unsigned current = bytes.Next();
      row[kJColumn] = Choice(current);
      row[kJAngleColumn] = row[kJColumn].empty() ? "" : kAngles[current / 32 % 8];
    }
    table.push_back(row);
  }
  ResultsDirectory results = ResultsDirectory::Discarding();
  EveryMethodRun run;
  const std::string broken = CheckEveryMethod(table, frequency, results, run, extended);
  FUZZ_CHECK(broken.empty(), broken);
  return 0;
}
