#pragma once
// Strict conversion of cell and edit texts to numbers: the whole text must be
// the number (blanks around it are allowed), "." and "," both serve as the
// decimal point. A failure throws ConversionError naming the text, and
// telling a number too large or too small to be stored from one that is no
// number at all.

#include <string>
#include <string_view>

namespace ohmara {

double StrToFloat(std::string_view text);
int StrToInt(std::string_view text);

// The same conversions for a text the student typed somewhere: a refusal is
// headed by `where` ("Частота", "Ветвь 3 (2->4), столбец «E, В»").
double FieldToFloat(std::string_view text, const std::string& where);
int FieldToInt(std::string_view text, const std::string& where);

// True when the text holds nothing but blanks: the element is absent.
bool IsBlank(std::string_view text);

}  // namespace ohmara
