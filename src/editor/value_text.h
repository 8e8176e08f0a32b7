#pragma once
// Element values as texts: the short labels on the sheet, the fields of the
// editor's files, and the cells of a branch-table row.

#include <string>

#include "editor/sheet_model.h"
#include "model/branch.h"

namespace ohmara {

// A value on the sheet: a whole number ("47", 2.2 as "2").
std::string ValueLabel(double value);

// A value in a scheme or branch-table file. A whole number fills a field of
// four characters as "%4.0lf" does, so files of whole-number drawings keep
// their old bytes; any other value is written in its shortest exact form
// (right-aligned the same way), so 0.4 stays 0.4 when it is read back.
std::string ValueField(double value);

// A table cell as a value: a blank cell is 0, any other text must be a
// number (ConversionError otherwise).
double CellValue(const std::string& text);

// A value as the add-branch dialog shows it: empty for 0, else the shortest
// text that reads back exactly.
std::string CellText(double value);
// The values as the element columns of a row, R to the angle of J (column 0
// stays empty).
BranchRow ElementRow(const ElementValues& values);

// The element columns of a table row as values: a blank cell is 0, any other
// text must be a number (ConversionError otherwise).
ElementValues ElementValuesOf(const BranchRow& row);

}  // namespace ohmara
