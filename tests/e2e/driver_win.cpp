#include "driver_win.h"

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out, so objidl.h comes first.
// clang-format off
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>

#include "formats/wide_win.h"
#include "gina/trial_mode_win.h"

namespace sentavo::e2e {

std::filesystem::path FromBuild(const char* path) {
  return path[0] == '/' ? std::filesystem::path(std::string("Z:") + path)
                        : std::filesystem::path(path);
}

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadWhole(const std::filesystem::path& path, std::size_t size,
                                    std::chrono::milliseconds timeout) {
  std::vector<std::uint8_t> bytes;
  WaitUntil([&] { return (bytes = ReadAll(path)).size() >= size; }, timeout);
  return bytes;
}

Program::Program(const std::string& exe, const std::vector<std::string>& args,
                 const std::string& workDir, const std::vector<std::string>& extraEnv) {
  std::wstring commandLine = L"\"" + Widen(exe) + L"\"";
  for (const auto& a : args) commandLine += L" \"" + Widen(a) + L"\"";
  // The environment block: ours plus the extra entries, each NUL-terminated, then one more NUL.
  // An extra entry replaces an inherited one of the same name: the first of two would win.
  const auto overridden = [&](std::wstring_view entry) {
    const std::wstring_view name = entry.substr(0, entry.find(L'=') + 1);
    for (const auto& e : extraEnv) {
      if (Widen(e).starts_with(name)) return true;
    }
    return false;
  };
  std::wstring env;
  if (wchar_t* block = GetEnvironmentStringsW()) {
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
      if (!overridden(p)) env.append(p).push_back(L'\0');
    }
    FreeEnvironmentStringsW(block);
  }
  for (const auto& e : extraEnv) env.append(Widen(e)).push_back(L'\0');
  env.push_back(L'\0');
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                     CREATE_UNICODE_ENVIRONMENT, env.data(), Widen(workDir).c_str(), &si, &pi)) {
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
  } else {
    startError_ = GetLastError();
  }
}

Program::~Program() {
  Kill();
  if (process_) CloseHandle(process_);
}

std::optional<DWORD> Program::WaitForExit(std::chrono::milliseconds timeout) {
  if (!process_ ||
      WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void Program::Kill() {
  if (process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 5000);
  }
}

std::vector<HWND> Program::TopWindows() const {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{pid_, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == s->pid) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Program::FindTopWindow(const std::wstring& title, const std::wstring& className) const {
  for (HWND hwnd : TopWindows()) {
    if (!IsWindowVisible(hwnd)) continue;
    if (!title.empty() && Text(hwnd) != title) continue;
    if (!className.empty()) {
      wchar_t cls[256];
      GetClassNameW(hwnd, cls, 256);
      if (className != cls) continue;
    }
    return hwnd;
  }
  return nullptr;
}

HWND Program::WaitForTopWindow(const std::wstring& title, std::chrono::milliseconds timeout) const {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopWindow(title)) != nullptr; }, timeout);
  return found;
}

