#include "lockengine/lock_core.h"

#include <algorithm>
#include <cctype>

namespace sentavo::lockengine {
namespace {

// Blanks as a trimmed registry value loses them: spaces and control characters.
bool IsBlank(const std::string& s) {
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

}  // namespace

std::string CannotFindMessage() {
  return "cannot find lockgina.dll\n\rplease select path to lockgina.dll";
}

std::string CannotLoadMessage(const std::string& systemErrorText) {
  if (systemErrorText.empty()) return "cannot load lockgina.dll";
  return "cannot load lockgina.dll\r\n" + systemErrorText;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsGinaFileName(const std::string& path) {
  std::string name = path.substr(DirectoryOf(path).size());
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name == kGinaFileName;
}

LockCore::LockCore(GinaModule& module, Registry& registry, LoaderPrompts& prompts)
    : module_(module), registry_(registry), prompts_(prompts) {}

LockCore::~LockCore() {
  if (state_ == State::Loaded || state_ == State::FunctionMissing) module_.Release();
}

void LockCore::LoadGinaLibrary() {
  if (state_ == State::Loaded) return;
  if (state_ == State::FunctionMissing) throw GinaError("error: method not found:" + missing_);
  if (!Find()) {
    state_ = State::LoadFailed;
    prompts_.ShowMessage(CannotLoadMessage(module_.LastErrorText()));
    prompts_.Exit(1);
    throw GinaError(CannotLoadMessage({}));  // reached only where Exit returns (tests)
  }
  ResolveAll();
}

bool LockCore::Find() {
  directory_.clear();
  if (module_.Load(kGinaFileName)) return true;

  const RegistryString stored =
      registry_.ReadString(RegistryRoot::LocalMachine, kGinaKey, kGinaPathValue);
  if (stored.status != ReadStatus::NoKey) directory_ = stored.value;
  if (!IsBlank(directory_) && LoadFromDirectory()) return true;

  prompts_.ShowMessage(CannotFindMessage());
  const std::optional<std::string> picked = prompts_.PickLibrary();
  if (!picked) return false;
  if (IsGinaFileName(*picked)) {
    directory_ = DirectoryOf(*picked);
    registry_.WriteString(RegistryRoot::LocalMachine, kGinaKey, kGinaPathValue, directory_,
                          /*createKey=*/true);
  }
  return LoadFromDirectory();
}

// The stored directory ends in a backslash: nothing is put between it and the file name.
bool LockCore::LoadFromDirectory() {
  return module_.Load(directory_ + kGinaFileName);
}

void LockCore::ResolveAll() {
  state_ = State::Loaded;
  for (std::size_t i = 0; i < kGinaFunctionCount; ++i) {
    const auto f = static_cast<GinaFunction>(i);
    if (!module_.Resolve(f)) {
      state_ = State::FunctionMissing;
      missing_ = std::string(GinaFunctionName(f));
      throw GinaError("error: method not found:" + missing_);
    }
    if (f == GinaFunction::wlVersion) {
      const std::intptr_t version[] = {kGinaInterfaceVersion};
      module_.Call(f, version);
    }
  }
}

std::int32_t LockCore::Invoke(GinaFunction function, std::initializer_list<std::intptr_t> args) {
  LoadGinaLibrary();
  return module_.Call(function, std::span<const std::intptr_t>(args.begin(), args.size()));
}

std::int32_t LockCore::wlDisableItem(std::int32_t item, std::int32_t disable) {
  return Invoke(GinaFunction::wlDisableItem, {item, disable});
}

std::int32_t LockCore::wlDisableKey(std::int32_t reserved, std::int32_t key, std::int32_t mask,
                                    std::int32_t block) {
  return Invoke(GinaFunction::wlDisableKey, {reserved, key, mask, block});
}

std::int32_t LockCore::wlSetKeyPostMessage(WindowHandle window, std::uint32_t pressMessage,
                                           std::uint32_t releaseMessage) {
  return Invoke(GinaFunction::wlSetKeyPostMessage,
                {static_cast<std::intptr_t>(window), static_cast<std::intptr_t>(pressMessage),
                 static_cast<std::intptr_t>(releaseMessage)});
}

std::int32_t LockCore::wlInstallGina(std::int32_t flags) {
  return Invoke(GinaFunction::wlInstallGina, {flags});
}

std::int32_t LockCore::wlIsGinaInstalled() {
  return Invoke(GinaFunction::wlIsGinaInstalled, {});
}

std::int32_t LockCore::wlWinVersion() {
  return Invoke(GinaFunction::wlWinVersion, {});
}

std::int32_t LockCore::wlRestoreAll() {
  return Invoke(GinaFunction::wlRestoreAll, {});
}

}  // namespace sentavo::lockengine
