// The registry through the Win32 API. Key paths are given without a leading backslash; the
// 64-bit view is used, as by every other program of ours.
#pragma once

#include "lockengine/registry.h"

namespace sentavo::lockengine {

class Win32Registry final : public Registry {
 public:
  RegistryString ReadString(RegistryRoot root, const std::string& key,
                            const std::string& name) override;
  bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                   const std::string& value, bool createKey) override;
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;
};

Registry& ProcessRegistry();

}  // namespace sentavo::lockengine
