#include "model/results_directory.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "model/text_file.h"

namespace ohmara {

ResultsDirectory::ResultsDirectory(std::filesystem::path directory) : directory_(std::move(directory)) {}

ResultsDirectory ResultsDirectory::BesideExecutable(const std::filesystem::path& executable) {
  return ResultsDirectory(executable.parent_path() / "Results");
}

ResultsDirectory ResultsDirectory::Discarding() {
  ResultsDirectory results{std::filesystem::path()};
  results.discarding_ = true;
  return results;
}

std::filesystem::path ResultsDirectory::PathOf(std::string_view name) const { return directory_ / name; }

bool ResultsDirectory::EnsureExists() const {
  std::error_code error;
  if (std::filesystem::is_directory(directory_, error)) return true;
  std::filesystem::create_directories(directory_, error);
  return !error && std::filesystem::is_directory(directory_, error);
}

void ResultsDirectory::Rewrite(std::string_view name, std::string_view text) {
  if (discarding_) return;
  if (held_ && held_->name == name) {
    held_->text = text;
    held_->replaced = true;
    return;
  }
  if (!EnsureExists() || !WriteTextFile(PathOf(name), text)) NoteFailure(name);
}

void ResultsDirectory::Append(std::string_view name, std::string_view text) {
  if (discarding_) return;
  if (held_ && held_->name == name) {
    held_->text += text;
    return;
  }
  if (!EnsureExists() || !AppendTextFile(PathOf(name), text)) NoteFailure(name);
}

ResultsDirectory::Holding ResultsDirectory::Hold(std::string_view name) {
  if (held_) throw std::logic_error("ResultsDirectory holds one file at a time");
  held_ = HeldFile{std::string(name), {}, false};
  return Holding(this);
}

void ResultsDirectory::Release() {
  if (!held_) return;
  HeldFile file = std::move(*held_);
  held_.reset();
  // Even with nothing held the file is created, as the held writes would have.
  if (file.replaced) Rewrite(file.name, file.text);
  else Append(file.name, file.text);
}

ResultsDirectory::Rewriting ResultsDirectory::StartRewrite(std::string_view name) { return Rewriting(this, name); }

ResultsDirectory::Rewriting::Rewriting(ResultsDirectory* owner, std::string_view name) : owner_(owner), name_(name) {
  if (owner_->discarding_) return;
  if (owner_->EnsureExists()) file_ = std::make_unique<TextFileStream>(owner_->PathOf(name));
  else owner_->NoteFailure(name);
}

void ResultsDirectory::Rewriting::Finish() {
  if (!file_) return;
  if (!file_->Close()) owner_->NoteFailure(name_);
  file_.reset();
}

void ResultsDirectory::NoteFailure(std::string_view name) {
  if (std::find(failed_.begin(), failed_.end(), name) == failed_.end()) failed_.emplace_back(name);
}

std::vector<std::string> ResultsDirectory::TakeFailedFiles() {
  std::vector<std::string> failed;
  failed.swap(failed_);
  return failed;
}

}  // namespace ohmara
