// The logged-on user's part of the registry as a service sees it: what the lock screen keeps under
// HKEY_CURRENT_USER (its policy values) lies under HKEY_USERS\<the user's SID>, since a service's
// own HKEY_CURRENT_USER is its account's, not the guest's.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "formats/registry.h"

namespace sentavo::guard {

class UserHive final : public Registry {
 public:
  UserHive(Registry& registry, std::string sid) : registry_(registry), sid_(std::move(sid)) {}

  RegistryString ReadString(RegistryRoot root, const std::string& key,
                            const std::string& name) override {
    return registry_.ReadString(Root(root), Key(root, key), name);
  }
  bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string& value, bool createKey) override {
    return registry_.WriteString(Root(root), Key(root, key), name, value, createKey);
  }
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override {
    return registry_.DeleteValue(Root(root), Key(root, key), name);
  }
  std::unique_ptr<RegistryKey> OpenOrCreateKey(RegistryRoot root, std::string_view key) override {
    return registry_.OpenOrCreateKey(Root(root), Key(root, std::string(key)));
  }

 private:
  static RegistryRoot Root(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? RegistryRoot::Users : root;
  }
  std::string Key(RegistryRoot root, const std::string& key) const {
    if (root != RegistryRoot::CurrentUser) return key;
    return sid_ + (key.starts_with('\\') ? "" : "\\") + key;
  }

  Registry& registry_;
  std::string sid_;
};

}  // namespace sentavo::guard
