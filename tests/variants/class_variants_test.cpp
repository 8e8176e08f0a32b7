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
#include "model/text_format.h"
#include "printing/overlap_check.h"
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
      {3, 6, std::nullopt, {Method::Mesh, Method::Nodal, Method::Optimal}},
      {2, 4, std::nullopt, {Method::Mesh, Method::Nodal, Method::Optimal}},
      {4, 9, 5, {Method::Mesh, Method::Optimal}},  // 5 is not always a junction: redrawn until it is
      {5, 12, 1, {Method::Nodal}},
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
          !c.zero || std::find(c.methods.begin(), c.methods.end(), Method::Optimal) != c.methods.end();
      if (junctionNeeded) {
        EXPECT_TRUE(session.tested()->state.RealNodes.contains(variant.zeroNode));
      }
      const std::vector<std::string> key = AnswerKeyLines(variant);
      ASSERT_EQ(variant.answer.methods.size(), c.methods.size());
      for (Method method : c.methods) {
        SCOPED_TRACE(MethodName(method));
        std::vector<Complex> currents;
        if (method == Method::Mesh) {
          ASSERT_TRUE(session.SolveMesh());
          const MeshSolution& mesh = session.mesh().solution;
          for (size_t k = 0; k < mesh.loopCurrents.size(); ++k)
            EXPECT_TRUE(
                KeyHolds(key, Format("I%d%d", static_cast<int>(k + 1), static_cast<int>(k + 1)), mesh.loopCurrents[k]));
          currents = mesh.branchCurrents;
        } else {
          ASSERT_TRUE(session.SolveNodes(method == Method::Nodal ? NodePotentialMethod : OptimalNodePotentialMethod,
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

// Every card carries the set's group and date and its own table drawn as
// paths inside its half of the page (a card too tall for half a page takes
// a page of its own), every terminal numbered by the node the table gives it,
// and nothing printed over anything else.
TEST(ClassVariants, CardsCarryTheTitleAndTheirTablesDrawingInsideTheirPlace) {
  const TitleBlock title{"Иванов", "ИТ-21", "7", "09.12.2026", "rgz.txt"};
  for (const auto& [loops, points] : {std::pair{3, 6}, std::pair{6, 12}}) {
    SCOPED_TRACE(loops);
    VariantSettings settings;
    settings.count = 5;
    settings.seed = 11;
    settings.loops = loops;
    settings.points = points;
    const std::vector<Variant> variants = MakeVariants(settings);
    const PageDocument cards = ComposeVariantCards(variants, title);
    EXPECT_EQ(FindOverlaps(cards), std::vector<std::string>{});
    size_t card = 0;
    for (int page = 0; page < cards.PageCount(); ++page) {
      int cardTop = 0;
      for (const PageItem& item : cards.Page(page)) {
        if (const auto* text = std::get_if<PrintedText>(&item); text && text->text.starts_with("Вариант "))
          cardTop = text->at.y;
        const auto* figure = std::get_if<PrintedFigure>(&item);
        if (!figure) continue;
        ASSERT_LT(card, variants.size());
        SCOPED_TRACE(variants[card].number);
        const bool upperHalf = cardTop < kCutLineMm;
        const bool halfPage = std::any_of(cards.Page(page).begin(), cards.Page(page).end(), [](const PageItem& i) {
          const auto* line = std::get_if<PrintedLine>(&i);
          return line && line->from.y == kCutLineMm && line->to.y == kCutLineMm;
        });
        EXPECT_GT(figure->top, cardTop);
        EXPECT_LE(figure->top + figure->height, upperHalf && halfPage ? kCutLineMm : kPageBottomMm);
        EXPECT_GE(figure->height, 30);
        std::vector<std::string> labels;
        for (const FigureItem& drawn : figure->figure.items)
          if (const auto* label = std::get_if<FigureText>(&drawn)) labels.push_back(label->text);
        for (int node = 1; node <= variants[card].answer.nodeCount; ++node)
          EXPECT_NE(std::find(labels.begin(), labels.end(), std::to_string(node)), labels.end()) << "node " << node;
        ++card;
      }
    }
    EXPECT_EQ(card, variants.size());
    const std::vector<std::string> texts = DocumentTexts(cards);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Группа: ИТ-21.  Дата: 09.12.2026."),
              static_cast<long>(variants.size()));
    EXPECT_EQ(
        std::count_if(texts.begin(), texts.end(), [](const std::string& t) { return t.find("Иванов") != t.npos; }), 0)
        << "a card goes to whoever gets it";
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
