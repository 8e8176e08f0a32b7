#pragma once
// A class set as the teacher receives it: a branch-table file per variant,
// the task cards in variants.pdf and the answer key in answers.pdf, all in
// one folder. The menu and the command line write it the same way.

#include <filesystem>
#include <string>
#include <vector>

#include "cli/pdf_output.h"
#include "printing/printed_report.h"
#include "variants/class_variants.h"

namespace ohmara {

inline constexpr char kVariantCardsFile[] = "variants.pdf";
inline constexpr char kAnswerKeyFile[] = "answers.pdf";

// Creates `folder` when missing and writes the whole set into it, the cards
// headed by what of `title` they carry; returns the messages of whatever
// could not be written (none on success).
std::vector<std::string> WriteVariantSet(const std::filesystem::path& folder, const std::vector<Variant>& variants,
                                         PdfOutput& pdf, const TitleBlock& title = {});

}  // namespace ohmara
