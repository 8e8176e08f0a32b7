#pragma once
// A set of class variants: random circuits of the same difficulty, each
// tested and solved before it is handed out, with its answer key. A seed and
// the settings make the set again byte for byte, so a teacher can reprint it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "analysis/branch_impedances.h"
#include "cli/circuit_answer.h"
#include "model/branch.h"
#include "model/errors.h"

namespace ohmara {

inline constexpr int kMaxVariants = 200;

// How many circuits one variant may draw before the set is refused: a
// variant whose circuit a chosen method cannot solve is drawn again.
inline constexpr int kVariantAttempts = 50;

inline constexpr char kVariantsTaskText[] =
    "Найти токи ветвей методом контурных токов и методом узловых потенциалов; составить баланс мощностей";
inline constexpr char kAnyJunctionText[] = "любой узел, где сходятся три ветви";

struct VariantSettings {
  int count = 30;       // 1..kMaxVariants
  int firstNumber = 1;  // the number of the first card
  std::uint64_t seed = 1;
  int loops = 3;                        // K, as the random generator takes it
  int points = 6;                       // P
  FrequencySetting frequency{"50", 0};  // an empty text: each variant keeps the generator's own
  std::optional<int> zeroNode;          // none: a junction drawn for each variant
  std::vector<Method> methods{Method::Mesh, Method::Nodal, Method::Optimal};
};

// Settings that cannot make a set, worded for the teacher; none when they can.
std::optional<std::string> VariantSettingsProblem(const VariantSettings& settings);

struct Variant {
  int number = 0;
  BranchTable table;
  FrequencySetting frequency;
  int zeroNode = 0;
  CircuitAnswer answer;  // every chosen method, solved with zeroNode at zero potential
};

// No circuit within kVariantAttempts passed "Тест" and every chosen method.
class NoSolvableVariant : public Refusal {
 public:
  explicit NoSolvableVariant(const std::string& message) : Refusal(RefusalKind::Variants, message) {}
};

// Throws std::invalid_argument for settings with a problem, NoSolvableVariant
// when a variant cannot be drawn.
std::vector<Variant> MakeVariants(const VariantSettings& settings);

// "variant-07.txt": the number padded to the width of the largest number of
// the set, at least two digits.
std::string VariantFileName(int number, int largestNumber);

// Writes every variant's branch-table file into `folder` through the safe
// save; returns the messages of the files that could not be written.
std::vector<std::string> WriteVariantFiles(const std::filesystem::path& folder, const std::vector<Variant>& variants);

// The zero node as a card states it.
std::string ZeroNodeText(const Variant& variant);
std::string CardFrequencyText(const FrequencySetting& frequency);

// The answer key of one variant as lines: the loops, the loop currents, the
// node potentials, the branch currents in rectangular and polar form and
// the power balance of every method solved.
std::vector<std::string> AnswerKeyLines(const Variant& variant);

}  // namespace ohmara
