#pragma once
// Random exercises: K small loops chained so that each shares one branch with
// the one before, every point 1..P not yet used threaded into the last loop,
// random element values on every branch and a random frequency.

#include <stdexcept>
#include <string>
#include <vector>

#include "model/branch.h"
#include "model/errors.h"
#include "model/int_set.h"
#include "model/random_values.h"
#include "model/results_directory.h"

namespace ohmara {

// One generated loop: branch i starts where branch i-1 ends and the last one
// ends where branch 0 starts. Only From and To are used.
struct RandomLoop {
  std::vector<CircuitBranch> LoopBranches;
  IntSet Nodes;
  int Count() const { return static_cast<int>(LoopBranches.size()); }
};

// One branch of the generated circuit with its element values (ohms,
// millihenries, microfarads, volts, degrees).
struct RandomBranch {
  int From = 0;
  int To = 0;
  int R = 0;
  int L = 0;
  int C = 0;
  int E = 0;
  int Angle = 0;
};

struct RandomCircuit {
  std::vector<RandomLoop> Loops;
  std::vector<RandomBranch> RandBranches;  // no node pair twice, in either orientation
  std::string Description;                 // the text of randomCir.txt
  int Frequency = 0;                       // 10..24, in the unit chosen on screen
  BranchTable Table;                       // the rows of the branch table
};

inline constexpr char kRandomCircuitFile[] = "randomCir.txt";

// The settings the generator takes: 2 <= points <= 19, 2 <= loops <= 9.
bool RandomSettingsAccepted(int loops, int points);

// The circuit test wants every loop to pass through at least two nodes where
// three or more branches meet. Two points give a single branch on no loop,
// three a lone triangle; from four points on such a circuit can be built.
bool RandomCircuitPossible(int points);

// How many times the loops are drawn anew before the generator gives up.
// In practice only four points need more than one attempt: there up to one
// drawing in seven folds one loop onto another (two loops; fewer with more),
// so giving up is out of reach; the bound keeps the window from freezing
// whatever the random source does.
inline constexpr int kRandomCircuitAttempts = 200;

// No drawing of the loops within kRandomCircuitAttempts passed the circuit
// test; nothing was written.
class NoTestableRandomCircuit : public Refusal {
 public:
  explicit NoTestableRandomCircuit(const std::string& message) : Refusal(RefusalKind::Generator, message) {}
};

// Chains `loops` loops over the points 1..`points`, draws the element values
// and the frequency, and writes the description to randomCir.txt (a file
// that cannot be written is noted by `results` and does not stop it).
// Loops whose circuit would fail the structural checks of the circuit test
// are thrown away and drawn again, before any element value is drawn; the
// student never gets an exercise that "Тест" rejects. Throws
// NoTestableRandomCircuit when no attempt passes, and std::invalid_argument
// unless RandomCircuitPossible(points) and loops >= 2 (a single loop is a
// ring without a node where three branches meet).
RandomCircuit GenerateRandomCircuit(int loops, int points, RandomSource& random, ResultsDirectory& results);

// The rows of the branch table for `branches`: "From->To", the values that
// are not 0, and the angle whenever E is present.
BranchTable RandomBranchTable(const std::vector<RandomBranch>& branches);

}  // namespace ohmara
