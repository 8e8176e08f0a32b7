#include "model/errors.h"

namespace ohmara {

namespace {
std::string ConversionMessage(const std::string& text, ConversionError::Kind kind) {
  const char* what = kind == ConversionError::Kind::Float ? "floating point" : "integer";
  return "'" + text + "' is not a valid " + what + " value";
}
}  // namespace

ConversionError::ConversionError(std::string text, Kind kind)
    : std::runtime_error(ConversionMessage(text, kind)), text_(std::move(text)), kind_(kind) {}

DivisionByZero::DivisionByZero(std::string what)
    : std::runtime_error("Floating point division by zero" + (what.empty() ? "" : " (" + what + ")")),
      quantity_(std::move(what)) {}

SingularSystem::SingularSystem(int column)
    : std::runtime_error("The system of equations is singular (column " +
                         std::to_string(column + 1) + ")"),
      column_(column) {}

UnsolvableCircuit::UnsolvableCircuit(std::string reason, int node)
    : std::runtime_error(std::move(reason)), node_(node) {}

}  // namespace ohmara
