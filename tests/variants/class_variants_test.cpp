#include "variants/class_variants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <variant>

#include "analysis/circuit_session.h"
#include "analysis/node_potential.h"
#include "analysis/optimal_node_potential.h"
#include "model/branch_table_file.h"
#include "model/complex.h"
#include "model/polar_text.h"
#include "printing/variant_cards.h"
#include "support/scratch_directory.h"

namespace ohmara {
namespace {

std::vector<std::string> DocumentTexts(const PageDocument& document) {
  std::vector<std::string> texts;
  for (int page = 0; page < document.PageCount(); ++page)
    for (const PageItem& item : document.Page(page))
      if (const auto* text = std::get_if<PrintedText>(&item)) texts.push_back(text->text);
  return texts;
}

std::vector<std::string> FolderBytes(const std::filesystem::path& folder, const std::vector<Variant>& variants) {
  std::vector<std::string> files;
  for (const Variant& variant : variants)
    files.push_back(ReadFileBytes(folder / VariantFileName(variant.number, variants.back().number)));
  return files;
}

bool KeyHolds(const std::vector<std::string>& key, const std::string& label, Complex value) {
  const std::string line = "  " + label + " = " + ComplexToText(value) + "   (" + PolarText(value) + ")";
  return std::find(key.begin(), key.end(), line) != key.end();
}

TEST(ClassVariants, SameSeedAndSettingsGiveTheSameFilesAndPdfTexts) {
  VariantSettings settings;
  settings.count = 12;
  settings.seed = 7;
  ScratchDirectory first, second;
  const std::vector<Variant> a = MakeVariants(settings);
  const std::vector<Variant> b = MakeVariants(settings);
  ASSERT_TRUE(WriteVariantFiles(first.Path(), a).empty());
  ASSERT_TRUE(WriteVariantFiles(second.Path(), b).empty());
  EXPECT_EQ(FolderBytes(first.Path(), a), FolderBytes(second.Path(), b));
  EXPECT_FALSE(FolderBytes(first.Path(), a).front().empty());
  EXPECT_EQ(DocumentTexts(ComposeVariantCards(a)), DocumentTexts(ComposeVariantCards(b)));
  EXPECT_EQ(DocumentTexts(ComposeAnswerKey(a)), DocumentTexts(ComposeAnswerKey(b)));

  settings.seed = 8;
  const std::vector<Variant> other = MakeVariants(settings);
  EXPECT_NE(DocumentTexts(ComposeVariantCards(a)), DocumentTexts(ComposeVariantCards(other)));
  // Variants within one set differ from each other.
  EXPECT_NE(a[0].table, a[1].table);
}

// Each written file, read back and put through "Тест" and every chosen
// method as the main window does, gives exactly the numbers of the key.
TEST(ClassVariants, EveryVariantPassesTheTestAndTheKeyHoldsEveryMethodsResults) {
  struct Case {
    int loops, points;
    std::optional<int> zero;
    std::vector<Method> methods;
  };
  const Case cases[] = {
      {3, 6, std::nullopt, {Method::kMesh, Method::kNodal, Method::kOptimal}},
      {2, 4, std::nullopt, {Method::kMesh, Method::kNodal, Method::kOptimal}},
      {4, 9, 5, {Method::kMesh, Method::kOptimal}},  // 5 is not always a junction: redrawn until it is
      {5, 12, 1, {Method::kNodal}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.loops) + " loops, " + std::to_string(c.points) + " points");
    VariantSettings settings;
    settings.count = 8;
    settings.firstNumber = 21;
    settings.seed = 1234;
    settings.loops = c.loops;
    settings.points = c.points;
    settings.zeroNode = c.zero;
    settings.methods = c.methods;
    const std::vector<Variant> variants = MakeVariants(settings);
    ASSERT_EQ(variants.size(), 8u);
    ScratchDirectory folder;
    ASSERT_TRUE(WriteVariantFiles(folder.Path(), variants).empty());
    for (const Variant& variant : variants) {
      SCOPED_TRACE("variant " + std::to_string(variant.number));
      const BranchFileReading reading = ReadBranchTableFile(folder.Path() / VariantFileName(variant.number, 28));
      ASSERT_TRUE(reading.ok());
      if (c.zero) {
        EXPECT_EQ(variant.zeroNode, *c.zero);
      }
      CircuitState state;
      ResultsDirectory results = ResultsDirectory::Discarding();
      CircuitSession session(state, results);
      session.Edit({reading.table, variant.frequency, std::to_string(variant.zeroNode), false});
      ASSERT_TRUE(session.Test().passed);
      const bool junctionNeeded =
          !c.zero || std::find(c.methods.begin(), c.methods.end(), Method::kOptimal) != c.methods.end();
      if (junctionNeeded) {
        EXPECT_TRUE(session.tested()->state.RealNodes.contains(variant.zeroNode));
      }
      const std::vector<std::string> key = AnswerKeyLines(variant);
      ASSERT_EQ(variant.answer.methods.size(), c.methods.size());
      for (Method method : c.methods) {
        SCOPED_TRACE(MethodName(method));
        std::vector<Complex> currents;
        if (method == Method::kMesh) {
          ASSERT_TRUE(session.SolveMesh());
          const MeshSolution& mesh = session.mesh().solution;
          for (size_t k = 0; k < mesh.loopCurrents.size(); ++k)
            EXPECT_TRUE(KeyHolds(key, "I" + std::to_string(k + 1) + std::to_string(k + 1), mesh.loopCurrents[k]));
          currents = mesh.branchCurrents;
        } else {
          ASSERT_TRUE(session.SolveNodes(method == Method::kNodal ? NodePotentialMethod : OptimalNodePotentialMethod,
                                         variant.zeroNode));
          const NodalSolution& nodes = session.nodes().solution;
          ASSERT_FALSE(nodes.Nodes.empty());
          for (size_t k = 0; k < nodes.Nodes.size(); ++k)
            EXPECT_TRUE(KeyHolds(key, "φ" + std::to_string(nodes.Nodes[k]), nodes.Potentials[k]));
          currents = nodes.Currents;
        }
        ASSERT_EQ(currents.size(), reading.table.size());
        for (size_t k = 0; k < currents.size(); ++k)
          EXPECT_TRUE(KeyHolds(key, "I(" + reading.table[k][kNameColumn] + ")", currents[k]));
      }
    }
  }
}

TEST(ClassVariants, FileNamesGrowWithTheLargestNumberAndSettingsAreChecked) {
  EXPECT_EQ(VariantFileName(1, 30), "variant-01.txt");
  EXPECT_EQ(VariantFileName(7, 200), "variant-007.txt");
  EXPECT_EQ(VariantFileName(1000, 1000), "variant-1000.txt");
  const auto problem = [](auto change) {
    VariantSettings settings;
    change(settings);
    return VariantSettingsProblem(settings).has_value();
  };
  EXPECT_FALSE(problem([](VariantSettings&) {}));
  EXPECT_TRUE(problem([](VariantSettings& s) { s.count = 0; }));
  EXPECT_TRUE(problem([](VariantSettings& s) { s.count = kMaxVariants + 1; }));
  EXPECT_TRUE(problem([](VariantSettings& s) { s.points = 3; }));
  EXPECT_TRUE(problem([](VariantSettings& s) { s.zeroNode = 7; }));
  EXPECT_TRUE(problem([](VariantSettings& s) { s.methods.clear(); }));
}

}  // namespace
}  // namespace ohmara
