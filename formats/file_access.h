// Reading and replacing whole files, behind an interface so that the programs' logic can be tested
// against files in memory. A record file is always replaced whole: written to a temporary file in
// the same folder and moved over the target, so that a crash, a power cut or a full disk never
// leaves a short record where a good one was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sentavo {

// I/O error numbers as the programs report them: Windows system error codes, with 100 for a file
// shorter than its record and 101 for a full disk; 0 is success.
namespace io {
inline constexpr int kOk = 0;
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kAccessDenied = 5;
inline constexpr int kFileExists = 80;
inline constexpr int kReadBeyondEnd = 100;
inline constexpr int kDiskFull = 101;
inline constexpr int kInvalidInput = 106;
}  // namespace io

// "File not found", "Invalid filename", ..., "I/O error 32".
std::string IoErrorText(int code);

struct ReadResult {
  int error = io::kOk;
  std::vector<std::uint8_t> bytes;
};

// New files written as one batch: each is written whole under a temporary name beside its target
// and then takes the target's name, but only where no file has that name yet, so a batch never
// overwrites. The flush to disk waits for Finish, once for the whole batch instead of once a file.
// A batch cut off anywhere (an error, an exception, a kill) leaves only whole files under their
// names: a file is named only once all of it is written, and a temporary file that could not be
// finished is removed (after a kill, it is never named and the litter sweep takes it).
class FileBatch {
 public:
  virtual ~FileBatch() = default;
  // kOk; kFileExists when `path` is taken (nothing is changed); or the error that stopped it.
  virtual int Add(const std::string& path, std::span<const std::uint8_t> data) = 0;
  // Flushes every file added so far to disk.
  virtual int Finish() = 0;
};

struct FolderFile {
  std::string name;  // the name alone, UTF-8
  // Seconds since the file was last written, by the file system's own clock; negative when the
  // file's time lies ahead of it.
  std::int64_t ageSeconds = 0;
};

class FileAccess {
 public:
  virtual ~FileAccess() = default;
  // True for an existing regular file; false for folders, devices and anything missing.
  virtual bool IsFile(const std::string& path) const = 0;
  virtual bool IsFolder(const std::string& path) const = 0;
  // At most `maxBytes` from the start of a regular file; fewer only when the file is shorter.
  virtual ReadResult Read(const std::string& path, std::size_t maxBytes) const = 0;
  virtual int Replace(const std::string& path, std::span<const std::uint8_t> data) = 0;
  // Replace, but only a file that is there: one deleted meanwhile is not created again (then
  // kFileNotFound). This default looks first, which leaves a moment between the look and the
  // write; LocalFiles on Windows has none.
  virtual int ReplaceExisting(const std::string& path, std::span<const std::uint8_t> data) {
    return IsFile(path) ? Replace(path, data) : io::kFileNotFound;
  }
  virtual int Remove(const std::string& path) = 0;
  // Adds `data` at the end of the file, made when missing, and flushes it to disk. LocalFiles
  // does it with one write of the whole `data`, so that a log line is never split by a crash or
  // interleaved with another write; this default reads the file and replaces it whole.
  virtual int Append(const std::string& path, std::span<const std::uint8_t> data);
  // Creates the folder `path` (no trailing separator) in a folder that exists; kOk when it was
  // made. This default, for file systems in memory that hold only the folders they were given,
  // makes none: kOk only for a folder that is there.
  virtual int CreateFolder(const std::string& path) {
    return IsFolder(path) ? io::kOk : io::kPathNotFound;
  }
  // The name the file system keeps for the file at `path` (the last component only), whatever
  // alias `path` reached it by: a short 8.3 name or another letter case give the long name as
  // stored. Empty when there is no such file.
  virtual std::optional<std::string> RealName(const std::string& path) const = 0;
  // The regular files directly in `folder` (given with its trailing separator; no sub-folders);
  // empty when it cannot be read.
  virtual std::vector<FolderFile> ListFiles(const std::string& folder) const = 0;
  // A batch of new files. This default adds each file with its own Replace after looking whether
  // the name is taken, which is enough for files in memory; LocalFiles writes a real batch.
  virtual std::unique_ptr<FileBatch> StartBatch();
};

