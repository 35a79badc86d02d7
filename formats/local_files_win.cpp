#include <windows.h>

#include <atomic>
#include <cstdio>
#include <system_error>
#include <thread>
#include <vector>

#include "formats/file_access.h"
#include "formats/wide_win.h"

namespace sentavo {
namespace {

int FromLastError() {
  const DWORD e = GetLastError();
  switch (e) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return io::kDiskFull;
    case ERROR_ALREADY_EXISTS: return io::kFileExists;
    default: return static_cast<int>(e);
  }
}

// Owns a file handle for the scope of one operation.
class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) CloseHandle(h_);
  }
  FileHandle(FileHandle&& other) noexcept : h_(other.h_) { other.h_ = INVALID_HANDLE_VALUE; }
  FileHandle& operator=(FileHandle&& other) noexcept {
    if (this != &other) {
      Close();
      h_ = other.h_;
      other.h_ = INVALID_HANDLE_VALUE;
    }
    return *this;
  }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  // Closes now and reports whether the close itself succeeded.
  bool Close() {
    if (!valid()) return true;
    const BOOL ok = CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok != 0;
  }

 private:
  HANDLE h_;
};

int WriteAll(HANDLE h, std::span<const std::uint8_t> data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(h, data.data() + done, chunk, &written, nullptr)) return FromLastError();
    if (written == 0) return io::kDiskFull;
    done += written;
  }
  return io::kOk;
}

int CreateAndWrite(const std::string& path, std::span<const std::uint8_t> data, DWORD disposition,
                   bool flush) {
  FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return FromLastError();
  int error = WriteAll(file.get(), data);
  if (error == io::kOk && flush && !FlushFileBuffers(file.get())) error = FromLastError();
  if (!file.Close() && error == io::kOk) error = FromLastError();
  return error;
}

std::string UniqueText(unsigned& counter) {
  LARGE_INTEGER ticks{};
  QueryPerformanceCounter(&ticks);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%lx%x%04llx", GetCurrentProcessId(), ++counter,
                static_cast<unsigned long long>(ticks.QuadPart) & 0xFFFFu);
  return buf;
}

// Each file stays open from its write to its flush: FlushFileBuffers acts on a handle, and the
// handle also names the file without a second open. The flushes run side by side, so that the file
// system can put many files on disk in one go; at most kOpenAtMost files wait for theirs, which
// keeps a batch of any size within the handles a process (and Wine's server) can hold.
class WinFileBatch final : public FileBatch, private BatchSteps {
 public:
  ~WinFileBatch() override { Settle(); }  // what was named stays named: put it on disk too

  int Add(const std::string& path, std::span<const std::uint8_t> data) override {
    int error = AddToBatch(*this, path, data);
    if (error == io::kOk && written_.size() >= kOpenAtMost) error = Settle();
    return error;
  }
  int Finish() override { return Settle(); }

 private:
  static constexpr std::size_t kOpenAtMost = 512;
  static constexpr unsigned kFlushThreads = 16;

  int WriteTemporary(const std::string& path, std::span<const std::uint8_t> data) override {
    // Shared for reading, writing and deleting, as a closed file would be once it has its name.
    current_ = FileHandle(CreateFileW(Widen(path).c_str(), GENERIC_WRITE | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!current_.valid()) return FromLastError();  // ERROR_FILE_EXISTS is kFileExists
    return WriteAll(current_.get(), data);
  }
  int NameNew(const std::string& from, const std::string& to) override {
    const std::wstring target = Widen(to);
    std::vector<std::uint8_t> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::copy(target.begin(), target.end(), info->FileName);
    bool named = SetFileInformationByHandle(current_.get(), FileRenameInfo, info,
                                            static_cast<DWORD>(buffer.size())) != 0;
    DWORD e = named ? ERROR_SUCCESS : GetLastError();
    // A file system that cannot rename through a handle still moves by name, also refusing a
    // name that is taken.
    if (!named && e != ERROR_ALREADY_EXISTS && e != ERROR_FILE_EXISTS) {
      named = MoveFileExW(Widen(from).c_str(), target.c_str(), 0) != 0;
      e = named ? ERROR_SUCCESS : GetLastError();
    }
    if (!named)
      return e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS ? io::kFileExists
                                                                 : static_cast<int>(e);
    written_.push_back(std::move(current_));
    return io::kOk;
  }
  void Discard(const std::string& path) override {
    current_.Close();
    DeleteFileW(Widen(path).c_str());
  }
  std::string UniqueSuffix() override { return UniqueText(counter_); }

  // Flushes and closes every file written since the last time. A file that could not be put on
  // disk whole is deleted through its own handle: only whole records keep their names.
  int Settle() {
    std::vector<DWORD> errors(written_.size(), ERROR_SUCCESS);
    std::atomic<std::size_t> next{0};
    const auto flush = [&] {
      for (std::size_t i; (i = next++) < written_.size();) {
        if (!FlushFileBuffers(written_[i].get())) errors[i] = GetLastError();
      }
    };
    std::vector<std::thread> helpers;
    try {
      for (unsigned n = 1; n < kFlushThreads && n < written_.size(); ++n)
        helpers.emplace_back(flush);
    } catch (const std::system_error&) {
      // Fewer helpers, or none: this thread flushes whatever they do not.
    }
    flush();
    for (std::thread& t : helpers) t.join();
    int error = io::kOk;
    for (std::size_t i = 0; i < written_.size(); ++i) {
      if (errors[i] == ERROR_SUCCESS) continue;
      FILE_DISPOSITION_INFO gone{TRUE};
      SetFileInformationByHandle(written_[i].get(), FileDispositionInfo, &gone, sizeof gone);
      if (error == io::kOk)
        error = errors[i] == ERROR_DISK_FULL || errors[i] == ERROR_HANDLE_DISK_FULL
                    ? io::kDiskFull
                    : static_cast<int>(errors[i]);
    }
    written_.clear();  // closes them
    return error;
  }

  FileHandle current_{INVALID_HANDLE_VALUE};
  std::vector<FileHandle> written_;
  unsigned counter_ = 0;
};

}  // namespace

