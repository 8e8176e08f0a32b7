#include "ui/application.h"

#include "ui/about_dialog.h"
#include "ui/add_branch_dialog.h"
#include "ui/check_report_dialog.h"
#include "ui/editor_window.h"
#include "ui/mesh_current_window.h"
#include "ui/node_potential_window.h"
#include "ui/print_dialog.h"
#include "ui/random_settings_dialog.h"

namespace ohmara {

OhmaraApplication::OhmaraApplication(Prompts& prompts, const std::filesystem::path& resultsDirectory)
    : results_(resultsDirectory) {
  windows_.mainWindow = new MainWindow(prompts, circuit_, results_);
  const CommandGuard guard = windows_.mainWindow->Guard();
  windows_.addBranchDialog = new AddBranchDialog(prompts, guard);
  windows_.checkReport = new CheckReportDialog();
  windows_.aboutDialog = new AboutDialog();
  windows_.randomSettingsDialog = new RandomSettingsDialog(guard);
  windows_.meshCurrentWindow = new MeshCurrentWindow(prompts, guard);
  windows_.nodePotentialWindow = new NodePotentialWindow(prompts, guard);
  // The editor is created after the print dialog; the report reads its
  // drawing when it is drawn.
  windows_.printDialog = new PrintDialog(
      prompts, guard,
      {windows_.mainWindow, windows_.meshCurrentWindow, windows_.nodePotentialWindow,
       [this] { return windows_.editorWindow ? windows_.editorWindow->SheetImage() : QImage(); }});
  windows_.editorWindow = new EditorWindow(prompts, *windows_.mainWindow, *windows_.addBranchDialog);
  windows_.mainWindow->SetWindows(windows_);
  results_.EnsureExists();
}

OhmaraApplication::~OhmaraApplication() {
  // Top-level windows have no parent to delete them; go in reverse order.
  delete windows_.editorWindow;
  delete windows_.printDialog;
  delete windows_.nodePotentialWindow;
  delete windows_.meshCurrentWindow;
  delete windows_.randomSettingsDialog;
  delete windows_.aboutDialog;
  delete windows_.checkReport;
  delete windows_.addBranchDialog;
  delete windows_.mainWindow;
}

}  // namespace ohmara
