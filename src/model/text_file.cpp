#include "model/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace ohmara {

namespace {

// Unicode code points of the bytes 0x80..0xFF of Windows-1251 (0 = unused).
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char16_t HighHalf(unsigned byte) {
  if (byte >= 0xC0) return static_cast<char16_t>(0x0410 + (byte - 0xC0));
  return kHighHalf[byte - 0x80];
}

char EncodeCodePoint(char32_t cp) {
  if (cp < 0x80) return static_cast<char>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0410));
  for (unsigned byte = 0x80; byte < 0xC0; ++byte)
    if (kHighHalf[byte - 0x80] == cp && cp != 0) return static_cast<char>(byte);
  return '?';
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at `pos`; a broken one yields U+FFFD.
char32_t DecodeUtf8(std::string_view s, size_t& pos) {
  const unsigned char lead = static_cast<unsigned char>(s[pos++]);
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (lead < 0x80) return lead;
  if (extra == 0) return 0xFFFD;
  char32_t cp = lead & (0x3F >> extra);
  for (; extra > 0; --extra) {
    if (pos >= s.size() || (static_cast<unsigned char>(s[pos]) & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (static_cast<unsigned char>(s[pos++]) & 0x3F);
  }
  return cp;
}

// Appends the cp1251 byte of the character at `pos` and moves past it.
// Plain ASCII, nearly all of a results file, passes straight through.
void AppendCp1251(std::string& out, std::string_view utf8, size_t& pos) {
  if (static_cast<unsigned char>(utf8[pos]) < 0x80) out.push_back(utf8[pos++]);
  else out.push_back(EncodeCodePoint(DecodeUtf8(utf8, pos)));
}

// Length of the leading run of bytes that pass to the file unchanged:
// ASCII other than "\n".
size_t PlainRunLength(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && text[pos] != '\n' && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
  return pos;
}

// Opens (creating) a file to be written from its start, or at its end.
// A file being replaced is not emptied on opening: it is overwritten and
// then cut to its new length (CutAt). On ext4 a file emptied and written
// again is forced to disk when closed (the safeguard for editors that save
// by truncating), and for the small results files rewritten at every
// command that costs many times the write itself.
//
// A symlink in the name is not written through: it is replaced by a file of
// its own, so a link planted in the folder cannot make a command overwrite
// the file it points to. Only a link to a device (/dev/null) is followed.
// Opening does not wait: a pipe without a reader is refused, not hung on.
int OpenForWriting(const std::filesystem::path& path, bool append) {
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | (append ? O_APPEND : 0);
  int fd = open(path.c_str(), flags | O_NOFOLLOW, 0666);
  if (fd < 0 && errno == ELOOP) {
    struct stat target {};
    if (stat(path.c_str(), &target) == 0 && S_ISCHR(target.st_mode)) {
      fd = open(path.c_str(), flags, 0666);
    } else if (unlink(path.c_str()) == 0) {
      fd = open(path.c_str(), flags | O_NOFOLLOW | O_EXCL, 0666);
    }
  }
  if (fd >= 0) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// Ends a regular file at `length`, dropping what an earlier, longer text
// left beyond it. Devices and pipes have no length to cut.
bool CutAt(int fd, off_t length) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return false;
  return !S_ISREG(info.st_mode) || ftruncate(fd, length) == 0;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

bool WriteBytes(const std::filesystem::path& path, std::string_view bytes, bool append) {
  const int fd = OpenForWriting(path, append);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes) && (append || CutAt(fd, static_cast<off_t>(bytes.size())));
  return close(fd) == 0 && written;
}

}  // namespace

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) AppendCp1251(out, utf8, pos);
  return out;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char c : cp1251) {
    const unsigned byte = static_cast<unsigned char>(c);
    if (byte < 0x80) out.push_back(c);
    else if (char16_t cp = HighHalf(byte)) AppendUtf8(out, cp);
    else AppendUtf8(out, 0xFFFD);
  }
  return out;
}

std::string ToFileBytes(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  AppendFileBytes(bytes, text);
  return bytes;
}