std::unique_ptr<FileBatch> LocalFiles::StartBatch() {
  return std::make_unique<WinFileBatch>();
}

bool LocalFiles::IsFile(const std::string& path) const {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool LocalFiles::IsFolder(const std::string& path) const {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

ReadResult LocalFiles::Read(const std::string& path, std::size_t maxBytes) const {
  ReadResult r;
  // Other writers may replace or delete the file while we read it; we still read what we opened.
  FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    r.error = FromLastError();
    return r;
  }
  if (GetFileType(file.get()) != FILE_TYPE_DISK) {  // a device or pipe named like a file
    r.error = io::kAccessDenied;
    return r;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) size.QuadPart = 0;
  return ReadToEnd(static_cast<std::size_t>(size.QuadPart), maxBytes,
                   [&](std::uint8_t* into, std::size_t want) {
                     const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(want, 1u << 30));
                     DWORD got = 0;
                     if (!ReadFile(file.get(), into, chunk, &got, nullptr)) {
                       return ReadStep{0, FromLastError()};
                     }
                     return ReadStep{got};
                   });
}

std::vector<FolderFile> LocalFiles::ListFiles(const std::string& folder) const {
  std::vector<FolderFile> out;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileExW(Widen(folder + "*").c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return out;
  FILETIME nowFt{};
  GetSystemTimeAsFileTime(&nowFt);
  const auto ticks = [](const FILETIME& ft) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) |
                                     ft.dwLowDateTime);
  };
  do {
    if (found.dwFileAttributes &
        (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))
      continue;
    // FILETIME counts 100-nanosecond steps.
    out.push_back(
        {Narrow(found.cFileName), (ticks(nowFt) - ticks(found.ftLastWriteTime)) / 10'000'000});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return out;
}

// MoveFileExW would create a target deleted since we looked; ReplaceFileW refuses a missing one, so
// a code file removed by the operator during a write-back stays removed.
int LocalFiles::ReplaceExisting(const std::string& path, std::span<const std::uint8_t> data) {
  if (!IsFile(path)) return io::kFileNotFound;
  std::string temp;
  int error = io::kFileExists;
  for (int attempt = 0; attempt < 5 && error == io::kFileExists; ++attempt) {
    temp = path + ".~" + UniqueSuffix() + ".tmp";
    error = WriteNewFile(temp, data);
  }
  // A folder that lets us change files but not create them: truncate and write, if still there.
  if (error == io::kAccessDenied) return CreateAndWrite(path, data, TRUNCATE_EXISTING, false);
  if (error != io::kOk) {
    if (error != io::kFileExists) RemoveQuietly(temp);
    return error;
  }
  if (ReplaceFileW(Widen(path).c_str(), Widen(temp).c_str(), nullptr,
                   REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    return io::kOk;
  }
  const DWORD e = GetLastError();
  if (e == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
    // The old file is gone and ours still has its temporary name: put it in the old one's place.
    if (MoveFileExW(Widen(temp).c_str(), Widen(path).c_str(), MOVEFILE_WRITE_THROUGH)) {
      return io::kOk;
    }
  }
  RemoveQuietly(temp);
  if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) return io::kFileNotFound;
  // The target held open on a share: truncate and write, still only if it is there.
  return CreateAndWrite(path, data, TRUNCATE_EXISTING, false);
}

std::optional<std::string> LocalFiles::RealName(const std::string& path) const {
  // FindFirstFileW takes these as patterns, and a pattern would report some other file's name.
  if (path.find_first_of("*?<>\"") != std::string::npos) return std::nullopt;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(Widen(path).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  FindClose(search);
  return Narrow(found.cFileName);  // the long name, also when `path` used the short one
}

// Opened for appending only: every write lands at the end of the file, whatever another handle
// does meanwhile.
int LocalFiles::Append(const std::string& path, std::span<const std::uint8_t> data) {
  FileHandle file(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return FromLastError();
  int error = WriteAll(file.get(), data);
  if (error == io::kOk && !FlushFileBuffers(file.get())) error = FromLastError();
  if (!file.Close() && error == io::kOk) error = FromLastError();
  return error;
}

int LocalFiles::Remove(const std::string& path) {
  return DeleteFileW(Widen(path).c_str()) ? io::kOk : FromLastError();
}

int LocalFiles::CreateFolder(const std::string& path) {
  return CreateDirectoryW(Widen(path).c_str(), nullptr) ? io::kOk : FromLastError();
}

int LocalFiles::WriteNewFile(const std::string& path, std::span<const std::uint8_t> data) {
  const int error = CreateAndWrite(path, data, CREATE_NEW, true);
  return error == ERROR_FILE_EXISTS ? io::kFileExists : error;
}

int LocalFiles::MoveOver(const std::string& from, const std::string& to) {
  return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? io::kOk
             : FromLastError();
}

int LocalFiles::WriteInPlace(const std::string& path, std::span<const std::uint8_t> data) {
  return CreateAndWrite(path, data, CREATE_ALWAYS, false);
}

void LocalFiles::RemoveQuietly(const std::string& path) {
  DeleteFileW(Widen(path).c_str());
}

std::string LocalFiles::UniqueSuffix() {
  return UniqueText(counter_);
}

}  // namespace sentavo
