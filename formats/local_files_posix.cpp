#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <set>

#include "formats/file_access.h"

namespace sentavo {
namespace {

bool ParentExists(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return true;
  struct stat st {};
  return ::stat(slash == 0 ? "/" : path.substr(0, slash).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int FromErrno(int e, const std::string& path) {
  switch (e) {
    case ENOENT: return ParentExists(path) ? io::kFileNotFound : io::kPathNotFound;
    case ENOTDIR:
    case ENAMETOOLONG: return io::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return io::kAccessDenied;
    case EMFILE:
    case ENFILE: return io::kTooManyOpenFiles;
    case EEXIST: return io::kFileExists;
    case ENOSPC:
    case EDQUOT: return io::kDiskFull;
    default: return e;
  }
}

int WriteAll(int fd, std::span<const std::uint8_t> data, const std::string& path) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FromErrno(errno, path);
    }
    if (n == 0) return io::kDiskFull;
    done += static_cast<std::size_t>(n);
  }
  return io::kOk;
}

int WriteAndClose(int fd, std::span<const std::uint8_t> data, const std::string& path, bool sync) {
  int error = WriteAll(fd, data, path);
  if (error == io::kOk && sync && ::fsync(fd) != 0) error = FromErrno(errno, path);
  if (::close(fd) != 0 && error == io::kOk) error = FromErrno(errno, path);
  return error;
}

std::string UniqueText(unsigned& counter) {
  static std::mt19937 random(std::random_device{}());
  char buf[48];
  std::snprintf(buf, sizeof buf, "%x%x%04x", static_cast<unsigned>(::getpid()), ++counter,
                static_cast<unsigned>(random() & 0xFFFF));
  return buf;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Names a file without ever taking a name that is there: renameat2 refuses a taken one, and where
// the file system does not offer that, a hard link does the same (and the temporary name goes).
int RenameWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
    return io::kOk;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return FromErrno(errno, to);
  if (::link(from.c_str(), to.c_str()) != 0) return FromErrno(errno, to);
  ::unlink(from.c_str());
  return io::kOk;
}

// Each file is closed as soon as it is written and named; one syncfs per folder at the end puts
// them all on disk in a single pass of the file system, instead of one journal commit a file.
class PosixFileBatch final : public FileBatch, private BatchSteps {
 public:
  int Add(const std::string& path, std::span<const std::uint8_t> data) override {
    const int error = AddToBatch(*this, path, data);
    if (error == io::kOk) folders_.insert(FolderOf(path));
    return error;
  }
  int Finish() override {
    int error = io::kOk;
    for (const std::string& folder : folders_) {
      const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (fd < 0 || ::syncfs(fd) != 0) {
        if (error == io::kOk) error = FromErrno(errno, folder);
      }
      if (fd >= 0) ::close(fd);
    }
    folders_.clear();
    return error;
  }

 private:
  int WriteTemporary(const std::string& path, std::span<const std::uint8_t> data) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return FromErrno(errno, path);
    return WriteAndClose(fd, data, path, false);
  }
  int NameNew(const std::string& from, const std::string& to) override {
    return RenameWithoutReplacing(from, to);
  }
  void Discard(const std::string& path) override { ::unlink(path.c_str()); }
  std::string UniqueSuffix() override { return UniqueText(counter_); }

  std::set<std::string> folders_;
  unsigned counter_ = 0;
};

}  // namespace

std::unique_ptr<FileBatch> LocalFiles::StartBatch() {
  return std::make_unique<PosixFileBatch>();
}

bool LocalFiles::IsFile(const std::string& path) const {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool LocalFiles::IsFolder(const std::string& path) const {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

ReadResult LocalFiles::Read(const std::string& path, std::size_t maxBytes) const {
  ReadResult r;
  // Non-blocking open, so that a FIFO put in place of a file cannot hang the caller.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    r.error = FromErrno(errno, path);
    return r;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    r.error = io::kAccessDenied;
    return r;
  }
  r = ReadToEnd(static_cast<std::size_t>(st.st_size), maxBytes,
                [&](std::uint8_t* into, std::size_t size) {
                  for (;;) {
                    const ssize_t n = ::read(fd, into, size);
                    if (n >= 0) return ReadStep{static_cast<std::size_t>(n)};
                    if (errno != EINTR) return ReadStep{0, FromErrno(errno, path)};
                  }
                });
  ::close(fd);
  return r;
}

std::vector<FolderFile> LocalFiles::ListFiles(const std::string& folder) const {
  std::vector<FolderFile> out;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return out;
  const auto now = std::chrono::system_clock::now();
  while (const dirent* e = ::readdir(dir)) {
    struct stat st {};
    const std::string name = e->d_name;
    if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
      continue;
    const auto written = std::chrono::system_clock::from_time_t(st.st_mtime);
    out.push_back({name, std::chrono::duration_cast<std::chrono::seconds>(now - written).count()});
  }
  ::closedir(dir);
  return out;
}

// rename() takes the place of a missing target as readily as of a present one; natively (tests and
// tools) looking first is enough.
int LocalFiles::ReplaceExisting(const std::string& path, std::span<const std::uint8_t> data) {
  return IsFile(path) ? Replace(path, data) : io::kFileNotFound;
}

// POSIX file systems keep one name per link and match it exactly: the name is the one given.
std::optional<std::string> LocalFiles::RealName(const std::string& path) const {
  if (!IsFile(path)) return std::nullopt;
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int LocalFiles::Append(const std::string& path, std::span<const std::uint8_t> data) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return FromErrno(errno, path);
  return WriteAndClose(fd, data, path, /*sync=*/true);
}

int LocalFiles::Remove(const std::string& path) {
  return ::unlink(path.c_str()) == 0 ? io::kOk : FromErrno(errno, path);
}

int LocalFiles::CreateFolder(const std::string& path) {
  return ::mkdir(path.c_str(), 0777) == 0 ? io::kOk : FromErrno(errno, path);
}

int LocalFiles::WriteNewFile(const std::string& path, std::span<const std::uint8_t> data) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return FromErrno(errno, path);
  return WriteAndClose(fd, data, path, true);
}

int LocalFiles::MoveOver(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? io::kOk : FromErrno(errno, to);
}

int LocalFiles::WriteInPlace(const std::string& path, std::span<const std::uint8_t> data) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return FromErrno(errno, path);
  return WriteAndClose(fd, data, path, false);
}

void LocalFiles::RemoveQuietly(const std::string& path) {
  ::unlink(path.c_str());
}

std::string LocalFiles::UniqueSuffix() {
  return UniqueText(counter_);
}

}  // namespace sentavo
