#pragma once
// A set of the integers 0..255 in 32 bytes: node sets, branch-index sets and
// loop-index sets. Values outside 0..255 are never members.

#include <array>
#include <cstdint>

namespace ohmara {

class IntSet {
 public:
  static constexpr int kLimit = 256;

  void clear() { bytes_.fill(0); }
  void add(int v) {
    if (InRange(v)) bytes_[v >> 3] |= static_cast<uint8_t>(1u << (v & 7));
  }
  void remove(int v) {
    if (InRange(v)) bytes_[v >> 3] &= static_cast<uint8_t>(~(1u << (v & 7)));
  }
  bool contains(int v) const { return InRange(v) && (bytes_[v >> 3] >> (v & 7)) & 1u; }
  void unite(const IntSet& other) {
    for (int i = 0; i < 32; ++i) bytes_[i] |= other.bytes_[i];
  }
  bool empty() const {
    for (uint8_t b : bytes_)
      if (b) return false;
    return true;
  }
  static IntSet intersect(const IntSet& a, const IntSet& b) {
    IntSet result;
    for (int i = 0; i < 32; ++i) result.bytes_[i] = a.bytes_[i] & b.bytes_[i];
    return result;
  }
  friend bool operator==(const IntSet& a, const IntSet& b) { return a.bytes_ == b.bytes_; }

 private:
  static bool InRange(int v) { return v >= 0 && v < kLimit; }
  std::array<uint8_t, 32> bytes_{};
};

}  // namespace ohmara
