#include "formats/file_access.h"

#include <algorithm>
#include <array>

namespace sentavo {

std::string IoErrorText(int code) {
  switch (code) {
    case io::kFileNotFound: return "File not found";
    case io::kPathNotFound: return "Invalid filename";
    case io::kTooManyOpenFiles: return "Too many open files";
    case io::kAccessDenied: return "File access denied";
    case io::kReadBeyondEnd: return "Read beyond end of file";
    case io::kDiskFull: return "Disk full";
    case io::kInvalidInput: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
  }
}

ReadResult ReadToEnd(std::size_t expectedSize, std::size_t maxBytes, const ReadSome& read) {
  ReadResult r;
  r.bytes.resize(std::min(expectedSize, maxBytes));
  std::size_t done = 0;
  while (r.error == io::kOk) {
    if (done < r.bytes.size()) {
      const ReadStep step = read(r.bytes.data() + done, r.bytes.size() - done);
      r.error = step.error;
      if (r.error != io::kOk || step.count == 0) break;
      done += std::min(step.count, r.bytes.size() - done);
      continue;
    }
    if (done == maxBytes) break;
    // Whether there is more than expected is asked with a small buffer of its own, so that the
    // usual file, which has not changed since it was opened, needs no room beyond its size.
    std::array<std::uint8_t, 4096> probe;
    const ReadStep step = read(probe.data(), std::min(probe.size(), maxBytes - done));
    r.error = step.error;
    if (r.error != io::kOk || step.count == 0) break;
    const std::size_t count = std::min(step.count, probe.size());
    r.bytes.resize(std::min(maxBytes, std::max(done * 2, done + count + probe.size())));
    std::copy_n(probe.begin(), count, r.bytes.begin() + static_cast<std::ptrdiff_t>(done));
    done += count;
  }
  r.bytes.resize(r.error == io::kOk ? done : 0);
  return r;
}

ReadResult ReadRecordFile(const FileAccess& files, const std::string& path, std::size_t size) {
  ReadResult r = files.Read(path, size);
  if (r.error == io::kOk && r.bytes.size() < size) {
    r.error = io::kReadBeyondEnd;
    r.bytes.clear();
  }
  return r;
}

namespace {

// Files in memory have no flush to wait for: a look and a replacement per file is the batch.
class ReplacingBatch final : public FileBatch {
 public:
  explicit ReplacingBatch(FileAccess& files) : files_(files) {}
  int Add(const std::string& path, std::span<const std::uint8_t> data) override {
    return files_.IsFile(path) ? io::kFileExists : files_.Replace(path, data);
  }
  int Finish() override { return io::kOk; }

 private:
  FileAccess& files_;
};

}  // namespace

int FileAccess::Append(const std::string& path, std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> whole;
  if (IsFile(path)) {
    ReadResult read = Read(path, 64u << 20);
    if (read.error != io::kOk) return read.error;
    whole = std::move(read.bytes);
  }
  whole.insert(whole.end(), data.begin(), data.end());
  return Replace(path, whole);
}

std::unique_ptr<FileBatch> FileAccess::StartBatch() {
  return std::make_unique<ReplacingBatch>(*this);
}

int AddToBatch(BatchSteps& steps, const std::string& target, std::span<const std::uint8_t> data) {
  std::string temp;
  int error = io::kFileExists;
  for (int attempt = 0; attempt < 5 && error == io::kFileExists; ++attempt) {
    temp = target + ".~" + steps.UniqueSuffix() + ".tmp";
    error = steps.WriteTemporary(temp, data);
  }
  if (error != io::kOk) {
    if (error != io::kFileExists) steps.Discard(temp);  // a part-written file of our own
    return error;
  }
  error = steps.NameNew(temp, target);
  if (error != io::kOk) steps.Discard(temp);
  return error;
}

int ReplaceWholeFile(ReplaceSteps& steps, const std::string& target,
                     std::span<const std::uint8_t> data) {
  std::string temp;
  int error = io::kFileExists;
  for (int attempt = 0; attempt < 5 && error == io::kFileExists; ++attempt) {
    temp = target + ".~" + steps.UniqueSuffix() + ".tmp";
    error = steps.WriteNewFile(temp, data);
  }
  if (error == io::kAccessDenied) return steps.WriteInPlace(target, data);
  if (error != io::kOk) {
    if (error != io::kFileExists) steps.RemoveQuietly(temp);  // a part-written file of our own
    return error;
  }
  if (steps.MoveOver(temp, target) != io::kOk) {
    steps.RemoveQuietly(temp);
    return steps.WriteInPlace(target, data);
  }
  return io::kOk;
}

}  // namespace sentavo
