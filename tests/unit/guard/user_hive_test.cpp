// The guard writes the guest's policy values into the guest's own hive, never into its own.
#include "guard/user_hive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sentavo::guard {
namespace {

class RecordingRegistry final : public Registry {
 public:
  std::vector<std::string> calls;
  RegistryString ReadString(RegistryRoot root, const std::string& key,
                            const std::string& name) override {
    calls.push_back(Name(root) + key + "|" + name);
    return {};
  }
  bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string&, bool) override {
    calls.push_back(Name(root) + key + "|" + name);
    return true;
  }
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override {
    calls.push_back(Name(root) + key + "|" + name);
    return true;
  }
  std::unique_ptr<RegistryKey> OpenOrCreateKey(RegistryRoot root, std::string_view key) override {
    calls.push_back(Name(root) + std::string(key));
    return nullptr;
  }

 private:
  static std::string Name(RegistryRoot root) {
    switch (root) {
      case RegistryRoot::CurrentUser: return "HKCU:";
      case RegistryRoot::LocalMachine: return "HKLM:";
      case RegistryRoot::Users: return "HKU:";
    }
    return "?";
  }
};

TEST(UserHive, TheCurrentUserIsTheUsersHiveBySidAndTheMachineStaysTheMachine) {
  RecordingRegistry registry;
  UserHive hive(registry, "S-1-5-21-7-1001");
  hive.OpenOrCreateKey(RegistryRoot::CurrentUser,
                       "\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System");
  hive.ReadString(RegistryRoot::CurrentUser, "Software\\X", "v");
  hive.WriteString(RegistryRoot::LocalMachine, "Software\\Y", "w", "1", true);
  hive.DeleteValue(RegistryRoot::CurrentUser, "\\Software\\Z", "d");
  EXPECT_EQ(
      registry.calls,
      (std::vector<std::string>{
          "HKU:S-1-5-21-7-1001\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
          "HKU:S-1-5-21-7-1001\\Software\\X|v", "HKLM:Software\\Y|w",
          "HKU:S-1-5-21-7-1001\\Software\\Z|d"}));
}

}  // namespace
}  // namespace sentavo::guard
