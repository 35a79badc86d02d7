#include "lockengine/lock_core_win.h"

#include <commdlg.h>

#include <cstdlib>
#include <stdexcept>

#include "formats/registry_win.h"
#include "formats/wide_win.h"
#include "gina/lockgina.h"
#include "lockengine/handles_win.h"
#include "ui/messages_win.h"
#include "ui/system_dll_win.h"

namespace sentavo::lockengine {
namespace {

// GetProcAddress hands out a generic function pointer; each call site gives it its true type.
template <class Fn>
Fn As(FARPROC p) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(p));
}

int Arg(std::span<const std::intptr_t> args, std::size_t i) {
  return static_cast<int>(args[i]);
}

}  // namespace

std::wstring ProgramFileName() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD n = 0;
  while ((n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size())
    path.resize(path.size() * 2);
  path.resize(n);
  return path;
}

std::wstring ApplicationTitle() {
  const std::wstring path = ProgramFileName();
  std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  const std::size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::string SystemErrorText(DWORD code) {
  if (code == 0) return {};
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring s(text ? text : L"", n);
  if (text) LocalFree(text);
  while (!s.empty() && (s.back() == L'\r' || s.back() == L'\n' || s.back() == L' ')) s.pop_back();
  return Narrow(s);
}

bool Win32GinaModule::Load(const std::string& path) {
  const HMODULE h = LoadLibraryW(Widen(path).c_str());
  if (!h) {
    lastError_ = GetLastError();
    return false;
  }
  module_ = h;
  return true;
}

std::string Win32GinaModule::LastErrorText() {
  return SystemErrorText(lastError_);
}

bool Win32GinaModule::Resolve(GinaFunction function) {
  const std::string name(GinaFunctionName(function));
  FARPROC& slot = functions_[static_cast<std::size_t>(function)];
  slot = GetProcAddress(module_, name.c_str());
  return slot != nullptr;
}

std::int32_t Win32GinaModule::Call(GinaFunction function, std::span<const std::intptr_t> args) {
  const FARPROC p = functions_[static_cast<std::size_t>(function)];
  if (!p) throw std::logic_error("lockgina function called before it was resolved");
  switch (function) {
    case GinaFunction::wlVersion: return As<decltype(&wlVersion)>(p)(Arg(args, 0));
    case GinaFunction::wlDisableItem:
      return As<decltype(&wlDisableItem)>(p)(Arg(args, 0), Arg(args, 1));
    case GinaFunction::wlDisableKey:
      return As<decltype(&wlDisableKey)>(p)(Arg(args, 0), Arg(args, 1), Arg(args, 2), Arg(args, 3));
    case GinaFunction::wlSetKeyPostMessage:
      return As<decltype(&wlSetKeyPostMessage)>(p)(
          reinterpret_cast<HWND>(args[0]), static_cast<UINT>(args[1]), static_cast<UINT>(args[2]));
    case GinaFunction::wlInstallGina: return As<decltype(&wlInstallGina)>(p)(Arg(args, 0));
    case GinaFunction::wlIsGinaInstalled: return As<decltype(&wlIsGinaInstalled)>(p)();
    case GinaFunction::wlWinVersion: return As<decltype(&wlWinVersion)>(p)();
    case GinaFunction::wlRestoreAll: return As<decltype(&wlRestoreAll)>(p)();
    default: throw std::logic_error("lockgina function is not called by this program");
  }
}

void Win32GinaModule::Release() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  functions_ = {};
}

void Win32LoaderPrompts::ShowMessage(const std::string& text) {
  ui::ShowMessageBox(GetActiveWindow(), ui::PlainMessage(Narrow(ApplicationTitle()), text));
}

std::optional<std::string> Win32LoaderPrompts::PickLibrary() {
  std::wstring file(32768, L'\0');
  static const wchar_t kFilter[] = L"lockgina.dll\0lockgina.dll\0";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  // The program's current directory is not the dialog's to change.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  // The dialog's DLL brings the print spooler with it: loaded when a file is first picked.
  static const auto openDialog =
      ui::SystemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  if (!openDialog || !openDialog(&ofn)) return std::nullopt;
  file.resize(file.find(L'\0'));
  return Narrow(file);
}

void Win32LoaderPrompts::Exit(int code) {
  std::exit(code);
}

LockCore& ProcessLockCore() {
  static Win32GinaModule module;
  static Win32LoaderPrompts prompts;
  static LockCore core(module, ProcessRegistry(), prompts);
  return core;
}

}  // namespace sentavo::lockengine
