#include "ui/application.h"

#include <QImage>

#include "ui/about_dialog.h"
#include "ui/add_branch_dialog.h"
#include "ui/check_report_dialog.h"
#include "ui/editor_window.h"
#include "ui/mesh_current_window.h"
#include "ui/node_potential_window.h"
#include "ui/phasor_diagram_window.h"
#include "ui/print_dialog.h"
#include "ui/random_settings_dialog.h"

namespace ohmara {

AppWindows::AppWindows(Prompts& prompts, CircuitSession& session, ResultsDirectory& results)
    : prompts_(prompts), results_(results), session_(session) {
  mainWindow_ = new MainWindow(prompts, session, results);
  made_.push_back(mainWindow_);
  mainWindow_->SetWindows(*this);
}

AppWindows::~AppWindows() {
  for (auto window = made_.rbegin(); window != made_.rend(); ++window) delete *window;
}

template <typename Window, typename Make>
Window& AppWindows::Made(Window*& window, Make make) {
  if (!window) {
    window = make();
    made_.push_back(window);
  }
  return *window;
}

AddBranchDialog& AppWindows::addBranchDialog() {
  return Made(addBranchDialog_, [this] {
    auto* dialog = new AddBranchDialog(prompts_, mainWindow_->Guard());
    QObject::connect(dialog, &AddBranchDialog::BranchEntered, mainWindow_, &MainWindow::AppendBranchRow);
    // A row being entered gains or loses the J fields with the item.
    QObject::connect(mainWindow_, &MainWindow::ExtendedCircuitsApplied, dialog,
                     &AddBranchDialog::ShowCurrentSourceColumns);
    return dialog;
  });
}

CheckReportDialog& AppWindows::checkReport() {
  return Made(checkReport_, [] { return new CheckReportDialog(); });
}

AboutDialog& AppWindows::aboutDialog() {
  return Made(aboutDialog_, [this] { return new AboutDialog(results_.Directory()); });
}

RandomSettingsDialog& AppWindows::randomSettingsDialog() {
  return Made(randomSettingsDialog_, [this] { return new RandomSettingsDialog(mainWindow_->Guard()); });
}

MeshCurrentWindow& AppWindows::meshCurrentWindow() {
  return Made(meshCurrentWindow_, [this] { return new MeshCurrentWindow(prompts_, mainWindow_->Guard()); });
}

NodePotentialWindow& AppWindows::nodePotentialWindow() {
  return Made(nodePotentialWindow_, [this] { return new NodePotentialWindow(prompts_, mainWindow_->Guard()); });
}

PrintDialog& AppWindows::printDialog() {
  return Made(printDialog_, [this] {
    // The report takes the session's tested circuit and solutions and the
    // editor's sheet (blank when nothing was drawn) at the time it is drawn.
    const auto attempt = [](const ResultWindow* window) {
      return window ? window->MarkedAttempt() : std::vector<std::string>();
    };
    const auto phasors = [](ResultWindow* window) {
      return window ? window->phasorDiagram().Shown() : PhasorPicture();
    };
    const auto powers = [](const ResultWindow* window) {
      return window ? window->AskedBranchPowers() : std::vector<std::string>();
    };
    const ReportSources sources{&session_,
                                [this] { return editorWindow().sheetEditor().Redraw(); },
                                [this, phasors] { return phasors(meshCurrentWindow_); },
                                [this, phasors] { return phasors(nodePotentialWindow_); },
                                [this, attempt] { return attempt(meshCurrentWindow_); },
                                [this, attempt] { return attempt(nodePotentialWindow_); },
                                [this, powers] { return powers(meshCurrentWindow_); },
                                [this, powers] { return powers(nodePotentialWindow_); }};
    return new PrintDialog(prompts_, mainWindow_->Guard(), sources);
  });
}

bool AppWindows::MayQuit() { return editorWindow_ == nullptr || editorWindow_->AskBeforeQuit(); }

EditorWindow& AppWindows::editorWindow() {
  return Made(editorWindow_, [this] { return new EditorWindow(prompts_, *mainWindow_, addBranchDialog()); });
}

void AppWindows::MarkStaleResults() {
  if (meshCurrentWindow_) meshCurrentWindow_->MarkStale(session_.MeshShownIsStale());
  if (nodePotentialWindow_) nodePotentialWindow_->MarkStale(session_.NodesShownIsStale());
}

OhmaraApplication::OhmaraApplication(Prompts& prompts, const std::filesystem::path& resultsDirectory)
    : results_(resultsDirectory), windows_(prompts, session_, results_) {
  results_.EnsureExists();
}

}  // namespace ohmara
