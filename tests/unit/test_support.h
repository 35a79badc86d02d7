// Shared helpers for the unit tests: a temporary folder and a fixed clock.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "formats/clock.h"
#include "formats/oledate.h"

namespace sentavo {
// Readable failure messages for date-times.
inline void PrintTo(const DateTime& dt, std::ostream* os) {
  *os << FormatIso(dt);
}
}  // namespace sentavo

namespace sentavo::test {

// File names in the tests are UTF-8 (as in the programs); std::filesystem needs to be told so, or
// on Windows it takes them for the ANSI code page.
inline std::filesystem::path Utf8Path(const std::string& utf8) {
  return std::filesystem::path(
      std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

inline std::string PathUtf8(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return std::string(reinterpret_cast<const char*>(s.data()), s.size());
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("sentavo-test-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string path() const { return PathUtf8(path_); }
  std::string File(const std::string& name) const { return PathUtf8(path_ / Utf8Path(name)); }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_))
      names.push_back(PathUtf8(e.path().filename()));
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(Utf8Path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(Utf8Path(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

class FixedClock final : public Clock {
 public:
  explicit FixedClock(DateTime now, std::uint32_t utcMs = 0) : now_(now), utcMs_(utcMs) {}
  DateTime LocalNow() const override { return now_; }
  std::uint32_t UtcMillisecondsOfDay() const override { return utcMs_; }
  std::uint64_t MonotonicMilliseconds() const override { return 0; }

 private:
  DateTime now_;
  std::uint32_t utcMs_;
};

}  // namespace sentavo::test
