#include "model/errors.h"

#include "model/quoted_text.h"

namespace ohmara {

namespace {

std::string RefusalText(const std::string& text, ConversionError::Kind kind, ConversionError::Reason reason) {
  const bool integer = kind == ConversionError::Kind::Integer;
  // Quoting nothing would read as a stray pair of marks.
  if (text.find_first_not_of(" \t\r\n") == std::string::npos)
    return integer ? "пусто, а нужно целое число." : "пусто, а нужно число.";
  const std::string quoted = "«" + QuotedText(text) + "» — ";
  switch (reason) {
    case ConversionError::Reason::TooLarge:
      return quoted + (integer ? "слишком большое целое число." : "слишком большое число (больше 1.79e308 по модулю).");
    case ConversionError::Reason::TooSmall:
      return quoted + "слишком маленькое число: не ноль, но меньше 4.9e-324 по модулю.";
    case ConversionError::Reason::NotANumber:
      break;
  }
  return quoted + (integer ? "не целое число." : "не число.");
}

std::string Placed(const std::string& where, const std::string& message) {
  return where.empty() ? message : where + ": " + message;
}

}  // namespace

ConversionError::ConversionError(std::string text, Kind kind, Reason reason)
    : Refusal(RefusalKind::Number, RefusalText(text, kind, reason)),
      text_(std::move(text)),
      kind_(kind),
      reason_(reason) {}

ConversionError::ConversionError(const ConversionError& bare, std::string where)
    : Refusal(RefusalKind::Number, Placed(where, RefusalText(bare.text_, bare.kind_, bare.reason_))),
      text_(bare.text_),
      kind_(bare.kind_),
      reason_(bare.reason_),
      where_(std::move(where)) {}

DivisionByZero::DivisionByZero(std::string what)
    : Refusal(RefusalKind::DivisionByZero, "Floating point division by zero" + (what.empty() ? "" : " (" + what + ")")),
      quantity_(std::move(what)) {}

SingularSystem::SingularSystem(int column)
    : Refusal(RefusalKind::SingularSystem,
              "The system of equations is singular (column " + std::to_string(column + 1) + ")"),
      column_(column) {}

UnsolvableCircuit::UnsolvableCircuit(const std::string& reason, int node)
    : Refusal(RefusalKind::UnsolvableCircuit, reason), node_(node) {}

NonFiniteValue::NonFiniteValue(std::string quantity, const std::string& message)
    : Refusal(RefusalKind::NonFiniteValue, message), quantity_(std::move(quantity)) {}

CircuitRefusal::CircuitRefusal(Kind kind, const std::string& message)
    : Refusal(RefusalKind::Circuit, message), kind_(kind) {}

}  // namespace ohmara
