#pragma once
// The application's windows and the circuit they share, created once in the
// order the program has always created them and kept until it ends.

#include <filesystem>
#include <memory>

#include "model/circuit.h"
#include "model/results_directory.h"
#include "ui/main_window.h"

namespace ohmara {

class OhmaraApplication {
 public:
  // `resultsDirectory` is where the results files go (beside the executable
  // in the real program, a temporary directory in tests).
  OhmaraApplication(Prompts& prompts, const std::filesystem::path& resultsDirectory);
  ~OhmaraApplication();

  MainWindow& mainWindow() { return *windows_.mainWindow; }
  const AppWindows& windows() const { return windows_; }
  CircuitState& circuit() { return circuit_; }
  ResultsDirectory& results() { return results_; }

 private:
  CircuitState circuit_;
  ResultsDirectory results_;
  AppWindows windows_;
};

}  // namespace ohmara
