#pragma once
// Plain-text files as the program keeps them: Windows-1251 with CR LF line
// ends. Inside the program text is UTF-8 with "\n"; the conversion happens
// only here, at the file boundary.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/safe_save.h"

namespace ohmara {

// UTF-8 to Windows-1251; a character the code page lacks becomes '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// The first character of `utf8` that Windows-1251 cannot hold (as UTF-8
// text; a broken sequence gives U+FFFD), or nothing when all fit.
std::optional<std::string> FirstCharacterOutsideCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view cp1251);

// "\n" to "\r\n" and UTF-8 to Windows-1251: the bytes a file holds.
std::string ToFileBytes(std::string_view text);
// The same, appended to `bytes`. Runs of plain ASCII, nearly all of a
// results file, are copied as blocks.
void AppendFileBytes(std::string& bytes, std::string_view text);

// A file written piece by piece as its text is produced, so that a text of
// hundreds of megabytes is never held whole: it passes through one buffer
// of its own and reaches the file in blocks. Once a write fails, the rest is
// dropped and Failed() stays true.
class TextFileStream {
 public:
  // Opens or creates the file; it ends up holding just what is written.
  explicit TextFileStream(const std::filesystem::path& path);
  ~TextFileStream();
  TextFileStream(const TextFileStream&) = delete;
  TextFileStream& operator=(const TextFileStream&) = delete;

  // UTF-8 text with "\n" (whole characters), converted as WriteTextFile
  // converts it.
  void Write(std::string_view text);
  // Bytes already in the file form (cp1251, CR LF).
  void WriteBytes(std::string_view bytes);
  // Room for `size` bytes in the file form, at the end of what is written
  // so far: a producer formats straight into it, with no copy of its own,
  // and passes the end of what it wrote to Commit before asking again.
  char* Room(size_t size);
  void Commit(const char* end);
  // Closes the file; false when it could not be opened, written or closed.
  bool Close();
  bool Failed() const { return failed_; }

 private:
  // Passes the buffered bytes to the file.
  void Flush();

  int fd_ = -1;
  bool failed_ = false;
  std::string converted_;  // reused for every piece that needs conversion
  std::unique_ptr<char[]> buffer_;
  size_t capacity_ = 0;
  size_t used_ = 0;
  size_t written_ = 0;  // bytes already in the file
};

// Writes (replacing what the file held) or appends the text in the file
// form. False when the file cannot be opened or written.
bool WriteTextFile(const std::filesystem::path& path, std::string_view text);
bool AppendTextFile(const std::filesystem::path& path, std::string_view text);

// Saves a user's file through SaveFileSafely, so a failure never destroys
// the previous file. Text holding a character Windows-1251 lacks is refused
// (SaveProblem::Unencodable) and nothing is written: a '?' in its place
// would change what the student typed.
SaveProblem SaveTextFileSafely(const std::filesystem::path& path, std::string_view text);

// The file's text converted to UTF-8 (CR LF and LF both accepted; CRs are
// dropped), or nothing when it cannot be read. A file that starts with the
// UTF-8 byte-order mark was saved as UTF-8: the mark is skipped and the rest
// taken as UTF-8.
std::optional<std::string> ReadTextFile(const std::filesystem::path& path);

// The blanks that separate the tokens of a file (those of isspace in the C
// locale).
bool IsTokenSeparator(char c);

// Whitespace-separated tokens of any length, with the line each stands on.
class TokenReader {
 public:
  explicit TokenReader(std::string text) : text_(std::move(text)) {}
  // False at the end of the text.
  bool Next(std::string& token);
  // Line (1-based) of the last token read, or of the end of text.
  int Line() const { return line_; }
  // How many characters of the text are read.
  size_t Position() const { return pos_; }

 private:
  std::string text_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace ohmara
