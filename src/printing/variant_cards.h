#pragma once
// The two documents of a class set: the task cards, two to an A4 page with
// cut marks between them, and the answer key, its lines flowing down two
// columns so that several variants share a page.

#include <vector>

#include "printing/page_document.h"
#include "printing/printed_report.h"
#include "variants/class_variants.h"

namespace ohmara {

// The dashed cut line across the middle of a page of cards.
inline constexpr int kCutLineMm = 148;

// Each card: its number, the group and the date of `title` when filled,
// the frequency and the zero node, the task, the branch table and its
// drawing.
PageDocument ComposeVariantCards(const std::vector<Variant>& variants, const TitleBlock& title = {});

// "Группа: ИТ-21.  Дата: 09.12.2026": what a card of the set takes from the
// report's title; empty when neither is filled. The student, the variant
// and the file are each card's own.
std::string CardTitleLine(const TitleBlock& title);
PageDocument ComposeAnswerKey(const std::vector<Variant>& variants);

}  // namespace ohmara
