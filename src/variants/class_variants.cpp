#include "variants/class_variants.h"

#include <stdexcept>

#include "analysis/mesh_current.h"
#include "analysis/refusal_text.h"
#include "generator/random_circuit.h"
#include "model/branch_table_file.h"
#include "model/complex.h"
#include "model/polar_text.h"
#include "model/random_values.h"
#include "model/results_directory.h"

namespace ohmara {

namespace {

// Each variant draws from its own stream, so a variant drawn again leaves
// the others as they were.
std::uint64_t VariantSeed(std::uint64_t seed, int index) {
  std::uint64_t z = seed + 0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(index + 1);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

bool AllFinite(const std::vector<Complex>& values) {
  for (Complex value : values)
    if (!IsFinite(value)) return false;
  return true;
}

// Every chosen method went to the end with numbers a student can check.
bool SolvedByEveryMethod(const CircuitAnswer& answer, const std::vector<Method>& methods) {
  if (answer.methods.size() != methods.size()) return false;
  for (const MethodAnswer& method : answer.methods)
    if (!AllFinite(method.branchCurrents) || !AllFinite(method.loopCurrents) || !AllFinite(method.potentials) ||
        !IsFinite(method.sourcePower) || !IsFinite(method.consumedPower))
      return false;
  return true;
}

std::optional<Variant> DrawVariant(const VariantSettings& settings, int number, RandomSource& random) {
  ResultsDirectory discarded = ResultsDirectory::Discarding();
  const RandomCircuit circuit = GenerateRandomCircuit(settings.loops, settings.points, random, discarded);
  Variant variant{number, circuit.Table, settings.frequency, 0, {}};
  if (variant.frequency.text.empty()) variant.frequency = {std::to_string(circuit.Frequency), 0};
  try {
    if (settings.zeroNode) {
      variant.zeroNode = *settings.zeroNode;
    } else {
      const std::vector<int> junctions = SolveCircuit(variant.table, variant.frequency, 1, {}).junctions;
      if (junctions.empty()) return std::nullopt;
      variant.zeroNode = junctions[random.r(static_cast<int>(junctions.size()))];
    }
    variant.answer = SolveCircuit(variant.table, variant.frequency, variant.zeroNode, settings.methods);
  } catch (const CommandRefusal&) {
    return std::nullopt;
  }
  if (!SolvedByEveryMethod(variant.answer, settings.methods)) return std::nullopt;
  return variant;
}

}  // namespace

std::optional<std::string> VariantSettingsProblem(const VariantSettings& settings) {
  if (settings.count < 1 || settings.count > kMaxVariants)
    return "Число вариантов должно быть от 1 до " + std::to_string(kMaxVariants) + ".";
  if (settings.firstNumber < 0 || settings.firstNumber > 1000000 - settings.count)
    return "Номер первого варианта должен быть от 0 до " + std::to_string(1000000 - settings.count) + ".";
  if (!RandomSettingsAccepted(settings.loops, settings.points) || !RandomCircuitPossible(settings.points))
    return std::string("Число контуров должно быть от 2 до 9, число точек - от 4 до 19.");
  if (settings.zeroNode && (*settings.zeroNode < 1 || *settings.zeroNode > settings.points))
    return "Нулевой узел должен быть от 1 до " + std::to_string(settings.points) + ".";
  if (settings.methods.empty()) return std::string("Не выбран ни один метод.");
  // Checked once here: a frequency that is no number would otherwise read as
  // a set whose every circuit fails.
  if (!settings.frequency.text.empty()) {
    try {
      AngularFrequency(settings.frequency);
    } catch (const std::exception& error) {
      return RefusalText(error);
    }
  }
  return std::nullopt;
}

std::vector<Variant> MakeVariants(const VariantSettings& settings) {
  if (auto problem = VariantSettingsProblem(settings)) throw std::invalid_argument(*problem);
  std::vector<Variant> variants;
  for (int index = 0; index < settings.count; ++index) {
    const int number = settings.firstNumber + index;
    EngineRandomSource random(VariantSeed(settings.seed, index));
    std::optional<Variant> variant;
    for (int attempt = 0; attempt < kVariantAttempts && !variant; ++attempt)
      variant = DrawVariant(settings, number, random);
    if (!variant)
      throw NoSolvableVariant("Вариант " + std::to_string(number) + ": за " + std::to_string(kVariantAttempts) +
                              " попыток не получилась цепь, которую решают все выбранные методы.");
    variants.push_back(std::move(*variant));
  }
  return variants;
}

std::string VariantFileName(int number, int largestNumber) {
  const size_t width = std::max<size_t>(2, std::to_string(largestNumber).size());
  std::string digits = std::to_string(number);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return "variant-" + digits + ".txt";
}

std::vector<std::string> WriteVariantFiles(const std::filesystem::path& folder, const std::vector<Variant>& variants) {
  std::vector<std::string> problems;
  if (variants.empty()) return problems;
  const int largest = variants.back().number;
  for (const Variant& variant : variants) {
    const std::filesystem::path path = folder / VariantFileName(variant.number, largest);
    const SaveProblem problem = SaveBranchTableFileSafely(path, variant.table);
    if (problem != SaveProblem::None) problems.push_back(SaveProblemMessage(problem, path.string()));
  }
  return problems;
}

std::string ZeroNodeText(const Variant& variant) {
  return "Узел с нулевым потенциалом: " + std::to_string(variant.zeroNode);
}

std::string CardFrequencyText(const FrequencySetting& frequency) {
  return "Частота: " + frequency.text + " " + UnitName(frequency.unitIndex);
}

namespace {

std::string BranchNodes(const CircuitAnswer& answer, int branch) { return answer.branchNames.at(branch); }

void AddValues(std::vector<std::string>& lines, const std::string& caption, const std::vector<std::string>& labels,
               const std::vector<Complex>& values) {
  if (values.empty()) return;
  lines.push_back(caption);
  for (size_t i = 0; i < values.size(); ++i)
    lines.push_back("  " + labels.at(i) + " = " + ComplexToText(values[i]) + "   (" + PolarText(values[i]) + ")");
}

void AddMethod(std::vector<std::string>& lines, const CircuitAnswer& answer, const MethodAnswer& method) {
  lines.push_back(std::string(MethodTitle(method.method)) + ":");
  std::vector<std::string> labels;
  for (size_t i = 0; i < method.loopCurrents.size(); ++i) labels.push_back(LoopCurrentName(static_cast<int>(i)));
  AddValues(lines, " Контурные токи:", labels, method.loopCurrents);
  labels.clear();
  for (int node : method.nodes) labels.push_back("φ" + std::to_string(node));
  AddValues(lines, " Потенциалы узлов (φ" + std::to_string(answer.zeroNode) + " = 0):", labels, method.potentials);
  labels.clear();
  for (size_t i = 0; i < method.branchCurrents.size(); ++i) labels.push_back("I(" + BranchNodes(answer, int(i)) + ")");
  AddValues(lines, " Токи ветвей:", labels, method.branchCurrents);
  lines.push_back(" Баланс мощностей: источники " + ComplexToText(method.sourcePower) + ", приёмники " +
                  ComplexToText(method.consumedPower));
}

}  // namespace

std::vector<std::string> AnswerKeyLines(const Variant& variant) {
  const CircuitAnswer& answer = variant.answer;
  std::vector<std::string> lines{"Вариант " + std::to_string(variant.number) + ". " +
                                 CardFrequencyText(variant.frequency) + ". " + ZeroNodeText(variant) + "."};
  lines.push_back("Контуры:");
  for (const std::string& loop : answer.loopLines) lines.push_back("  " + loop);
  for (const MethodAnswer& method : answer.methods) AddMethod(lines, answer, method);
  return lines;
}

}  // namespace ohmara
