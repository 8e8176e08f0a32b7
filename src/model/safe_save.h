#pragma once
// Replacing a user's file without ever leaving it half-written or changed
// in kind: the bytes go to a fresh temporary file beside the real one
// (created exclusively under an unpredictable name), are flushed to disk and
// only then renamed over it. A symlink is written through to its target and
// stays a symlink; the file keeps its mode and, where the user may set it,
// its owner.

#include <filesystem>
#include <functional>
#include <string_view>

namespace ohmara {

enum class SaveProblem {
  None,
  NotPermitted,  // the file (or its directory) may not be written by this user
  NotAFile,      // the name is taken by a directory or another non-file
  CannotWrite,   // creating, writing, flushing or renaming failed
  Unencodable,   // the text holds a character the file's code page lacks
};

// What a file the student saves holds, for the wording of a failed save: a
// scheme and a drawing's branch table have always been named in it.
enum class SavedFile { Other, Scheme, DrawingTable };

// Writes `bytes` exactly as given. On any problem the file is left as it was
// and no temporary file remains.
SaveProblem SaveFileSafely(const std::filesystem::path& path, std::string_view bytes);

// The same for a file another writer produces by name (a printer, an image
// writer): `write` fills the temporary file it is given, which exists and is
// empty, and answers whether everything it wrote was written. Only then is
// the file flushed and renamed over `path`.
SaveProblem SaveFileWrittenBy(const std::filesystem::path& path,
                              const std::function<bool(const std::filesystem::path&)>& write);

// Whether the file's last bytes are `tail`: a writer that cannot report a
// failed write (Qt's PDF engine) leaves a file cut short, without its end mark.
bool FileEndsWith(const std::filesystem::path& path, std::string_view tail);

// The file a save of `path` must replace: `path` with every symlink on the
// way followed (a dangling link gives the path it points to).
std::filesystem::path SaveTarget(const std::filesystem::path& path);

}  // namespace ohmara
