#pragma once
// The refusals the core raises. Some are worded plainly in English for logs
// and tests, and RefusalText turns them into the message a student reads; a
// refused number, a value that is not finite, a refused circuit and an
// editor command are worded in Russian by the core itself: only the core
// knows the branch, column, file line or quantity at fault, and the message
// must say where.

#include <stdexcept>
#include <string>

namespace ohmara {

// What a refusal is about.
enum class RefusalKind {
  Number,             // ConversionError
  DivisionByZero,     // DivisionByZero
  SingularSystem,     // SingularSystem
  UnsolvableCircuit,  // UnsolvableCircuit
  NonFiniteValue,     // NonFiniteValue
  Circuit,            // CircuitRefusal
  Editor,             // EditorError
  Generator,          // NoTestableRandomCircuit
  Variants,           // NoSolvableVariant
};

// Every refusal the program designs derives from Refusal: a command it will
// not carry out, for a reason it can name, having changed nothing it should
// keep. Anything else that escapes a command is a fault of the program.
// Only the classes below make one, each with its own kind, so a kind tells
// the class.
class Refusal : public std::runtime_error {
 public:
  RefusalKind Category() const { return category_; }

 protected:
  Refusal(RefusalKind category, const std::string& message) : std::runtime_error(message), category_(category) {}

 private:
  RefusalKind category_;
};

// A text that should hold a number does not, or holds one too large or too
// small (but not zero) to be stored. what() is the Russian message:
// "«1,2x» — не число.", headed by the place when one is given
// ("Ветвь 3 (2->4), столбец «E, В»: «1,2x» — не число.").
class ConversionError : public Refusal {
 public:
  enum class Kind { Float, Integer };
  enum class Reason { NotANumber, TooLarge, TooSmall };
  ConversionError(std::string text, Kind kind, Reason reason = Reason::NotANumber);
  // The same refusal headed by `where`.
  ConversionError(const ConversionError& bare, std::string where);
  const std::string& Text() const { return text_; }
  Kind NumberKind() const { return kind_; }
  Reason Why() const { return reason_; }
  const std::string& Where() const { return where_; }

 private:
  std::string text_;
  Kind kind_;
  Reason reason_;
  std::string where_;
};

// A division whose divisor is exactly zero (a complex 0 + 0i or a real 0).
// `what` names the quantity being computed, e.g. "Z12" or "1/Z".
class DivisionByZero : public Refusal {
 public:
  explicit DivisionByZero(std::string what);
  const std::string& Quantity() const { return quantity_; }

 private:
  std::string quantity_;
};

// The elimination met a pivot that is still 0 + 0i after the row search.
class SingularSystem : public Refusal {
 public:
  explicit SingularSystem(int column);
  int Column() const { return column_; }

 private:
  int column_;
};

// The circuit has a shape a method cannot solve, e.g. a chain of series
// branches that leaves and returns to the same junction (`node`).
class UnsolvableCircuit : public Refusal {
 public:
  UnsolvableCircuit(const std::string& reason, int node);
  int Node() const { return node_; }

 private:
  int node_;
};

// A value that is not finite (an infinity or NaN) where a result must stand.
// `quantity` names it ("Z24", "I12", "ω"); what() is the Russian message
// naming the branch or quantity, shown as it stands.
class NonFiniteValue : public Refusal {
 public:
  NonFiniteValue(std::string quantity, const std::string& message);
  const std::string& Quantity() const { return quantity_; }

 private:
  std::string quantity_;
};

// A circuit the program will not compute, for a reason the core words itself
// in Russian (what(), shown as it stands) because only it knows the branch
// or quantity at fault.
class CircuitRefusal : public Refusal {
 public:
  enum class Kind {
    NegativeFrequency,     // the frequency typed is below 0
    ShortedCurrentSource,  // a current source beside an ideal EMF alone
    NoJunction,            // the optimal method on a circuit where no three branches meet
  };
  CircuitRefusal(Kind kind, const std::string& message);
  Kind Why() const { return kind_; }

 private:
  Kind kind_;
};

}  // namespace ohmara
