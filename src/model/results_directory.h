#pragma once
// The Results directory beside the executable, where every test and method
// leaves its plain-text record (out.txt, adjTable.txt, Currents.txt, ...).
// Each write opens, writes and closes its file at once. A file that cannot be
// written gets nothing and does not stop the command; its name is kept so
// that the window can tell the user once.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ohmara {

class ResultsDirectory {
 public:
  explicit ResultsDirectory(std::filesystem::path directory);

  // The directory of `executable` + "/Results/".
  static ResultsDirectory BesideExecutable(const std::filesystem::path& executable);

  // A directory that keeps nothing and never fails. The random generator
  // runs the circuit test's own checks on every circuit it draws, and their
  // out.txt and adjTable.txt must not replace the record of the student's
  // last real test.
  static ResultsDirectory Discarding();

  const std::filesystem::path& Directory() const { return directory_; }
  std::filesystem::path PathOf(std::string_view name) const;

  // Creates the directory when it is missing; false when that fails.
  bool EnsureExists() const;

  // "w": replaces the file with `text`.
  void Rewrite(std::string_view name, std::string_view text);
  // "a": appends `text` to the file (creating it).
  void Append(std::string_view name, std::string_view text);

  // Names of the files that could not be written since the last call.
  std::vector<std::string> TakeFailedFiles();

 private:
  void NoteFailure(std::string_view name);
  std::filesystem::path directory_;
  bool discarding_ = false;
  std::vector<std::string> failed_;
};

}  // namespace ohmara
