// Prints the time of one Timer1 tick of the lock screen with a local shared folder: while locked,
// and during a guest's period (which rewrites the code file every tick). Not a test.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/stub_services.h"
#include "client/lock_screen.h"
#include "formats/clock.h"
#include "formats/config_record.h"
#include "formats/file_access.h"
#include "formats/issuing.h"

namespace {

using namespace sentavo;
using namespace sentavo::client;

// The local files with the names as the bench joins them: the model puts a backslash before the
// code's file name, which on this system is part of one file name, so the stored name of a code
// file is what follows the last backslash.
class BackslashFiles final : public FileAccess {
 public:
  bool IsFile(const std::string& path) const override { return files_.IsFile(path); }
  bool IsFolder(const std::string& path) const override { return files_.IsFolder(path); }
  ReadResult Read(const std::string& path, std::size_t maxBytes) const override {
    return files_.Read(path, maxBytes);
  }
  int Replace(const std::string& path, std::span<const std::uint8_t> data) override {
    return files_.Replace(path, data);
  }
  int ReplaceExisting(const std::string& path, std::span<const std::uint8_t> data) override {
    return files_.ReplaceExisting(path, data);
  }
  int Remove(const std::string& path) override { return files_.Remove(path); }
  std::optional<std::string> RealName(const std::string& path) const override {
    if (!files_.IsFile(path)) return std::nullopt;
    return path.substr(path.find_last_of("\\/") + 1);
  }
  std::vector<FolderFile> ListFiles(const std::string& folder) const override {
    return files_.ListFiles(folder);
  }

 private:
  LocalFiles files_;
};

double MicrosPerTick(LockScreen& screen, int ticks) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < ticks; ++i) {
    screen.OnTimer1();
    screen.TakeRequests();
  }
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / ticks;
}

}  // namespace

int main(int argc, char** argv) {
  // --config FILE SERVERPATH: writes a Sentavo.cfg naming that shared folder (for bench/client.sh).
  if (argc == 4 && std::string(argv[1]) == "--config") {
    TConfigRecord config;
    config.asFrontApp = true;
    config.rights = DefaultIssueRights();
    config.adminPassword = "vamor";
    config.serverPath = argv[3];
    const ConfigRecordBytes bytes = EncodeConfigRecord(config);
    LocalFiles files;
    return files.Replace(argv[2], bytes) == io::kOk ? 0 : 1;
  }
  // Paths are joined with backslashes: on this system they are part of the file names, all of
  // which begin with this prefix in the temporary folder.
  const std::string dir =
      (std::filesystem::temp_directory_path() / ("sentavo-bench-" + std::to_string(getpid())))
          .string();
  const SystemClock clock;
  const CzechFormats formats;
  BackslashFiles files;
  bench::StubServices stubs(dir);
  LockScreen screen({clock, formats, files, stubs.policies, stubs.lock, stubs.pointer,
                     stubs.environment, stubs.identity});
  screen.Start();
  screen.OnFirstShow();
  screen.TakeRequests();

  const int ticks = 2000;
  std::printf("Timer1 tick while locked:         %8.1f us\n", MicrosPerTick(screen, ticks));

  IssueRequest request;
  request.rights = DefaultIssueRights();
  request.seconds = kMaxBudgetSeconds;
  const DateTime now = clock.LocalNow();
  request.validFrom = *FromOleDate(ToOleDate(now) - 1);
  request.validTo = *FromOleDate(ToOleDate(now) + 1);
  screen.OnServercestaChanged(dir + "\\");
  screen.OnServercestaExit();
  const std::string codeFile = dir + "\\\\bench.dat";  // folder, backslash, code, as joined
  const CodeRecordBytes bytes = EncodeCodeRecord(BuildIssuedRecord(request, now, formats));
  files.Replace(codeFile, bytes);
  screen.OnKodChanged("bench");
  screen.OnKodEnter();
  screen.TakeRequests();
  if (screen.countdown() <= 0) {
    std::fprintf(stderr, "the bench code was refused: %s\n", screen.view().infoLabel.text.c_str());
    return 1;
  }
  std::printf("Timer1 tick during a guest period: %8.1f us (code file rewritten each tick)\n",
              MicrosPerTick(screen, ticks));
  files.Remove(codeFile);
  return 0;
}
