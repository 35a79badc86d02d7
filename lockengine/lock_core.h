// lockCore: finds and loads lockgina.dll the first time a call needs it, resolves its 26
// functions and makes the calls. One instance per process holds the module and the directory the
// library was found in; the system's side (loading, the dialog, the exit) sits behind interfaces.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>

#include "formats/registry.h"
#include "lockengine/gina_library.h"

namespace sentavo::lockengine {

// Where the library's directory is kept once a person has pointed at it.
inline constexpr const char* kGinaKey = "Software\\Brenholt\\SystemLock\\Gina";
inline constexpr const char* kGinaPathValue = "Path";
inline constexpr const char* kGinaFileName = "lockgina.dll";

// The loaded module.
class GinaModule {
 public:
  virtual ~GinaModule() = default;
  // Loads `path` (a bare file name goes through the system's search order). True on success.
  virtual bool Load(const std::string& path) = 0;
  // The system's text for the error of the last failed Load; empty when it reported none.
  virtual std::string LastErrorText() = 0;
  virtual bool Resolve(GinaFunction function) = 0;
  // Calls a resolved function; a window handle travels as its integer value.
  virtual std::int32_t Call(GinaFunction function, std::span<const std::intptr_t> args) = 0;
  virtual void Release() = 0;
};

// The person at the machine and the program's end.
class LoaderPrompts {
 public:
  virtual ~LoaderPrompts() = default;
  virtual void ShowMessage(const std::string& text) = 0;
  // The open-file dialog with the single filter "lockgina.dll"; the chosen file when confirmed.
  virtual std::optional<std::string> PickLibrary() = 0;
  // Ends the program. Only a test double returns.
  virtual void Exit(int code) = 0;
};

class LockCore final : public GinaLibrary {
 public:
  enum class State { NotLoaded, Loaded, LoadFailed, FunctionMissing };

  LockCore(GinaModule& module, Registry& registry, LoaderPrompts& prompts);
  ~LockCore() override;  // releases a loaded library
  LockCore(const LockCore&) = delete;
  LockCore& operator=(const LockCore&) = delete;

  // Runs before every call; returns at once once the library is loaded and resolved. When no
  // route finds the library the program ends with exit code 1; a missing function throws
  // GinaError, now and on every later call (the same module cannot start exporting it).
  void LoadGinaLibrary();

  State state() const { return state_; }
  const std::string& LibraryDirectory() const { return directory_; }

  std::int32_t wlDisableItem(std::int32_t item, std::int32_t disable) override;
  std::int32_t wlDisableKey(std::int32_t reserved, std::int32_t key, std::int32_t mask,
                            std::int32_t block) override;
  std::int32_t wlSetKeyPostMessage(WindowHandle window, std::uint32_t pressMessage,
                                   std::uint32_t releaseMessage) override;
  std::int32_t wlInstallGina(std::int32_t flags) override;
  std::int32_t wlIsGinaInstalled() override;
  std::int32_t wlWinVersion() override;
  std::int32_t wlRestoreAll() override;

 private:
  bool Find();
  bool LoadFromDirectory();
  void ResolveAll();
  std::int32_t Invoke(GinaFunction function, std::initializer_list<std::intptr_t> args);

  GinaModule& module_;
  Registry& registry_;
  LoaderPrompts& prompts_;
  State state_ = State::NotLoaded;
  std::string directory_;
  std::string missing_;  // the first function the loaded library lacks
};

// "cannot find lockgina.dll", LF, CR, "please select path to lockgina.dll".
std::string CannotFindMessage();
// "cannot load lockgina.dll", then CR LF and the system's error text when there is one.
std::string CannotLoadMessage(const std::string& systemErrorText);
// True for a path whose file name, in lower case, is "lockgina.dll".
bool IsGinaFileName(const std::string& path);
// The directory part of a path with its trailing backslash ("C:\x\lockgina.dll" -> "C:\x\").
std::string DirectoryOf(const std::string& path);

}  // namespace sentavo::lockengine
