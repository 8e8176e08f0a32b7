#pragma once
// The Results directory beside the executable, where every test and method
// leaves its plain-text record (out.txt, adjTable.txt, Currents.txt, ...).
// Each write opens, writes and closes its file at once, except while the file
// is held (Hold) and for a rewriting that streams a long text as it is
// produced. A file that cannot be written
// (or fails part way) does not stop the command; its name is kept so that the
// window can tell the user once.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/text_file.h"

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

  // While a Holding lives, what Rewrite and Append give its file is kept in
  // memory; when it ends (also by an exception) the file gets all of it in
  // one write, and ends up as the single writes would have left it. The
  // circuit test writes out.txt a line at a time, and each line would
  // otherwise open and close the file.
  class Holding {
   public:
    ~Holding() { owner_->Release(); }
    Holding(const Holding&) = delete;
    Holding& operator=(const Holding&) = delete;

   private:
    friend class ResultsDirectory;
    explicit Holding(ResultsDirectory* owner) : owner_(owner) {}
    ResultsDirectory* owner_;
  };
  // One file at a time; `name` must not be streamed by StartRewrite meanwhile.
  [[nodiscard]] Holding Hold(std::string_view name);

  // A file rewritten piece by piece while its text is produced (the solver's
  // trace runs to hundreds of megabytes and is never held whole). A file
  // that cannot be opened, or fails part way, is noted as not written like
  // any other, once; what follows the failure is dropped.
  class Rewriting {
   public:
    ~Rewriting() { Finish(); }
    Rewriting(Rewriting&&) = default;
    // False once nothing more reaches the file (a discarding directory, a
    // failure): the producer may stop formatting.
    bool Writing() const { return file_ && !file_->Failed(); }
    // TextFileStream's room to format into (in the file form: cp1251, CR
    // LF), and the end of what went there; only while Writing().
    char* Room(size_t size) { return file_->Room(size); }
    void Commit(const char* end) { file_->Commit(end); }
    // Closes the file and notes a failure; the destructor does it too.
    void Finish();

   private:
    friend class ResultsDirectory;
    Rewriting(ResultsDirectory* owner, std::string_view name);
    ResultsDirectory* owner_;
    std::string name_;
    std::unique_ptr<TextFileStream> file_;
  };
  // "w" for a text that is written as it is produced.
  Rewriting StartRewrite(std::string_view name);

  // Names of the files that could not be written since the last call.
  std::vector<std::string> TakeFailedFiles();

 private:
  void NoteFailure(std::string_view name);
  // Writes the held text and ends the hold.
  void Release();

  // The text a Holding keeps: `replaced` when a Rewrite started it, so that
  // the file is replaced rather than appended to.
  struct HeldFile {
    std::string name;
    std::string text;
    bool replaced = false;
  };

  std::filesystem::path directory_;
  std::optional<HeldFile> held_;
  bool discarding_ = false;
  std::vector<std::string> failed_;
};

}  // namespace ohmara
