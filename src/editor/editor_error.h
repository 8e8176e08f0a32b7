#pragma once
// A failed editor command - a file that cannot be read or written, a table
// that cannot be drawn - with the message the student reads (Russian), which
// names the file and line or the row and column. The command changed nothing.

#include <string>

#include "model/errors.h"

namespace ohmara {

class EditorError : public Refusal {
 public:
  explicit EditorError(const std::string& message) : Refusal(RefusalKind::Editor, message) {}
};

}  // namespace ohmara
