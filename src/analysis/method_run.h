#pragma once
// A solving method is a pure function of the tested circuit: it returns its
// numbers together with how far it got and, when it stopped early, why. The
// window texts and the results files are made from that value afterwards, so
// a run that stops shows exactly what it reached and nothing more.

#include <exception>
#include <string>
#include <string_view>

#include "analysis/linear_solver.h"
#include "model/complex.h"
#include "model/results_directory.h"

namespace ohmara {

enum class RunStage {
  NotRun,       // refused before anything: the window and the files stay as they were
  Started,      // the window's memos are emptied; the branch values reached are shown
  SystemBuilt,  // the system is shown and went to the solver, whose trace is written
  Complete,     // every result is there
};

struct RunProgress {
  RunStage reached = RunStage::NotRun;
  std::exception_ptr failure;  // why the run stopped before Complete, if it was refused
  bool Complete() const { return reached == RunStage::Complete; }
};

// "Y12" and its admittance: one line of a window's branch values.
struct LabelledValue {
  std::string label;
  Complex value;
};

// Runs the steps of a method on `run`, keeping what they throw as the run's
// failure: a run is a value, never an exception.
template <class Steps>
void RunSteps(RunProgress& run, Steps&& steps) {
  try {
    steps();
  } catch (...) {
    run.failure = std::current_exception();
  }
}

// Writes the results files of a run whose texts are made: the solver's trace
// of `system` (n unknowns) to `traceFile` once the system was built, unless
// `traceFile` is empty; then rethrows the run's failure; otherwise appends
// the finished out.txt `section`. True when the run is complete.
bool WriteRunFiles(const RunProgress& progress, const ComplexMatrix& system, int n, std::string_view traceFile,
                   const std::string& section, ResultsDirectory& results);

}  // namespace ohmara
