// A guest's period on a shared folder that answers every write in 3 seconds, with Timer1 firing as
// a window timer does (a tick that is due while the last one still runs comes once, late). Prints
// the seconds that passed against the seconds the countdown took, beside what a countdown that
// takes one second per tick would have taken. Not a test.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "bench/stub_services.h"
#include "client/lock_screen.h"
#include "formats/clock.h"
#include "formats/file_access.h"
#include "formats/issuing.h"

namespace {

using namespace sentavo;
using namespace sentavo::client;
using std::chrono::milliseconds;
using Steady = std::chrono::steady_clock;

constexpr milliseconds kShareDelay{3000};
constexpr milliseconds kRun{30000};

// The local folder behind a slow network: every read and write waits before it is done.
class SlowShare final : public FileAccess {
 public:
  bool IsFile(const std::string& path) const override { return files_.IsFile(path); }
  bool IsFolder(const std::string& path) const override { return files_.IsFolder(path); }
  ReadResult Read(const std::string& path, std::size_t maxBytes) const override {
    std::this_thread::sleep_for(kShareDelay);
    return files_.Read(path, maxBytes);
  }
  int Replace(const std::string& path, std::span<const std::uint8_t> data) override {
    std::this_thread::sleep_for(kShareDelay);
    return files_.Replace(path, data);
  }
  int Remove(const std::string& path) override { return files_.Remove(path); }
  std::optional<std::string> RealName(const std::string& path) const override {
    return files_.RealName(path);
  }
  std::vector<FolderFile> ListFiles(const std::string& folder) const override {
    return files_.ListFiles(folder);
  }
  LocalFiles& local() { return files_; }

 private:
  mutable LocalFiles files_;
};

}  // namespace

int main() {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("sentavo-slow-share-" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir);
  const std::string folder = (dir / "").string();  // with its trailing separator

  const SystemClock clock;
  const CzechFormats formats;
  SlowShare share;
  bench::StubServices stubs(dir.string());
  LockScreen screen({clock, formats, share, stubs.policies, stubs.lock, stubs.pointer,
                     stubs.environment, stubs.identity});
  screen.Start();
  screen.OnFirstShow();
  screen.OnServercestaChanged(folder);
  screen.OnServercestaExit();

  IssueRequest request;
  request.rights = DefaultIssueRights();
  request.seconds = 3600;
  const DateTime now = clock.LocalNow();
  request.validFrom = *FromOleDate(ToOleDate(now) - 1);
  request.validTo = *FromOleDate(ToOleDate(now) + 1);
  share.local().Replace(folder + "slow.dat",
                        EncodeCodeRecord(BuildIssuedRecord(request, now, formats)));
  screen.OnKodChanged("slow");
  screen.OnKodEnter();
  if (screen.countdown() <= 0) {
    std::fprintf(stderr, "the code was refused: %s\n", screen.view().infoLabel.text.c_str());
    return 1;
  }
  const std::int32_t budget = screen.countdown();

  // A window timer of one second: due every second; a tick that falls due while the previous
  // one still runs is delivered once, as soon as the program takes messages again.
  const Steady::time_point start = Steady::now();
  Steady::time_point due = start + milliseconds(1000);
  int ticks = 0;
  while (Steady::now() - start < kRun) {
    std::this_thread::sleep_until(due);
    screen.OnTimer1();
    screen.TakeRequests();
    ++ticks;
    const Steady::time_point after = Steady::now();
    due += milliseconds(1000);
    while (due + milliseconds(1000) <= after) due += milliseconds(1000);  // missed ticks: one left
  }
  const double elapsed = std::chrono::duration<double>(Steady::now() - start).count();
  const std::int32_t taken = budget - screen.countdown();
  std::printf("share answering in %.0f s: %.1f s of use, %d ticks\n", kShareDelay.count() / 1000.0,
              elapsed, ticks);
  std::printf(
      "  countdown took %d s (free time %.1f s); one second per tick would take %d s "
      "(free time %.1f s)\n",
      taken, elapsed - taken, ticks, elapsed - ticks);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return 0;
}
