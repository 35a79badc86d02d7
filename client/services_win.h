// The client's outside world on Windows: the program's folder and the machine's identity, behind
// the model's small interfaces.
#pragma once

#include "client/ports.h"

namespace sentavo::client {

class Win32Environment final : public ClientEnvironment {
 public:
  std::string ExeDirectory() override;
  bool CreateFolder(const std::string& path) override;
};

// This PC as its status and command files name it: its NetBIOS name (COMPUTERNAME).
StationInfo ThisStation(bool guarded);

class Win32MachineIdentity final : public MachineIdentity {
 public:
  std::optional<std::string> MachineGuid() override;
  std::uint32_t DrawRandom() override;
};

}  // namespace sentavo::client
