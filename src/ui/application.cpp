#include "ui/application.h"

#include "ui/mesh_current_window.h"
#include "ui/node_potential_window.h"
#include "ui/random_settings_dialog.h"
#include "ui/about_dialog.h"
#include "ui/add_branch_dialog.h"
#include "ui/test_report_dialog.h"

namespace ohmara {

OhmaraApplication::OhmaraApplication(Prompts& prompts, const std::filesystem::path& resultsDirectory)
    : results_(resultsDirectory) {
  windows_.RGZForm = new TRGZForm(prompts, circuit_, results_);
  windows_.AddF = new TAddF(*windows_.RGZForm);
  windows_.ResTest = new TResTest();
  windows_.AboutPrForm = new TAboutPrForm();
  windows_.RandSetForm = new TRandSetForm(*windows_.RGZForm);
  windows_.CurrForm = new TCurrForm(prompts);
  windows_.PotForm = new TPotForm(prompts);
  windows_.RGZForm->SetWindows(windows_);
  results_.EnsureExists();
}

OhmaraApplication::~OhmaraApplication() {
  // Top-level windows have no parent to delete them; go in reverse order.
  delete windows_.PotForm;
  delete windows_.CurrForm;
  delete windows_.RandSetForm;
  delete windows_.AboutPrForm;
  delete windows_.ResTest;
  delete windows_.AddF;
  delete windows_.RGZForm;
}

}  // namespace ohmara
