#include "model/safe_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>
#include <system_error>

namespace ohmara {

namespace {

namespace fs = std::filesystem;

// Holds a descriptor and the temporary name until the rename succeeds; on
// any early return the temporary file goes.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& target) {
    const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // Appended, not "." + name: GCC 12 at -O3 warns falsely (-Wrestrict) on that.
    std::string hidden(1, '.');
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    name_ = (directory / hidden).string();
    fd_ = ::mkstemp(name_.data());
    if (fd_ < 0) name_.clear();
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.empty()) ::unlink(name_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Open() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }
  fs::path Name() const { return name_; }

  // For a file another writer filled by its name: its bytes reach the disk,
  // whichever descriptor wrote them.
  bool SyncByName() const {
    const int fd = ::open(name_.c_str(), O_RDONLY);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
  }

  bool WriteAll(std::string_view bytes) const {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      bytes.remove_prefix(static_cast<size_t>(written));
    }
    return ::fsync(fd_) == 0;
  }

  // Closes, then renames over `target`; afterwards nothing is left to clean.
  bool CloseAndRename(const fs::path& target) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(name_.c_str(), target.c_str()) != 0) return false;
    name_.clear();
    return true;
  }

 private:
  std::string name_;
  int fd_ = -1;
};

// The permissions a newly created file gets: 0666 less the umask, read
// without changing it for good.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The old file's mode and owner carried over to the new one. The owner can
// be given only by a privileged user or to the same owner; failing that the
// file simply belongs to whoever saved it, as an editor would leave it.
void CarryOver(int fd, const struct stat* old) {
  if (!old) {
    ::fchmod(fd, NewFileMode());
    return;
  }
  if (::fchown(fd, old->st_uid, old->st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
  ::fchmod(fd, old->st_mode & 07777);
}

void FlushDirectory(const fs::path& target) {
  const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

fs::path SaveTarget(const fs::path& path) {
  fs::path target = path;
  // A bound on the links followed, as the system itself keeps, so a loop of
  // links ends; the save then fails on the last name.
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(target, error))) return target;
    const fs::path link = fs::read_symlink(target, error);
    if (error) return target;
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  return target;
}

namespace {

// The steps every save shares: the target checked, a temporary file beside
// it created, filled by `fill`, then renamed over the target.
SaveProblem SaveThroughTemporary(const fs::path& path, const std::function<bool(TemporaryFile&)>& fill) {
  const fs::path target = SaveTarget(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) return SaveProblem::NotAFile;
  // A file the user may not write stays as it is, even where the directory
  // would allow replacing it.
  if (exists && ::access(target.c_str(), W_OK) != 0) return SaveProblem::NotPermitted;

  TemporaryFile temporary(target);
  if (!temporary.Open())
    return errno == EACCES || errno == EPERM ? SaveProblem::NotPermitted : SaveProblem::CannotWrite;
  CarryOver(temporary.Descriptor(), exists ? &old : nullptr);
  if (!fill(temporary) || !temporary.CloseAndRename(target)) return SaveProblem::CannotWrite;
  FlushDirectory(target);
  return SaveProblem::None;
}

}  // namespace

SaveProblem SaveFileSafely(const fs::path& path, std::string_view bytes) {
  return SaveThroughTemporary(path, [bytes](TemporaryFile& temporary) { return temporary.WriteAll(bytes); });
}

SaveProblem SaveFileWrittenBy(const fs::path& path, const std::function<bool(const fs::path&)>& write) {
  return SaveThroughTemporary(
      path, [&write](TemporaryFile& temporary) { return write(temporary.Name()) && temporary.SyncByName(); });
}

bool FileEndsWith(const fs::path& path, std::string_view tail) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  std::string end(tail.size(), '\0');
  struct stat status {};
  const bool read = ::fstat(fd, &status) == 0 && status.st_size >= static_cast<off_t>(tail.size()) &&
                    ::pread(fd, end.data(), end.size(), status.st_size - static_cast<off_t>(tail.size())) ==
                        static_cast<ssize_t>(tail.size());
  ::close(fd);
  return read && end == tail;
}

}  // namespace ohmara
