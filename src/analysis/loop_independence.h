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

#include <cstdint>
#include <vector>

#include "model/circuit.h"

namespace ohmara {

class LoopIndependence {
 public:
  explicit LoopIndependence(const std::vector<TBranch>& branches);

  // The incidence row of `loop` over the branches (a branch met twice adds up).
  std::vector<int> Incidence(const TLoop& loop) const;

  // True when `loop` would raise the rank of the loops kept.
  bool IsIndependent(const TLoop& loop);
  // Keeps `loop` when it is independent; says whether it was kept.
  bool Add(const TLoop& loop);
  int Rank() const { return static_cast<int>(kept_.size()); }

 private:
  // Row echelon form of the kept rows modulo one prime.
  struct ModularEchelon {
    uint32_t prime = 0;
    std::vector<std::vector<uint32_t>> rows;  // each normalised to 1 at its pivot
    std::vector<int> pivots;
    std::vector<uint32_t> Residue(const std::vector<int>& row) const;
    // Adds the row when its residue is not zero.
    void Insert(const std::vector<int>& row);
  };

  static bool IsZero(const std::vector<uint32_t>& row);
  static double HadamardBits(const std::vector<int>& row);
  bool IndependentRow(const std::vector<int>& row);
  void EnsurePrimes(int count);

  const std::vector<TBranch>& branches_;
  std::vector<std::vector<int>> kept_;
  double keptBits_ = 0.0;
  std::vector<ModularEchelon> echelons_;
};

}  // namespace ohmara
