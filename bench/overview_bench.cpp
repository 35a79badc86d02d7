// Prints how long the overview of SentavoAdmin takes to read a shared folder of 200 PCs' status
// files: list the folder, read and decode every file, sort, build the rows. The window does this
// every 2 seconds on its message thread, which must stay under 50 ms to keep the window
// responsive. Not a test.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "administration/overview.h"
#include "formats/file_access.h"

namespace {

using namespace sentavo;

// The local files under the names the model builds: it joins folders with backslashes, as on
// Windows, which this system takes for separators only once they are slashes.
class SlashFiles final : public FileAccess {
 public:
  bool IsFile(const std::string& path) const override { return files_.IsFile(Slashed(path)); }
  bool IsFolder(const std::string& path) const override { return files_.IsFolder(Slashed(path)); }
  ReadResult Read(const std::string& path, std::size_t maxBytes) const override {
    return files_.Read(Slashed(path), maxBytes);
  }
  int Replace(const std::string& path, std::span<const std::uint8_t> data) override {
    return files_.Replace(Slashed(path), data);
  }
  int Remove(const std::string& path) override { return files_.Remove(Slashed(path)); }
  int CreateFolder(const std::string& path) override { return files_.CreateFolder(Slashed(path)); }
  std::optional<std::string> RealName(const std::string& path) const override {
    return files_.RealName(Slashed(path));
  }
  std::vector<FolderFile> ListFiles(const std::string& folder) const override {
    return files_.ListFiles(Slashed(folder));
  }

 private:
  static std::string Slashed(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
  }
  LocalFiles files_;
};

LocalTime Before(const LocalTime& now, int seconds) {
  LocalTime t = now;
  t.local = *FromOleDate(ToOleDate(now.local) - seconds / 86400.0);
  t.local.millisecond = 0;
  return t;
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  constexpr int kStations = 200;
  const fs::path share = fs::temp_directory_path() / "sentavo-overview-bench";
  fs::remove_all(share);
  fs::create_directories(share / "stav");
  const std::string shareText = share.string() + "\\";

  SystemClock clock;
  CzechFormats formats;
  const LocalTime now = admin::LocalNowWithOffset(clock);
  SlashFiles files;
  for (int i = 0; i < kStations; ++i) {
    StationStatus s;
    s.pc = "PC-" + std::to_string(1000 + i * 7 % kStations);
    s.uid = std::to_string(1179722422 + i);
    s.state = i % 3 == 0 ? StationState::Guest : StationState::Locked;
    if (s.state == StationState::Guest) {
      s.code = std::to_string(4000 + i);
      s.secondsLeft = 60 * i;
    }
    s.since = Before(now, 600 + i);
    // One in ten has stopped reporting.
    s.updated = Before(now, i % 10 == 0 ? 120 : i % 5);
    s.guarded = i % 4 != 0;
    s.version = "1.0";
    s.lastCommand = CommandOutcome{"lock", Before(now, 60), "ok"};
    const std::string json = EncodeStatus(s);
    files.Replace(StationFile(shareText, kStatusFolder, s.pc),
                  {reinterpret_cast<const std::uint8_t*>(json.data()), json.size()});
  }

  std::vector<double> ms;
  std::size_t rows = 0;
  for (int run = 0; run < 50; ++run) {
    const auto start = std::chrono::steady_clock::now();
    rows = admin::ReadOverview(files, shareText, now, formats).size();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  const double first = ms.front();
  std::sort(ms.begin(), ms.end());
  std::printf(
      "overview of %zu status files: first read %.2f ms, median %.2f ms, slowest %.2f ms "
      "(50 reads; the window allows 50 ms)\n",
      rows, first, ms[ms.size() / 2], ms.back());
  fs::remove_all(share);
  return rows == static_cast<std::size_t>(kStations) ? 0 : 1;
}
