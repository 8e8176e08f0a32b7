#include "analysis/loop_independence.h"

#include <cmath>

namespace ohmara {

namespace {

constexpr int kPrimeBits = 30;  // every prime used exceeds 2^30
constexpr uint32_t kFirstPrime = 0x7FFFFFFFu;

bool IsPrime(uint32_t n) {
  if (n < 2) return false;
  if (n % 2 == 0) return n == 2;
  for (uint32_t d = 3; d <= n / d; d += 2)
    if (n % d == 0) return false;
  return true;
}

// The primes below 2^31 in descending order, as many as asked for; found
// once and kept, since most circuits need only the first.
uint32_t NthPrime(size_t index) {
  static std::vector<uint32_t> primes;
  uint32_t candidate = primes.empty() ? 0x7FFFFFFFu : primes.back() - 2;
  while (primes.size() <= index) {
    while (!IsPrime(candidate)) candidate -= 2;
    primes.push_back(candidate);
    candidate -= 2;
  }
  return primes[index];
}

uint32_t PowMod(uint64_t base, uint32_t exponent, uint32_t prime) {
  uint64_t result = 1;
  base %= prime;
  for (; exponent; exponent >>= 1) {
    if (exponent & 1) result = result * base % prime;
    base = base * base % prime;
  }
  return static_cast<uint32_t>(result);
}

uint32_t ToResidue(int value, uint32_t prime) {
  const int64_t r = static_cast<int64_t>(value) % static_cast<int64_t>(prime);
  return static_cast<uint32_t>(r < 0 ? r + prime : r);
}

// Reductions of a product of two residues (below 2^62) plus a residue.
struct PlainReduce {
  static uint32_t Reduce(uint64_t x, uint32_t prime) { return static_cast<uint32_t>(x % prime); }
};
// 2^31 - 1, the first prime, where the remainder needs no division; nearly
// all the work of a dense circuit is done modulo it.
struct MersenneReduce {
  static uint32_t Reduce(uint64_t x, uint32_t) {
    x = (x & kFirstPrime) + (x >> 31);
    x = (x & kFirstPrime) + (x >> 31);
    return static_cast<uint32_t>(x >= kFirstPrime ? x - kFirstPrime : x);
  }
};

// residue -= residue[pivot] * row, entry by entry; the row is zero before its pivot.
template <class Reduction>
void SubtractMultiple(std::vector<uint32_t>& residue, const std::vector<uint32_t>& row, int pivot, uint32_t prime) {
  const uint64_t factor = residue[pivot];
  if (factor == 0) return;
  const uint64_t negated = prime - factor;
  for (size_t c = pivot; c < residue.size(); ++c) residue[c] = Reduction::Reduce(residue[c] + negated * row[c], prime);
}

}  // namespace

LoopIndependence::LoopIndependence(const std::vector<CircuitBranch>& branches) : branches_(branches) {}

std::vector<int> LoopIndependence::Incidence(const Loop& loop) const {
  std::vector<int> row(branches_.size(), 0);
  for (int k = 0; k < loop.StepCount(); ++k) row[loop.Branches[k]] += loop.Forward(branches_, k) ? 1 : -1;
  return row;
}

std::vector<uint32_t> LoopIndependence::ModularEchelon::Residue(const std::vector<int>& row) const {
  std::vector<uint32_t> residue(row.size());
  for (size_t c = 0; c < row.size(); ++c) residue[c] = ToResidue(row[c], prime);
  // Rows are taken in the order they were inserted: each is zero at the
  // pivots of those before it, so a cleared pivot stays cleared.
  if (prime == kFirstPrime) {
    for (size_t i = 0; i < rows.size(); ++i) SubtractMultiple<MersenneReduce>(residue, rows[i], pivots[i], prime);
  } else {
    for (size_t i = 0; i < rows.size(); ++i) SubtractMultiple<PlainReduce>(residue, rows[i], pivots[i], prime);
  }
  return residue;
}

void LoopIndependence::ModularEchelon::Absorb(std::vector<uint32_t> residue) {
  ++absorbed;
  int pivot = 0;
  while (pivot < static_cast<int>(residue.size()) && residue[pivot] == 0) ++pivot;
  if (pivot == static_cast<int>(residue.size())) return;
  const uint64_t inverse = PowMod(residue[pivot], prime - 2, prime);
  for (uint32_t& entry : residue) entry = static_cast<uint32_t>(entry * inverse % prime);
  rows.push_back(std::move(residue));
  pivots.push_back(pivot);
}

bool LoopIndependence::IsZero(const std::vector<uint32_t>& row) {
  for (uint32_t entry : row)
    if (entry != 0) return false;
  return true;
}

// log2 of the Euclidean length of the row: the rows' lengths multiplied bound
// every minor of the matrix they form.
double LoopIndependence::HadamardBits(const std::vector<int>& row) {
  double squares = 0.0;
  for (int entry : row) squares += static_cast<double>(entry) * entry;
  return squares > 0.0 ? 0.5 * std::log2(squares) : 0.0;
}

void LoopIndependence::CatchUp(ModularEchelon& echelon) const {
  while (echelon.absorbed < kept_.size()) echelon.Absorb(echelon.Residue(kept_[echelon.absorbed]));
}

void LoopIndependence::EnsurePrimes(int count) {
  while (static_cast<int>(echelons_.size()) < count) {
    ModularEchelon echelon;
    echelon.prime = NthPrime(echelons_.size());
    echelons_.push_back(std::move(echelon));
  }
}

bool LoopIndependence::ConfirmedIndependent(const std::vector<int>& row) {
  // One bit of margin for the rounding of the logarithms.
  const double bits = keptBits_ + HadamardBits(row) + 1.0;
  EnsurePrimes(static_cast<int>(bits / kPrimeBits) + 1);
  for (ModularEchelon& echelon : echelons_) {
    CatchUp(echelon);
    if (echelon.rows.size() == kept_.size() && !IsZero(echelon.Residue(row))) return true;
  }
  return false;
}

// A residue that is not zero modulo the first prime, while that prime's rows
// have the full rank of the kept rows, proves independence over the
// rationals outright.
bool LoopIndependence::IndependentRow(const std::vector<int>& row, std::vector<uint32_t>& firstResidue) {
  EnsurePrimes(1);
  firstResidue = echelons_[0].Residue(row);
  if (echelons_[0].rows.size() == kept_.size() && !IsZero(firstResidue)) return true;
  return ConfirmedIndependent(row);
}

bool LoopIndependence::IsIndependent(const Loop& loop) {
  std::vector<uint32_t> firstResidue;
  return IndependentRow(Incidence(loop), firstResidue);
}

bool LoopIndependence::Add(const Loop& loop) {
  std::vector<int> row = Incidence(loop);
  std::vector<uint32_t> firstResidue;
  if (!IndependentRow(row, firstResidue)) return false;
  echelons_[0].Absorb(std::move(firstResidue));
  keptBits_ += HadamardBits(row);
  kept_.push_back(std::move(row));
  return true;
}

}  // namespace ohmara
