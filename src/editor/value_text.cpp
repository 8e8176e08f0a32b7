#include "editor/value_text.h"

#include <charconv>
#include <cmath>

#include "model/number_text.h"
#include "model/text_format.h"

namespace ohmara {

std::string ValueLabel(double value) { return Format("%.0f", value); }

std::string ValueField(double value) {
  if (std::isfinite(value) && std::trunc(value) == value) return Format("%4.0f", value);
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return Format("%4s", std::string_view(buffer, result.ptr - buffer));
}

double CellValue(const std::string& text) { return IsBlank(text) ? 0.0 : StrToFloat(text); }

ElementValues ElementValuesOf(const BranchRow& row) {
  return {CellValue(row[kRColumn]), CellValue(row[kLColumn]), CellValue(row[kCColumn]), CellValue(row[kEColumn]),
          CellValue(row[kAngleColumn])};
}

}  // namespace ohmara
