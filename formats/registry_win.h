// The registry through the Win32 API.
#pragma once

#include "formats/registry.h"

namespace sentavo {

class Win32Registry final : public Registry {
 public:
  RegistryString ReadString(RegistryRoot root, const std::string& key,
                            const std::string& name) override;
  bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string& value, bool createKey) override;
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;
  std::unique_ptr<RegistryKey> OpenOrCreateKey(RegistryRoot root, std::string_view key) override;
};

Registry& ProcessRegistry();

}  // namespace sentavo
