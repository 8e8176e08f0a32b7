#pragma once
// Whether a loop is linearly independent of the loops kept so far, as rows of
// the loop-branch incidence (+1 where a step travels its branch forwards, -1
// backwards, 0 where the loop does not pass), decided exactly over the
// rationals.
//
// The rows are reduced modulo primes just below 2^31, so no entry ever grows
// and nothing is rounded. Independence modulo one prime implies independence
// over the rationals; a nonzero minor can vanish modulo all the primes used
// only if their product divides it, and enough primes are used that their
// product exceeds the Hadamard bound of every minor. So both answers are exact.
//
// A dense circuit needs twenty primes and more by that bound, but nearly
// every loop offered is independent, which the first prime alone proves once
// its reduced rows hold every kept loop. So only the first prime's rows are
// kept current, one loop at a time; the others are brought up to date only
// when a loop looks dependent modulo the first, to confirm it.

#include <cstdint>
#include <vector>

#include "model/circuit.h"

namespace ohmara {

class LoopIndependence {
 public:
  explicit LoopIndependence(const std::vector<CircuitBranch>& branches);

  // The incidence row of `loop` over the branches (a branch met twice adds up).
  std::vector<int> Incidence(const Loop& loop) const;

  // True when `loop` would raise the rank of the loops kept.
  bool IsIndependent(const Loop& loop);
  // Keeps `loop` when it is independent; says whether it was kept.
  bool Add(const Loop& loop);
  int Rank() const { return static_cast<int>(kept_.size()); }

 private:
  // Row echelon form of the first `absorbed` kept rows modulo one prime.
  struct ModularEchelon {
    uint32_t prime = 0;
    std::vector<std::vector<uint32_t>> rows;  // each normalised to 1 at its pivot, zero before it
    std::vector<int> pivots;
    size_t absorbed = 0;
    std::vector<uint32_t> Residue(const std::vector<int>& row) const;
    // Keeps a residue that is not zero as a new row; either way one more
    // kept row is absorbed.
    void Absorb(std::vector<uint32_t> residue);
  };

  static bool IsZero(const std::vector<uint32_t>& row);
  static double HadamardBits(const std::vector<int>& row);
  // The first prime's answer when it proves independence; otherwise the
  // answer of all the primes the bound asks for.
  bool IndependentRow(const std::vector<int>& row, std::vector<uint32_t>& firstResidue);
  bool ConfirmedIndependent(const std::vector<int>& row);
  void EnsurePrimes(int count);
  void CatchUp(ModularEchelon& echelon) const;

  const std::vector<CircuitBranch>& branches_;
  std::vector<std::vector<int>> kept_;
  double keptBits_ = 0.0;
  std::vector<ModularEchelon> echelons_;
};

}  // namespace ohmara