void AppendFileBytes(std::string& bytes, std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    const size_t run = PlainRunLength(text.substr(pos));
    bytes.append(text.substr(pos, run));
    pos += run;
    if (pos == text.size()) break;
    if (text[pos] == '\n') bytes.push_back('\r');
    AppendCp1251(bytes, text, pos);
  }
}

// Lines of a trace come a few kilobytes at a time; the file gets them in
// blocks of this size.
constexpr size_t kStreamBlock = 1 << 20;

TextFileStream::TextFileStream(const std::filesystem::path& path)
    : fd_(OpenForWriting(path, false)), failed_(fd_ < 0) {}

TextFileStream::~TextFileStream() { Close(); }

void TextFileStream::Write(std::string_view text) {
  if (PlainRunLength(text) == text.size()) return WriteBytes(text);
  converted_.clear();
  AppendFileBytes(converted_, text);
  WriteBytes(converted_);
}

void TextFileStream::WriteBytes(std::string_view bytes) {
  if (failed_ || bytes.empty()) return;
  Commit(std::copy(bytes.begin(), bytes.end(), Room(bytes.size())));
}

char* TextFileStream::Room(size_t size) {
  if (used_ + size > capacity_) {
    Flush();
    if (size > capacity_) {
      capacity_ = std::max(size, kStreamBlock);
      buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
    }
  }
  return buffer_.get() + used_;
}

void TextFileStream::Commit(const char* end) { used_ = static_cast<size_t>(end - buffer_.get()); }

void TextFileStream::Flush() {
  if (!failed_ && !WriteAll(fd_, {buffer_.get(), used_})) failed_ = true;
  written_ += used_;
  used_ = 0;
}

bool TextFileStream::Close() {
  if (fd_ < 0) return !failed_;
  Flush();
  if (!failed_ && !CutAt(fd_, static_cast<off_t>(written_))) failed_ = true;
  if (close(fd_) != 0) failed_ = true;
  fd_ = -1;
  return !failed_;
}

bool WriteTextFile(const std::filesystem::path& path, std::string_view text) {
  return WriteBytes(path, ToFileBytes(text), false);
}

bool AppendTextFile(const std::filesystem::path& path, std::string_view text) {
  return WriteBytes(path, ToFileBytes(text), true);
}

std::optional<std::string> FirstCharacterOutsideCp1251(std::string_view utf8) {
  for (size_t pos = 0; pos < utf8.size();) {
    const size_t start = pos;
    const char32_t cp = DecodeUtf8(utf8, pos);
    // A broken sequence is named by the replacement character, since its
    // own bytes would not read as text.
    if (cp == 0xFFFD) return std::string("\xEF\xBF\xBD");
    if (EncodeCodePoint(cp) == '?' && cp != U'?') return std::string(utf8.substr(start, pos - start));
  }
  return std::nullopt;
}

SaveProblem SaveTextFileSafely(const std::filesystem::path& path, std::string_view text) {
  if (FirstCharacterOutsideCp1251(text)) return SaveProblem::Unencodable;
  return SaveFileSafely(path, ToFileBytes(text));
}

std::optional<std::string> ReadTextFile(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return std::nullopt;
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  const bool utf8 = std::string_view(bytes).substr(0, kUtf8Mark.size()) == kUtf8Mark;
  std::string withoutCr;
  withoutCr.reserve(bytes.size());
  for (size_t i = utf8 ? kUtf8Mark.size() : 0; i < bytes.size(); ++i)
    if (bytes[i] != '\r') withoutCr.push_back(bytes[i]);
  return utf8 ? withoutCr : Cp1251ToUtf8(withoutCr);
}

bool IsTokenSeparator(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

bool TokenReader::Next(std::string& token) {
  while (pos_ < text_.size() && IsTokenSeparator(text_[pos_])) {
    if (text_[pos_] == '\n') ++line_;
    ++pos_;
  }
  if (pos_ >= text_.size()) return false;
  const size_t start = pos_;
  while (pos_ < text_.size() && !IsTokenSeparator(text_[pos_])) ++pos_;
  token.assign(text_, start, pos_ - start);
  return true;
}

}  // namespace ohmara
