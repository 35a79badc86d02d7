// The process's one lockgina.dll loader, with the real module, registry and dialogs. The library
// is released when the program ends.
#pragma once

#include <windows.h>

#include <array>

#include "lockengine/lock_core.h"

namespace sentavo::lockengine {

class Win32GinaModule final : public GinaModule {
 public:
  bool Load(const std::string& path) override;
  std::string LastErrorText() override;
  bool Resolve(GinaFunction function) override;
  std::int32_t Call(GinaFunction function, std::span<const std::intptr_t> args) override;
  void Release() override;

 private:
  HMODULE module_ = nullptr;
  DWORD lastError_ = 0;
  std::array<FARPROC, kGinaFunctionCount> functions_{};
};

class Win32LoaderPrompts final : public LoaderPrompts {
 public:
  void ShowMessage(const std::string& text) override;
  std::optional<std::string> PickLibrary() override;
  void Exit(int code) override;
};

// The system's text for an error code, without the trailing line break; empty for 0.
std::string SystemErrorText(DWORD code);

LockCore& ProcessLockCore();

}  // namespace sentavo::lockengine
