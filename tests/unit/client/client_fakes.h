// Test doubles for the lock screen's services, and a fixture that wires them to a model.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "client/lock_screen.h"
#include "formats/code_record.h"
#include "formats/issuing.h"
#include "test_support.h"

namespace sentavo::client::test {

using Bytes = std::vector<std::uint8_t>;
using Log = std::vector<std::string>;

// A clock the test moves on. Advance moves the wall clock and the monotonic clock together, as
// time passing does; Set changes only the wall clock, as a person setting the time does; Stall
// moves only the monotonic clock, as time that passes between two ticks without a tick does.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(DateTime now) : now_(now) {}
  DateTime LocalNow() const override { return now_; }
  std::uint32_t UtcMillisecondsOfDay() const override { return 0; }
  std::uint64_t MonotonicMilliseconds() const override { return monotonicMs_; }
  void Set(DateTime now) { now_ = now; }
  void Stall(int ms) { monotonicMs_ += static_cast<std::uint64_t>(ms); }
  void Advance(int seconds) { AdvanceMilliseconds(seconds * 1000); }
  void AdvanceMilliseconds(int ms) {
    now_ = *FromOleDate(ToOleDate(now_) + ms / 86'400'000.0);
    monotonicMs_ += static_cast<std::uint64_t>(ms);
  }

 private:
  DateTime now_;
  std::uint64_t monotonicMs_ = 1'000'000;
};

// Files in memory. Counts every look at the file system, so a test can tell that none was made.
class MemoryFiles final : public FileAccess {
 public:
  std::map<std::string, Bytes> files;
  std::set<std::string> folders;
  std::set<std::string> heldOpen;  // exist, but reading them fails
  std::vector<std::pair<std::string, Bytes>> writes;
  mutable int lookups = 0;

  bool IsFile(const std::string& path) const override {
    ++lookups;
    return files.contains(path);
  }
  bool IsFolder(const std::string& path) const override {
    ++lookups;
    return folders.contains(path);
  }
  ReadResult Read(const std::string& path, std::size_t maxBytes) const override {
    ++lookups;
    if (heldOpen.contains(path)) return {32, {}};
    const auto it = files.find(path);
    if (it == files.end()) return {io::kFileNotFound, {}};
    const Bytes& b = it->second;
    return {io::kOk, Bytes(b.begin(), b.begin() + std::min(maxBytes, b.size()))};
  }
  std::set<std::string> readOnly;     // replacing them fails, as on a share one may not write
  std::set<std::string> undeletable;  // removing them fails
  int Replace(const std::string& path, std::span<const std::uint8_t> data) override {
    if (readOnly.contains(path)) return io::kAccessDenied;
    files[path] = Bytes(data.begin(), data.end());
    writes.emplace_back(path, files[path]);
    return io::kOk;
  }
  int Remove(const std::string& path) override {
    if (undeletable.contains(path)) return io::kAccessDenied;
    return files.erase(path) ? io::kOk : 2;
  }
  // The stored name of a file reached by another name (a short name, another letter case); the
  // path's last component when not given.
  std::map<std::string, std::string> realNames;
  std::optional<std::string> RealName(const std::string& path) const override {
    ++lookups;
    if (!files.contains(path)) return std::nullopt;
    if (const auto it = realNames.find(path); it != realNames.end()) return it->second;
    return path.substr(path.find_last_of('\\') + 1);
  }
  std::map<std::string, std::int64_t> ages;  // what ListFiles reports; 0 when not given
  std::vector<FolderFile> ListFiles(const std::string& folder) const override {
    ++lookups;
    std::vector<FolderFile> out;
    for (const auto& [path, bytes] : files) {
      if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0 ||
          path.find('\\', folder.size()) != std::string::npos)
        continue;
      const auto age = ages.find(path);
      out.push_back({path.substr(folder.size()), age == ages.end() ? 0 : age->second});
    }
    return out;
  }

  TCodeRecord Record(const std::string& path) const {
    const auto r = DecodeCodeRecord(files.at(path));
    EXPECT_TRUE(r.has_value());
    return r.value_or(TCodeRecord{});
  }
};

