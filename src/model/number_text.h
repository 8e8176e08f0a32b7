#pragma once
// Strict conversion of cell and edit texts to numbers: the whole text must be
// the number (blanks around it are allowed), "." and "," both serve as the
// decimal point. A failure throws ConversionError naming the text.

#include <string>
#include <string_view>

namespace ohmara {

double StrToFloat(std::string_view text);
int StrToInt(std::string_view text);

// True when the text holds nothing but blanks: the element is absent.
bool IsBlank(std::string_view text);

}  // namespace ohmara
