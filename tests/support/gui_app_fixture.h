#pragma once
// A whole application, offscreen, with scripted prompts and a fresh results
// directory per test.

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>
#include <memory>

#include "support/gui_scripted_prompts.h"
#include "support/scratch_directory.h"
#include "ui/application.h"
#include "ui/main_window.h"

namespace ohmara::testing {

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override { app_ = std::make_unique<OhmaraApplication>(prompts_, scratch_.Path() / "Results"); }

  TRGZForm& Main() { return app_->MainWindow(); }
  const AppWindows& Windows() { return app_->Windows(); }

  // Types a table into the grid as a user would, cell by cell.
  void TypeTable(const BranchTable& table) { Main().SetBranchTable(table); }

  // The bytes of a results file.
  std::string ResultsFile(const std::string& name) const {
    return scratch_.Bytes(std::filesystem::path("Results") / name);
  }

  QString Cell(int row, int col) {
    const QTableWidgetItem* item = Main().InitTable->item(row, col);
    return item ? item->text() : QString();
  }

  ScriptedPrompts prompts_;
  // Declared before the application so that the windows close before their
  // directory goes.
  ScratchDirectory scratch_{"ohmara-gui"};
  std::unique_ptr<OhmaraApplication> app_;
};

}  // namespace ohmara::testing