// The policy key under HKEY_CURRENT_USER is all the lock screen uses of the registry; the rest of
// this registry is empty and refuses writes.
class FakePolicies final : public Registry {
 public:
  Log log;
  bool openFails = false;
  std::set<std::string> refusedValues;
  // With keepsValues the key answers reads from `values`, which every write fills; without it
  // nothing can be read back.
  bool keepsValues = false;
  std::map<std::string, std::uint32_t> values;

  RegistryString ReadString(RegistryRoot, const std::string&, const std::string&) override {
    return {};
  }
  bool WriteString(RegistryRoot, const std::string&, const std::string&, const std::string&,
                   bool) override {
    return false;
  }
  bool DeleteValue(RegistryRoot, const std::string&, const std::string&) override { return false; }
  std::unique_ptr<RegistryKey> OpenOrCreateKey(RegistryRoot root, std::string_view path) override {
    EXPECT_EQ(root, RegistryRoot::CurrentUser);
    log.push_back("open " + std::string(path));
    if (openFails) return nullptr;
    return std::make_unique<Key>(*this);
  }

 private:
  struct Key final : RegistryKey {
    explicit Key(FakePolicies& owner) : owner(owner) {}
    bool SetDword(std::string_view name, std::uint32_t value) override {
      owner.log.push_back(std::string(name) + "=" + std::to_string(value));
      if (owner.refusedValues.contains(std::string(name))) return false;
      owner.values[std::string(name)] = value;
      return true;
    }
    std::optional<std::uint32_t> ReadDword(std::string_view name) override {
      if (!owner.keepsValues) return std::nullopt;
      const auto it = owner.values.find(std::string(name));
      if (it == owner.values.end()) return std::nullopt;
      return it->second;
    }
    FakePolicies& owner;
  };
};

// The switch name of an index as the fake logs it: asFrontApp, or the right's check-box name.
inline std::string SwitchName(std::size_t index) {
  const std::optional<Right> right = RightOfSwitch(index);
  return right ? std::string(InfoOf(*right).checkBox) : "asFrontApp";
}

// The switches that the allow-all action leaves set.
inline bool KeptByAllowAll(std::size_t index) {
  return index == kAsFrontAppSwitch || index == SwitchIndex(Right::noRBut) ||
         index == SwitchIndex(Right::ctrlaltdel);
}

class FakeSysLock final : public SystemLockPort {
 public:
  Log log;  // "noRBut=1", "RestoreAll", ...
  bool ginaInstalled = true;
  bool trialMode = false;

  void SetSwitch(std::size_t index, bool value) override {
    log.push_back(SwitchName(index) + (value ? "=1" : "=0"));
  }
  void RestoreAll() override { log.push_back("RestoreAll"); }
  bool IsGinaInstalled() override {
    log.push_back("IsGinaInstalled");
    return ginaInstalled;
  }
  bool InstallGina() override {
    log.push_back("InstallGina");
    return true;
  }
  bool TrialMode() override { return trialMode; }
};

class FakePointer final : public PointerPort {
 public:
  ScreenPoint pos{100, 200};
  int reads = 0;
  Log moves;
  ScreenPoint CursorPos() override { return ++reads, pos; }
  void ExecuteEx(ScreenPoint target, int steps, int delayMs) override {
    moves.push_back(std::to_string(target.x) + "," + std::to_string(target.y) + " steps " +
                    std::to_string(steps) + " delay " + std::to_string(delayMs));
  }
};

class FakeEnvironment final : public ClientEnvironment {
 public:
  std::string exeDir = "C:\\Sentavo";
  Log created;
  std::string ExeDirectory() override { return exeDir; }
  bool CreateFolder(const std::string& path) override {
    created.push_back(path);
    return true;
  }
};

class FakeIdentity final : public MachineIdentity {
 public:
  std::optional<std::string> guid = "6f1c3a52-9d4e-4b7a-8c21-0e5f7d9b3a14";
  std::uint32_t random = 123456789;
  int draws = 0;
  std::optional<std::string> MachineGuid() override { return guid; }
  std::uint32_t DrawRandom() override { return ++draws, random; }
};

