#include "variants/variant_set.h"

#include <system_error>

#include "printing/variant_cards.h"

namespace ohmara {

namespace {

std::string NotWritten(const std::filesystem::path& path) {
  return "Не удалось записать файл «" + path.string() + "».";
}

}  // namespace

std::vector<std::string> WriteVariantSet(const std::filesystem::path& folder, const std::vector<Variant>& variants,
                                         PdfOutput& pdf, const TitleBlock& title) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return {"Не удалось создать папку «" + folder.string() + "»."};
  std::vector<std::string> problems = WriteVariantFiles(folder, variants);
  if (!WriteDocumentPdf(pdf, folder / kVariantCardsFile, ComposeVariantCards(variants, title)))
    problems.push_back(NotWritten(folder / kVariantCardsFile));
  if (!WriteDocumentPdf(pdf, folder / kAnswerKeyFile, ComposeAnswerKey(variants)))
    problems.push_back(NotWritten(folder / kAnswerKeyFile));
  return problems;
}

}  // namespace ohmara
