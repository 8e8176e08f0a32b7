#pragma once
// A failed editor command - a file that cannot be read or written, a table
// that cannot be drawn - with the message the student reads (Russian), which
// names the file and line or the row and column. The command changed nothing.

#include <stdexcept>
#include <string>

namespace ohmara {

class EditorError : public std::runtime_error {
 public:
  explicit EditorError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace ohmara
