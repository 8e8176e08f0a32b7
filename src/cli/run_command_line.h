#pragma once
// `ohmara` with arguments: runs one command without any window, so that it
// works with no display at all. Exit codes: 0 done, 1 a refusal (the table
// file, the circuit or a method; the reason on `err` in the words the
// window would use), 2 a command line that cannot be obeyed.

#include <ostream>
#include <string>
#include <vector>

namespace ohmara {

constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

class PdfOutput;

// `words` are the arguments after the program's name; `pdf` draws the PDFs
// of `report` and `variants`, which are refused without it.
int RunCommandLine(const std::vector<std::string>& words, std::ostream& out, std::ostream& err,
                   PdfOutput* pdf = nullptr);

}  // namespace ohmara
