#include "analysis/method_run.h"

namespace ohmara {

bool WriteRunFiles(const RunProgress& progress, const ComplexMatrix& system, int n, std::string_view traceFile,
                   const std::string& section, ResultsDirectory& results) {
  if (progress.reached >= RunStage::SystemBuilt && !traceFile.empty()) WriteSolverTrace(system, n, results, traceFile);
  if (progress.failure) std::rethrow_exception(progress.failure);
  if (progress.Complete()) results.Append("out.txt", section);
  return progress.Complete();
}

}  // namespace ohmara
