#include "editor/value_text.h"

#include <charconv>
#include <cmath>

#include "model/number_text.h"
#include "model/text_format.h"

namespace ohmara {

std::string ValueLabel(double value) { return Format("%.0f", value); }

namespace {

std::string Shortest(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string ValueField(double value) {
  if (std::isfinite(value) && std::trunc(value) == value) return Format("%4.0f", value);
  return Format("%4s", Shortest(value));
}

std::string CellText(double value) { return value == 0 ? std::string() : Shortest(value); }

BranchRow ElementRow(const ElementValues& values) {
  BranchRow row;
  row[kRColumn] = CellText(values.R);
  row[kLColumn] = CellText(values.L);
  row[kCColumn] = CellText(values.C);
  row[kEColumn] = CellText(values.E);
  row[kAngleColumn] = CellText(values.Angle);
  row[kJColumn] = CellText(values.J);
  row[kJAngleColumn] = CellText(values.JAngle);
  return row;
}

double CellValue(const std::string& text) { return IsBlank(text) ? 0.0 : StrToFloat(text); }

ElementValues ElementValuesOf(const BranchRow& row) {
  return {CellValue(row[kRColumn]),     CellValue(row[kLColumn]),     CellValue(row[kCColumn]),
          CellValue(row[kEColumn]),     CellValue(row[kAngleColumn]), CellValue(row[kJColumn]),
          CellValue(row[kJAngleColumn])};
}

}  // namespace ohmara