// One read call of a platform: at most `size` bytes into `into`; how many came (none at the end
// of the file), or an error.
struct ReadStep {
  std::size_t count = 0;
  int error = io::kOk;
};
using ReadSome = std::function<ReadStep(std::uint8_t* into, std::size_t size)>;

// Reads an open file to its end, at most `maxBytes`, through `read`. `expectedSize` (the file's
// size when it was opened) sizes the buffer, so a small file under a large limit costs only its
// own size; a file that grew meanwhile is still read on. No bytes with an error.
ReadResult ReadToEnd(std::size_t expectedSize, std::size_t maxBytes, const ReadSome& read);

// A whole record of `size` bytes, or kReadBeyondEnd (and no bytes) when the file is shorter.
ReadResult ReadRecordFile(const FileAccess& files, const std::string& path, std::size_t size);

// The steps of a replacement, each a plain file-system call, so the order and the fallback can be
// tested with steps that fail on purpose.
class ReplaceSteps {
 public:
  virtual ~ReplaceSteps() = default;
  // Creates a file that must not exist yet, writes `data`, flushes it to disk and closes it.
  virtual int WriteNewFile(const std::string& path, std::span<const std::uint8_t> data) = 0;
  // Moves `from` over `to`, replacing `to`.
  virtual int MoveOver(const std::string& from, const std::string& to) = 0;
  // Creates or truncates `path` and writes `data`: the old way, for when a move is refused.
  virtual int WriteInPlace(const std::string& path, std::span<const std::uint8_t> data) = 0;
  virtual void RemoveQuietly(const std::string& path) = 0;
  // A text that makes a temporary name unique among this and other computers' writers.
  virtual std::string UniqueSuffix() = 0;
};

// Writes "<target>.~<suffix>.tmp" and moves it over the target. When the move is refused (the
// target held open on a share) or the folder lets us change files but not create them, falls back
// to truncate-and-write. Any other failure leaves the target as it was.
int ReplaceWholeFile(ReplaceSteps& steps, const std::string& target,
                     std::span<const std::uint8_t> data);

// The steps of adding a file to a batch, each a plain file-system call, so that every way a batch
// can be cut off can be tested with steps that fail on purpose.
class BatchSteps {
 public:
  virtual ~BatchSteps() = default;
  // Creates a file that must not exist yet and writes `data`, without waiting for the disk.
  virtual int WriteTemporary(const std::string& path, std::span<const std::uint8_t> data) = 0;
  // Gives the file just written at `from` the name `to`, unless a file has that name already
  // (kFileExists, and nothing changes).
  virtual int NameNew(const std::string& from, const std::string& to) = 0;
  // Removes the file just written at `path` (closing it first where it is still open).
  virtual void Discard(const std::string& path) = 0;
  // A text that makes a temporary name unique among this and other computers' writers.
  virtual std::string UniqueSuffix() = 0;
};

// Writes "<target>.~<suffix>.tmp" and names it `target` if that name is free. On any failure the
// temporary file is gone and `target` is as it was.
int AddToBatch(BatchSteps& steps, const std::string& target, std::span<const std::uint8_t> data);

// The computer's own file system (POSIX natively, Win32 on Windows). Paths are UTF-8.
class LocalFiles final : public FileAccess, private ReplaceSteps {
 public:
  bool IsFile(const std::string& path) const override;
  bool IsFolder(const std::string& path) const override;
  ReadResult Read(const std::string& path, std::size_t maxBytes) const override;
  int Replace(const std::string& path, std::span<const std::uint8_t> data) override {
    return ReplaceWholeFile(*this, path, data);
  }
  int ReplaceExisting(const std::string& path, std::span<const std::uint8_t> data) override;
  int Remove(const std::string& path) override;
  int Append(const std::string& path, std::span<const std::uint8_t> data) override;
  int CreateFolder(const std::string& path) override;
  std::optional<std::string> RealName(const std::string& path) const override;
  std::vector<FolderFile> ListFiles(const std::string& folder) const override;
  std::unique_ptr<FileBatch> StartBatch() override;

 private:
  int WriteNewFile(const std::string& path, std::span<const std::uint8_t> data) override;
  int MoveOver(const std::string& from, const std::string& to) override;
  int WriteInPlace(const std::string& path, std::span<const std::uint8_t> data) override;
  void RemoveQuietly(const std::string& path) override;
  std::string UniqueSuffix() override;

  unsigned counter_ = 0;
};

}  // namespace sentavo
