#include "gina/shell_desktop_win.h"

#include <array>
#include <span>

#include "formats/registry_key_win.h"

namespace sentavo::gina {
namespace {

constexpr wchar_t kPoliciesKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
// No task manager, no locking, no password change, no user switching: what stays on the
// Ctrl+Alt+Del screen is signing out and going back.
constexpr std::array<const wchar_t*, 4> kPolicies = {L"DisableTaskMgr", L"DisableLockWorkstation",
                                                     L"DisableChangePassword",
                                                     L"HideFastUserSwitching"};
// Swipes in from the screen's edges (action centre, task view, the touch keyboard's own edge)
// are the touch screen's way round a hidden taskbar.
constexpr wchar_t kEdgeUiKey[] = L"SOFTWARE\\Policies\\Microsoft\\Windows\\EdgeUI";
constexpr wchar_t kEdgeSwipe[] = L"AllowEdgeSwipe";

std::string ClassOf(HWND h) {
  wchar_t name[256] = {};
  const int n = GetClassNameW(h, name, 256);
  std::string out;
  for (int i = 0; i < n; ++i) out += static_cast<char>(name[i] < 128 ? name[i] : '?');
  return out;
}

bool Shown(HWND h) {
  return (GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

ShellDesktop::Window Describe(HWND h) {
  return {reinterpret_cast<std::uint64_t>(h), ClassOf(h), Shown(h)};
}

struct Search {
  std::vector<HWND> found;
  std::vector<std::string> classes;
  bool Wanted(HWND h) const {
    const std::string c = ClassOf(h);
    for (const auto& w : classes)
      if (c == w) return true;
    return false;
  }
};

BOOL CALLBACK Collect(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  if (s->Wanted(h)) s->found.push_back(h);
  return TRUE;
}

std::vector<HWND> TopLevel(std::vector<std::string> classes) {
  Search s{{}, std::move(classes)};
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::vector<HWND> Taskbars() {
  return TopLevel({"Shell_TrayWnd", "Shell_SecondaryTrayWnd"});
}

// Direct children only: the same class names occur deeper inside other parts.
std::vector<HWND> TaskbarChildren(std::vector<std::string> classes) {
  std::vector<HWND> out;
  for (HWND bar : Taskbars()) {
    for (HWND c = GetWindow(bar, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      for (const auto& w : classes)
        if (ClassOf(c) == w) out.push_back(c);
    }
  }
  return out;
}

// "Progman", and the "WorkerW" that holds the icons when the wallpaper has moved them there.
std::vector<HWND> DesktopWindows() {
  std::vector<HWND> out = TopLevel({"Progman"});
  for (HWND w : TopLevel({"WorkerW"}))
    if (FindWindowExW(w, nullptr, L"SHELLDLL_DefView", nullptr)) out.push_back(w);
  return out;
}

struct AccessValue {
  UINT get;
  UINT set;
};

AccessValue Actions(Access kind) {
  switch (kind) {
    case Access::StickyKeys: return {SPI_GETSTICKYKEYS, SPI_SETSTICKYKEYS};
    case Access::FilterKeys: return {SPI_GETFILTERKEYS, SPI_SETFILTERKEYS};
    case Access::ToggleKeys: return {SPI_GETTOGGLEKEYS, SPI_SETTOGGLEKEYS};
    case Access::HighContrast: return {SPI_GETHIGHCONTRAST, SPI_SETHIGHCONTRAST};
    case Access::MouseKeys: return {SPI_GETMOUSEKEYS, SPI_SETMOUSEKEYS};
  }
  return {0, 0};
}

// Reads the structure of a feature, lets `change` alter its flags, and writes it back when asked.
// The change is for this session only (not written to the user's profile), so even a journal
// that is lost cannot leave it behind a restart.
template <class T>
std::optional<std::uint32_t> SpiFlags(const AccessValue& a, const std::uint32_t* newFlags) {
  T value{};
  value.cbSize = sizeof value;
  if (!SystemParametersInfoW(a.get, sizeof value, &value, 0)) return std::nullopt;
  if (!newFlags) return value.dwFlags;
  value.dwFlags = *newFlags;
  if (!SystemParametersInfoW(a.set, sizeof value, &value, 0)) return std::nullopt;
  return value.dwFlags;
}

std::optional<std::uint32_t> AccessFlags(Access kind, const std::uint32_t* newFlags) {
  const AccessValue a = Actions(kind);
  switch (kind) {
    case Access::StickyKeys: return SpiFlags<STICKYKEYS>(a, newFlags);
    case Access::FilterKeys: return SpiFlags<FILTERKEYS>(a, newFlags);
    case Access::ToggleKeys: return SpiFlags<TOGGLEKEYS>(a, newFlags);
    case Access::HighContrast: return SpiFlags<HIGHCONTRASTW>(a, newFlags);
    case Access::MouseKeys: return SpiFlags<MOUSEKEYS>(a, newFlags);
  }
  return std::nullopt;
}

}  // namespace

std::vector<ShellDesktop::Window> Win32Desktop::ItemWindows(int item) {
  std::vector<HWND> windows;
  switch (item) {
    case kTaskbar: windows = Taskbars(); break;
    case kDesktop: windows = DesktopWindows(); break;
    // "Start" on Windows 10, "Button" before; Windows 11 draws its start button inside the bar.
    case kStartButton: windows = TaskbarChildren({"Start", "Button"}); break;
    case kTaskLinks: windows = TaskbarChildren({"ReBarWindow32"}); break;
    case kTray: windows = TaskbarChildren({"TrayNotifyWnd"}); break;
    default: break;
  }
  std::vector<Window> out;
  for (HWND h : windows) out.push_back(Describe(h));
  return out;
}

// Asynchronous: a hung Explorer must not hang the caller.
void Win32Desktop::Hide(std::uint64_t handle) {
  ShowWindowAsync(reinterpret_cast<HWND>(handle), SW_HIDE);
}

void Win32Desktop::ShowIfStill(std::uint64_t handle, const std::string& className) {
  const HWND h = reinterpret_cast<HWND>(handle);
  if (IsWindow(h) && ClassOf(h) == className) ShowWindowAsync(h, SW_SHOWNA);
}

std::optional<std::uint32_t> Win32Desktop::ReadAccess(Access kind) {
  return AccessFlags(kind, nullptr);
}

bool Win32Desktop::WriteAccess(Access kind, std::uint32_t flags) {
  return AccessFlags(kind, &flags).has_value();
}

bool Win32Desktop::PoliciesInForce() {
  RegKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, kPoliciesKey, KEY_READ) != ERROR_SUCCESS) return false;
  for (const wchar_t* name : kPolicies) {
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || value == 0)
      return false;
  }
  return true;
}

bool Win32Desktop::InstallPolicies() {
  RegKey key;
  if (key.Create(HKEY_LOCAL_MACHINE, kPoliciesKey, KEY_SET_VALUE) != ERROR_SUCCESS) return false;
  bool ok = true;
  for (const wchar_t* name : kPolicies) {
    const DWORD one = 1;
    ok = RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                        sizeof one) == ERROR_SUCCESS &&
         ok;
  }
  RegKey edge;
  const DWORD zero = 0;
  ok = edge.Create(HKEY_LOCAL_MACHINE, kEdgeUiKey, KEY_SET_VALUE) == ERROR_SUCCESS &&
       RegSetValueExW(edge.get(), kEdgeSwipe, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero),
                      sizeof zero) == ERROR_SUCCESS &&
       ok;
  return ok;
}

