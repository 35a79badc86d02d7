// Files in memory for the administration tests: folders, whole-file replacement that never leaves
// a short file, and failures with chosen error numbers. Paths use backslashes as on Windows; a run
// of backslashes inside a path names the same place as one.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "formats/file_access.h"

namespace sentavo::test {

class MemoryFiles final : public FileAccess {
 public:
  void AddFolder(const std::string& path) { folders_.insert(Folder(path)); }
  void RemoveFolder(const std::string& path) { folders_.erase(Folder(path)); }
  void Put(const std::string& path, const std::string& bytes) {
    files_[Norm(path)] = std::vector<std::uint8_t>(bytes.begin(), bytes.end());
  }
  void Put(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    files_[Norm(path)] = bytes;
  }
  std::optional<std::vector<std::uint8_t>> Get(const std::string& path) const {
    const auto it = files_.find(Norm(path));
    if (it == files_.end()) return std::nullopt;
    return it->second;
  }
  std::string Text(const std::string& path) const {
    const auto bytes = Get(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
  }
  std::size_t FileCount() const { return files_.size(); }

  // Every later operation of that kind on `path` fails with `error` (0 clears it).
  void FailRead(const std::string& path, int error) { readErrors_[Norm(path)] = error; }
  void FailReplace(const std::string& path, int error) { replaceErrors_[Norm(path)] = error; }
  void FailRemove(const std::string& path, int error) { removeErrors_[Norm(path)] = error; }
  void FailCreateFolder(const std::string& path, int error) { createErrors_[Norm(path)] = error; }

  bool IsFile(const std::string& path) const override { return files_.contains(Norm(path)); }
  bool IsFolder(const std::string& path) const override { return folders_.contains(Folder(path)); }
  ReadResult Read(const std::string& path, std::size_t maxBytes) const override {
    if (const int e = ErrorFor(readErrors_, path)) return {e, {}};
    const auto it = files_.find(Norm(path));
    if (it == files_.end())
      return {IsFolder(Parent(path)) ? io::kFileNotFound : io::kPathNotFound, {}};
    const auto& b = it->second;
    return {io::kOk,
            {b.begin(), b.begin() + static_cast<std::ptrdiff_t>(std::min(maxBytes, b.size()))}};
  }
  int Replace(const std::string& path, std::span<const std::uint8_t> data) override {
    ++replaceCalls_;
    if (const int e = ErrorFor(replaceErrors_, path)) return e;
    if (!IsFolder(Parent(path))) return io::kPathNotFound;
    if (IsFolder(path)) return io::kAccessDenied;
    files_[Norm(path)] = std::vector<std::uint8_t>(data.begin(), data.end());
    return io::kOk;
  }
  int Remove(const std::string& path) override {
    if (const int e = ErrorFor(removeErrors_, path)) return e;
    return files_.erase(Norm(path)) ? io::kOk : io::kFileNotFound;
  }

  int CreateFolder(const std::string& path) override {
    if (const int e = ErrorFor(createErrors_, path)) return e;
    if (!IsFolder(Parent(path))) return io::kPathNotFound;
    if (IsFolder(path) || IsFile(path)) return io::kFileExists;
    AddFolder(path);
    return io::kOk;
  }

  std::optional<std::string> RealName(const std::string& path) const override {
    const std::string norm = Norm(path);
    if (!files_.contains(norm)) return std::nullopt;
    return norm.substr(norm.find_last_of('\\') + 1);
  }

  std::vector<FolderFile> ListFiles(const std::string& folder) const override {
    std::vector<FolderFile> out;
    const std::string f = Folder(folder);
    for (const auto& [path, bytes] : files_) {
      if (Parent(path) != f) continue;
      const auto age = ages_.find(path);
      out.push_back({path.substr(f.size() + 1), age == ages_.end() ? 0 : age->second});
    }
    return out;
  }
  // The age that ListFiles reports for `path`; 0 until set.
  void SetAge(const std::string& path, std::int64_t seconds) { ages_[Norm(path)] = seconds; }

  int replaceCalls() const { return replaceCalls_; }

 private:
  // Runs of backslashes become one, except the two that open a UNC path.
  static std::string Norm(const std::string& path) {
    std::string out;
    for (std::size_t i = 0; i < path.size(); ++i) {
      if (path[i] == '\\' && i > 1 && !out.empty() && out.back() == '\\') continue;
      out += path[i];
    }
    return out;
  }
  static std::string Folder(const std::string& path) {
    std::string f = Norm(path);
    while (f.size() > 1 && f.back() == '\\') f.pop_back();
    return f;
  }
  static std::string Parent(const std::string& path) {
    const std::string n = Norm(path);
    const auto slash = n.find_last_of('\\');
    return slash == std::string::npos ? std::string() : n.substr(0, slash);
  }
  static int ErrorFor(const std::map<std::string, int>& errors, const std::string& path) {
    const auto it = errors.find(Norm(path));
    return it == errors.end() ? io::kOk : it->second;
  }

  std::set<std::string> folders_;
  std::map<std::string, std::vector<std::uint8_t>> files_;
  std::map<std::string, int> readErrors_, replaceErrors_, removeErrors_, createErrors_;
  std::map<std::string, std::int64_t> ages_;
  int replaceCalls_ = 0;
};

}  // namespace sentavo::test
