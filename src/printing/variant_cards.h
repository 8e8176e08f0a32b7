#pragma once
// The two documents of a class set: the task cards, two to an A4 page with
// cut marks between them, and the answer key, its lines flowing down two
// columns so that several variants share a page.

#include <vector>

#include "printing/page_document.h"
#include "variants/class_variants.h"

namespace ohmara {

// The dashed cut line across the middle of a page of cards.
inline constexpr int kCutLineMm = 148;

PageDocument ComposeVariantCards(const std::vector<Variant>& variants);
PageDocument ComposeAnswerKey(const std::vector<Variant>& variants);

}  // namespace ohmara
