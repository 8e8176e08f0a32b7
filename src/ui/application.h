#pragma once
// The application's windows and the circuit they share.

#include <filesystem>
#include <vector>

#include "analysis/circuit_session.h"
#include "model/circuit.h"
#include "model/results_directory.h"
#include "ui/main_window.h"

class QWidget;

namespace ohmara {

class AboutDialog;
class AddBranchDialog;
class CheckReportDialog;
class EditorWindow;
class MeshCurrentWindow;
class NodePotentialWindow;
class PrintDialog;
class Prompts;
class RandomSettingsDialog;

// The windows of the application. The main window is made at once; every
// other window the first time it is asked for, so that start-up builds only
// what the first screen shows (the editor and its pictures, the result
// windows, the dialogs come when the student first opens them). Each lives
// until the program ends.
class AppWindows {
 public:
  AppWindows(Prompts& prompts, CircuitSession& session, ResultsDirectory& results);
  ~AppWindows();
  AppWindows(const AppWindows&) = delete;
  AppWindows& operator=(const AppWindows&) = delete;

  MainWindow& mainWindow() { return *mainWindow_; }
  AddBranchDialog& addBranchDialog();
  CheckReportDialog& checkReport();
  AboutDialog& aboutDialog();
  RandomSettingsDialog& randomSettingsDialog();
  MeshCurrentWindow& meshCurrentWindow();
  NodePotentialWindow& nodePotentialWindow();
  PrintDialog& printDialog();
  EditorWindow& editorWindow();

  // Titles the result windows made so far by whether what they show is
  // still the circuit on screen.
  void MarkStaleResults();

  // How many windows exist so far, the main window included.
  int MadeCount() const { return static_cast<int>(made_.size()); }

 private:
  // `window`, made by `make` when it does not exist yet.
  template <typename Window, typename Make>
  Window& Made(Window*& window, Make make);

  Prompts& prompts_;
  const ResultsDirectory& results_;
  const CircuitSession& session_;
  MainWindow* mainWindow_ = nullptr;
  AddBranchDialog* addBranchDialog_ = nullptr;
  CheckReportDialog* checkReport_ = nullptr;
  AboutDialog* aboutDialog_ = nullptr;
  RandomSettingsDialog* randomSettingsDialog_ = nullptr;
  MeshCurrentWindow* meshCurrentWindow_ = nullptr;
  NodePotentialWindow* nodePotentialWindow_ = nullptr;
  PrintDialog* printDialog_ = nullptr;
  EditorWindow* editorWindow_ = nullptr;
  // Top-level windows have no parent to delete them: they go in the reverse
  // order of their making.
  std::vector<QWidget*> made_;
};

class OhmaraApplication {
 public:
  // `resultsDirectory` is where the results files go (beside the executable
  // in the real program, a temporary directory in tests).
  OhmaraApplication(Prompts& prompts, const std::filesystem::path& resultsDirectory);

  MainWindow& mainWindow() { return windows_.mainWindow(); }
  AppWindows& windows() { return windows_; }
  CircuitState& circuit() { return circuit_; }
  CircuitSession& session() { return session_; }
  ResultsDirectory& results() { return results_; }

 private:
  CircuitState circuit_;
  ResultsDirectory results_;
  CircuitSession session_{circuit_, results_};
  AppWindows windows_;
};

}  // namespace ohmara