HWND FindControl(HWND top, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      top,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (GetDlgCtrlID(hwnd) == s->id) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring Text(HWND hwnd) {
  const auto length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto got = SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                                reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return text;
}

std::string TextUtf8(HWND hwnd) {
  return Narrow(Text(hwnd));
}

void SetText(HWND edit, const std::wstring& text) {
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TypeChar(HWND hwnd, wchar_t c) {
  SendMessageW(hwnd, WM_CHAR, c, 1);
}

namespace {
LPARAM Middle(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return MAKELPARAM(r.right / 2, r.bottom / 2);
}
}  // namespace

void Click(HWND hwnd) {
  const LPARAM at = Middle(hwnd);
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

bool ChooseItem(HWND combo, int index) {
  SendMessageW(combo, WM_KEYDOWN, VK_HOME, 0);
  SendMessageW(combo, WM_KEYUP, VK_HOME, 0);
  for (int i = 0; i < index; ++i) {
    SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(combo, WM_KEYUP, VK_DOWN, 0);
  }
  return SendMessageW(combo, CB_GETCURSEL, 0, 0) == index;
}

void DoubleClick(HWND hwnd) {
  const LPARAM at = Middle(hwnd);
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
  SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

bool IsVisible(HWND hwnd) {
  return hwnd && IsWindowVisible(hwnd);
}
bool IsEnabled(HWND hwnd) {
  return hwnd && IsWindowEnabled(hwnd);
}
bool IsChecked(HWND checkBox) {
  return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

namespace {

// A block of memory in the process that owns `window`, freed with the object.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, std::size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) {
      at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
  }
  ~RemoteMemory() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  bool valid() const { return at_ != nullptr; }
  char* at(std::size_t offset = 0) const { return static_cast<char*>(at_) + offset; }
  bool Write(std::size_t offset, const void* data, std::size_t size) const {
    return offset + size <= size_ && WriteProcessMemory(process_, at(offset), data, size, nullptr);
  }
  bool Read(std::size_t offset, void* data, std::size_t size) const {
    return offset + size <= size_ && ReadProcessMemory(process_, at(offset), data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* at_ = nullptr;
  std::size_t size_;
};

}  // namespace

int ListViewCount(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListViewText(HWND list, int row, int column) {
  constexpr std::size_t kChars = 512;
  RemoteMemory memory(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  if (!memory.valid()) return "<no memory in the program>";
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(memory.at(sizeof(LVITEMW)));
  item.cchTextMax = kChars;
  if (!memory.Write(0, &item, sizeof item)) return "<not written>";
  const auto length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                   reinterpret_cast<LPARAM>(memory.at()));
  std::wstring text(kChars, L'\0');
  if (!memory.Read(sizeof(LVITEMW), text.data(), kChars * sizeof(wchar_t))) return "<not read>";
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(length, 0, kChars - 1)));
  return Narrow(text);
}

std::string ListViewColumn(HWND list, int column) {
  constexpr std::size_t kChars = 256;
  RemoteMemory memory(list, sizeof(LVCOLUMNW) + kChars * sizeof(wchar_t));
  if (!memory.valid()) return "<no memory in the program>";
  LVCOLUMNW header{};
  header.mask = LVCF_TEXT;
  header.pszText = reinterpret_cast<wchar_t*>(memory.at(sizeof(LVCOLUMNW)));
  header.cchTextMax = kChars;
  std::wstring text(kChars, L'\0');
  if (!memory.Write(0, &header, sizeof header) || !memory.Write(sizeof(LVCOLUMNW), text.data(), 2))
    return "<not written>";
  if (!SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                    reinterpret_cast<LPARAM>(memory.at())))
    return "<no column>";
  if (!memory.Read(sizeof(LVCOLUMNW), text.data(), kChars * sizeof(wchar_t))) return "<not read>";
  text.resize(std::min(text.find(L'\0'), kChars - 1));
  return Narrow(text);
}

bool ListViewSelect(HWND list, int row) {
  RemoteMemory memory(list, sizeof(LVITEMW));
  if (!memory.valid()) return false;
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  return memory.Write(0, &item, sizeof item) &&
         SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(memory.at())) != FALSE;
}

int ListViewSelected(HWND list) {
  return static_cast<int>(
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::optional<MessageBoxInfo> FindMessageBox(const Program& program) {
  for (HWND hwnd : program.TopWindows()) {
    wchar_t cls[64];
    GetClassNameW(hwnd, cls, 64);
    if (std::wstring(cls) != L"#32770" || !IsWindowVisible(hwnd)) continue;
    MessageBoxInfo box{hwnd, TextUtf8(hwnd), {}};
    // The message is the static control with ID 0xFFFF (65535) in a system message box.
    if (HWND text = GetDlgItem(hwnd, 0xFFFF)) box.text = TextUtf8(text);
    return box;
  }
  return std::nullopt;
}

std::optional<MessageBoxInfo> WaitForMessageBox(const Program& program,
                                                std::chrono::milliseconds timeout) {
  std::optional<MessageBoxInfo> box;
  WaitUntil([&] { return (box = FindMessageBox(program)).has_value(); }, timeout);
  return box;
}

bool Answer(const MessageBoxInfo& box, int buttonId) {
  PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.hwnd, buttonId)));
  return WaitUntil([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); }, 5s);
}