namespace {

// Deletes the values of `names` under HKLM\`path`; true when none of them is left.
bool DeleteMachineValues(const wchar_t* path, std::span<const wchar_t* const> names) {
  RegKey key;
  const LONG opened = key.Open(HKEY_LOCAL_MACHINE, path, KEY_SET_VALUE);
  if (opened == ERROR_FILE_NOT_FOUND) return true;
  if (opened != ERROR_SUCCESS) return false;
  bool ok = true;
  for (const wchar_t* name : names) {
    const LONG r = RegDeleteValueW(key.get(), name);
    ok = (r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND) && ok;
  }
  return ok;
}

}  // namespace

bool Win32Desktop::RemovePolicies() {
  const wchar_t* const edgeValues[] = {kEdgeSwipe};
  const bool system = DeleteMachineValues(kPoliciesKey, kPolicies);
  const bool edge = DeleteMachineValues(kEdgeUiKey, edgeValues);
  return system && edge;
}

std::wstring FileJournalStore::Path() {
  std::wstring base(32768, L'\0');
  DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", base.data(), static_cast<DWORD>(base.size()));
  if (n == 0 || n >= base.size()) n = GetTempPathW(static_cast<DWORD>(base.size()), base.data());
  base.resize(n);
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  return base + L"lockgina\\restore.journal";
}

std::string FileJournalStore::Read() const {
  const HANDLE f = CreateFileW(Path().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(f);
  return text;
}

bool FileJournalStore::Write(const std::string& text) {
  const std::wstring path = Path();
  CreateDirectoryW(path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
  const std::wstring temp = path + L".new";
  const HANDLE f = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size() && FlushFileBuffers(f);
  CloseHandle(f);
  if (ok &&
      MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileW(temp.c_str());
  return false;
}

void FileJournalStore::Remove() {
  DeleteFileW(Path().c_str());
}

HWND DesktopIconList() {
  for (HWND host : DesktopWindows()) {
    const HWND view = FindWindowExW(host, nullptr, L"SHELLDLL_DefView", nullptr);
    if (view) return FindWindowExW(view, nullptr, L"SysListView32", nullptr);
  }
  return nullptr;
}

}  // namespace sentavo::gina
