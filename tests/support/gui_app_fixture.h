#pragma once
// A whole application, offscreen, with scripted prompts and a fresh results
// directory per test.

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>
#include <fstream>
#include <memory>

#include "support/gui_scripted_prompts.h"
#include "ui/application.h"
#include "ui/main_window.h"

namespace ohmara::testing {

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           (std::string("ohmara_gui_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    app_ = std::make_unique<OhmaraApplication>(prompts_, dir_ / "Results");
  }
  void TearDown() override {
    app_.reset();
    std::filesystem::remove_all(dir_);
  }

  TRGZForm& Main() { return app_->MainWindow(); }
  const AppWindows& Windows() { return app_->Windows(); }

  // Types a table into the grid as a user would, cell by cell.
  void TypeTable(const BranchTable& table) { Main().SetBranchTable(table); }

  // The bytes of a results file.
  std::string ResultsFile(const std::string& name) const {
    std::ifstream file(dir_ / "Results" / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  }

  QString Cell(int row, int col) {
    const QTableWidgetItem* item = Main().InitTable->item(row, col);
    return item ? item->text() : QString();
  }

  ScriptedPrompts prompts_;
  std::filesystem::path dir_;
  std::unique_ptr<OhmaraApplication> app_;
};

}  // namespace ohmara::testing
