#pragma once
// A laid-out report read back as boxes, to prove that nothing is printed
// over anything else: no two texts share any area, no rule runs through a
// text, no text lies on the drawing.

#include <string>
#include <vector>

#include "printing/page_document.h"

namespace ohmara {

// Each collision on any page, described for a person to read ("page 2:
// 'I34 = …' and 'I35 = …'"); empty when the document is clean.
std::vector<std::string> FindOverlaps(const PageDocument& document);

}  // namespace ohmara