// Every switch set, as the lock action leaves them.
inline Log AllSixteen(bool value) {
  Log log;
  for (std::size_t i = 0; i < kSwitchCount; ++i)
    log.push_back(SwitchName(i) + (value ? "=1" : "=0"));
  return log;
}

inline Log Concat(std::initializer_list<Log> parts) {
  Log all;
  for (const Log& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// A client started at 2026-12-02 12:00:00 and shown, with a shared folder "S:\codes\" and an
// establishment "Kavárna U Lípy", the logs cleared.
class ClientTest : public ::testing::Test {
 protected:
  static constexpr DateTime kNoon{2026, 12, 2, 12, 0, 0};
  static constexpr const char* kServer = "S:\\codes\\";
  static constexpr const char* kEstablishment = "Kavárna U Lípy";

  ManualClock clock{kNoon};
  CzechFormats formats;
  MemoryFiles files;
  FakePolicies policies;
  FakeSysLock sysLock;
  FakePointer pointer;
  FakeEnvironment environment;
  FakeIdentity identity;
  // Nameless: the station reports nothing unless a test names it before SetUp.
  StationInfo station;
  LockScreenServices services{clock,   formats,     files,    policies, sysLock,
                              pointer, environment, identity, &station};
  LockScreen screen{services};

  void SetUp() override {
    files.folders.insert("C:\\");
    screen.Start();
    screen.OnFirstShow();
    screen.OnServercestaChanged(kServer);
    screen.OnProvozChanged(kEstablishment);
    ClearLogs();
  }

  void ClearLogs() {
    sysLock.log.clear();
    policies.log.clear();
    files.writes.clear();
    files.lookups = 0;
    pointer.moves.clear();
    screen.TakeRequests();
  }

  static std::string CodePath(const std::string& code) {
    return std::string(kServer) + "\\" + code + ".dat";
  }

  // A fresh code as the administration program saves it: valid from the 1st 10:00:00 to the 3rd
  // 18:00:00, 3600 seconds, issued yesterday.
  TCodeRecord IssuedCode(int seconds = 3600, bool reusable = true,
                         std::int32_t type = kCodeTypeOnce) const {
    IssueRequest q;
    q.rights = DefaultIssueRights();
    q.rights[RightIndex(Right::alttab)] = true;
    q.reusable = reusable;
    q.seconds = seconds;
    q.establishment = kEstablishment;
    q.validFrom = {2026, 12, 1, 10, 0, 0};
    q.validTo = {2026, 12, 3, 18, 0, 0};
    q.codeType = type;
    return BuildIssuedRecord(q, {2026, 12, 1, 9, 0, 0}, formats);
  }

  void PutCode(const std::string& code, const TCodeRecord& record) {
    const auto bytes = EncodeCodeRecord(record);
    files.files[CodePath(code)] = Bytes(bytes.begin(), bytes.end());
  }

  void Enter(const std::string& text) {
    screen.OnKodChanged(text);
    screen.OnKodEnter();
  }
  // An entry a minute after the last: however many came before, none is left to pause the entry.
  void EnterUnhurried(const std::string& text) {
    clock.Stall(static_cast<int>(kRefusalWindowMs));
    Enter(text);
  }

  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      clock.Advance(1);
      screen.OnTimer1();
    }
  }

  void ExpectLocked() const {
    const LockScreenView& v = screen.view();
    EXPECT_EQ(screen.countdown(), -1);
    EXPECT_TRUE(v.stayOnTop);
    EXPECT_FALSE(v.borderSizeable);
    EXPECT_FALSE(v.tabSheet2Visible);
    EXPECT_EQ(v.activePage, Page::TabSheet1);
    EXPECT_TRUE(v.kod.enabled);
    SwitchSet all{};
    all.fill(true);
    EXPECT_EQ(v.switches, all);
    EXPECT_EQ(v.datod.text, "");
    EXPECT_EQ(v.datdo.text, "");
    EXPECT_EQ(v.smidelit.text, "");
  }
};

}  // namespace sentavo::client::test
