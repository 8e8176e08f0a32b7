#pragma once
// Errors the core raises. The core words them plainly in English for logs and
// tests; the windows turn each kind into the message a student reads.

#include <stdexcept>
#include <string>

namespace ohmara {

// A text that should hold a number does not.
class ConversionError : public std::runtime_error {
 public:
  enum class Kind { Float, Integer };
  ConversionError(std::string text, Kind kind);
  const std::string& Text() const { return text_; }
  Kind NumberKind() const { return kind_; }

 private:
  std::string text_;
  Kind kind_;
};

// A division whose divisor is exactly zero (a complex 0 + 0i or a real 0).
// `what` names the quantity being computed, e.g. "Z12" or "1/Z".
class DivisionByZero : public std::runtime_error {
 public:
  explicit DivisionByZero(std::string what);
  const std::string& Quantity() const { return quantity_; }

 private:
  std::string quantity_;
};

// The elimination met a pivot that is still 0 + 0i after the row search.
class SingularSystem : public std::runtime_error {
 public:
  explicit SingularSystem(int column);
  int Column() const { return column_; }

 private:
  int column_;
};

// The circuit has a shape a method cannot solve, e.g. a chain of series
// branches that leaves and returns to the same junction (`node`).
class UnsolvableCircuit : public std::runtime_error {
 public:
  UnsolvableCircuit(std::string reason, int node);
  int Node() const { return node_; }

 private:
  int node_;
};

}  // namespace ohmara
