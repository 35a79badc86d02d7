// The lock screen's outside world for the benchmarks: a registry that takes the policy values and
// nothing else, a library, a pointer and a machine that do nothing. Only the files are real.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "client/lock_screen.h"

namespace sentavo::bench {

using namespace sentavo::client;

struct NoKey final : RegistryKey {
  bool SetDword(std::string_view, std::uint32_t) override { return true; }
};
// Only the policy key is used; the rest of the registry is empty.
struct Policies final : Registry {
  RegistryString ReadString(RegistryRoot, const std::string&, const std::string&) override {
    return {};
  }
  bool WriteString(RegistryRoot, const std::string&, const std::string&, const std::string&,
                   bool) override {
    return false;
  }
  bool DeleteValue(RegistryRoot, const std::string&, const std::string&) override { return false; }
  std::unique_ptr<RegistryKey> OpenOrCreateKey(RegistryRoot, std::string_view) override {
    return std::make_unique<NoKey>();
  }
};
struct Lock final : SystemLockPort {
  void SetSwitch(std::size_t, bool) override {}
  void RestoreAll() override {}
  bool IsGinaInstalled() override { return true; }
  bool InstallGina() override { return true; }
  bool TrialMode() override { return false; }
};
struct Pointer final : PointerPort {
  ScreenPoint CursorPos() override { return kPointerHome; }
  void ExecuteEx(ScreenPoint, int, int) override {}
};
struct Environment final : ClientEnvironment {
  std::string dir;
  std::string ExeDirectory() override { return dir; }
  bool CreateFolder(const std::string&) override { return true; }
};
struct Identity final : MachineIdentity {
  std::optional<std::string> MachineGuid() override {
    return "b1c2d3e4-0000-4000-8000-000000000001";
  }
  std::uint32_t DrawRandom() override { return 7; }
};

// Everything but the clock and the files, with the program folder given.
struct StubServices {
  explicit StubServices(std::string exeDir) { environment.dir = std::move(exeDir); }
  Policies policies;
  Lock lock;
  Pointer pointer;
  Environment environment;
  Identity identity;
};

}  // namespace sentavo::bench