namespace {

// The screen's pixels inside `r`, top row first, as 32-bit BGRX.
std::vector<std::uint32_t> Capture(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The programs draw in their own time: a shot is taken once two captures in a row agree (or the
// last of a bounded number, where something keeps moving, such as a caret or a countdown).
bool SaveRect(const RECT& r, const std::string& pngPath) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  std::vector<std::uint32_t> pixels = Capture(r);
  for (int i = 0; i < 20; ++i) {
    std::this_thread::sleep_for(50ms);
    std::vector<std::uint32_t> again = Capture(r);
    const bool same = again == pixels;
    pixels = std::move(again);
    if (same) break;
  }
  return SavePng(w, h, pixels, pngPath);
}

}  // namespace

bool SavePng(int w, int h, const std::vector<std::uint32_t>& pixels, const std::string& pngPath) {
  if (w <= 0 || h <= 0 ||
      pixels.size() != static_cast<std::size_t>(w) * static_cast<std::size_t>(h))
    return false;
  std::vector<std::uint32_t> copy = pixels;  // GDI+ takes the rows as writable memory
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  bool saved = false;
  {
    Gdiplus::Bitmap image(w, h, w * 4, PixelFormat32bppRGB, reinterpret_cast<BYTE*>(copy.data()));
    // The PNG encoder's class ID, as GDI+ lists it.
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<unsigned char> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, encoders);
    for (UINT i = 0; i < count; ++i) {
      if (std::wstring(encoders[i].MimeType) == L"image/png") {
        saved = image.Save(Widen(pngPath).c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
      }
    }
  }
  Gdiplus::GdiplusShutdown(token);
  return saved;
}

bool SaveScreenshot(const std::string& pngPath) {
  return SaveRect({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, pngPath);
}

bool SaveWindowShot(HWND window, const std::string& pngPath) {
  // Lifted above a stay-on-top window (a lock window covers the whole screen) for the shot only,
  // and repainted whole before it is taken.
  constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  std::vector<HWND> above;  // the visible windows over it, lowest first
  for (HWND w = GetWindow(window, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    if (IsWindowVisible(w)) above.push_back(w);
  }
  if (!SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kKeep)) return false;
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT r{};
  GetWindowRect(window, &r);
  const bool saved = SaveRect(r, pngPath);
  // Back under the windows that were over it, in their order: "not topmost" alone leaves it over
  // the windows that are not topmost either, and the display's stacking follows only raises.
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kKeep);
  for (HWND w : above) {
    const bool topmost = GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST;
    SetWindowPos(w, topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, kKeep);
  }
  return saved;
}

TrialMode::TrialMode(const std::filesystem::path& journal) {
  const std::wstring path = journal.wstring();
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, gina::kTrialKey, gina::kTrialValue, REG_SZ, path.c_str(),
                  static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

void TrialMode::Clear() {
  RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, gina::kTrialKey, gina::kTrialValue);
}

HWND WaitForTopWindowPastBoxes(const Program& program, const std::wstring& title,
                               std::vector<MessageBoxInfo>* answered,
                               std::chrono::milliseconds timeout) {
  HWND window = nullptr;
  WaitUntil(
      [&] {
        if (const auto box = FindMessageBox(program)) {
          if (answered) answered->push_back(*box);
          Answer(*box);
        }
        window = program.FindTopWindow(title);
        return window != nullptr;
      },
      timeout);
  return window;
}

ProcessWindow FindVisibleWindow(const std::wstring& caption) {
  struct Search {
    const std::wstring& caption;
    ProcessWindow found;
  } search{caption, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (!IsWindowVisible(hwnd) || Text(hwnd) != s->caption) return TRUE;
        s->found.hwnd = hwnd;
        GetWindowThreadProcessId(hwnd, &s->found.pid);
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void AnswerBoxesOf(DWORD pid) {
  EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        wchar_t cls[16] = {};
        GetClassNameW(hwnd, cls, 16);
        if (owner == static_cast<DWORD>(param) && IsWindowVisible(hwnd) &&
            std::wstring_view(cls) == L"#32770") {
          SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
      },
      static_cast<LPARAM>(pid));
}

}  // namespace sentavo::e2e
