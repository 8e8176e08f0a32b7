#pragma once
// "О программе": who made the program and when, its version and the folder
// its results files go to.

#include <QDialog>
#include <filesystem>

namespace ohmara {

class AboutDialog : public QDialog {
 public:
  explicit AboutDialog(const std::filesystem::path& resultsFolder, QWidget* parent = nullptr);
};

}  // namespace ohmara
