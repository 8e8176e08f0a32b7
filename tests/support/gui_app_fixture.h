#pragma once
// A whole application, offscreen, with scripted prompts and a fresh results
// directory per test.

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "support/gui_scripted_prompts.h"
#include "support/scratch_directory.h"
#include "ui/application.h"
#include "ui/main_window.h"

namespace ohmara::testing {

// The control of `window` whose objectName is `name`: the tests find controls
// by the names their windows give them. A missing control fails the test.
template <typename T>
T* Find(const QObject& window, const char* name) {
  T* control = window.findChild<T*>(QString::fromLatin1(name));
  if (!control) throw std::logic_error(std::string("no control named ") + name);
  return control;
}

// The five-branch worked example with R = 1 everywhere and 10 V in 1->2: its
// branch currents are 3.75, 2.5, 3.75, 1.25 and 1.25 A, all real.
inline const BranchTable kFiveBranches = {
    {"1->2", "1", "", "", "10", "0"}, {"2->3", "1"}, {"3->1", "1"}, {"2->4", "1"}, {"4->3", "1"}};

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override { app_ = std::make_unique<OhmaraApplication>(prompts_, scratch_.Path() / "Results"); }

  MainWindow& Main() { return app_->mainWindow(); }
  AppWindows& Windows() { return app_->windows(); }
  CircuitState& Circuit() { return app_->circuit(); }

  // Puts a table into the grid at once, as opening a file does; tests of
  // typing into cells open the cell editor themselves.
  void TypeTable(const BranchTable& table) { Main().SetBranchTable(table); }

  QTableWidget* BranchGrid() { return Find<QTableWidget>(Main(), "InitTable"); }
  void Click(const char* button) { Find<QPushButton>(Main(), button)->click(); }
  void Trigger(const char* action) { Find<QAction>(Main(), action)->trigger(); }

  // The bytes of a results file.
  std::string ResultsFile(const std::string& name) const {
    return scratch_.Bytes(std::filesystem::path("Results") / name);
  }

  QString Cell(int row, int col) {
    const QTableWidgetItem* item = BranchGrid()->item(row, col);
    return item ? item->text() : QString();
  }

  ScriptedPrompts prompts_;
  // Declared before the application so that the windows close before their
  // directory goes.
  ScratchDirectory scratch_{"ohmara-gui"};
  std::unique_ptr<OhmaraApplication> app_;
};

}  // namespace ohmara::testing
