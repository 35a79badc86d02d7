#include "widgets/select_directory_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "formats/wide_win.h"
#include "ui/controls_win.h"
#include "ui/form_win.h"
#include "ui/system_dll_win.h"

namespace sentavo::widgets {
namespace {

std::vector<std::string> Subdirectories(const std::string& dir) {
  std::vector<std::string> out;
  WIN32_FIND_DATAW fd;
  const HANDLE find = FindFirstFileExW(Widen(JoinPath(dir, "*")).c_str(), FindExInfoBasic, &fd,
                                       FindExSearchLimitToDirectories, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return out;
  do {
    const std::wstring name = fd.cFileName;
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
      out.push_back(Narrow(name));
    }
  } while (FindNextFileW(find, &fd));
  FindClose(find);
  std::sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
    return CompareStringOrdinal(Widen(a).c_str(), -1, Widen(b).c_str(), -1, TRUE) == CSTR_LESS_THAN;
  });
  return out;
}

std::vector<std::string> Drives() {
  std::vector<std::string> out;
  wchar_t buf[512];
  const DWORD n = GetLogicalDriveStringsW(511, buf);
  for (const wchar_t* p = buf; n > 0 && n < 512 && *p; p += wcslen(p) + 1) out.push_back(Narrow(p));
  return out;
}

bool CreateWithParents(const std::string& path) {
  const int r = SHCreateDirectoryExW(nullptr, Widen(path).c_str(), nullptr);
  return r == ERROR_SUCCESS || r == ERROR_ALREADY_EXISTS || r == ERROR_FILE_EXISTS;
}

// The classic dialog: the path typed or picked, the folders of the current one, the drives.
class ClassicDirectoryDialog final : public ui::Form {
 public:
  ClassicDirectoryDialog(TSelectDirOpts options, int helpContext)
      : options_(options), helpContext_(helpContext) {}
  ~ClassicDirectoryDialog() override { Destroy(); }

  bool Build(HWND owner, const std::string& start) {
    ui::WindowSpec w;
    w.className = kDirectoryDialogClass;
    w.title = L"Select Directory";
    w.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | DS_MODALFRAME;
    w.exStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
    w.width = 360;
    w.height = 330;
    w.x = (GetSystemMetrics(SM_CXSCREEN) - w.width) / 2;
    w.y = (GetSystemMetrics(SM_CYSCREEN) - w.height) / 2;
    w.parent = owner;
    if (!Create(w)) return false;
    const HWND h = hwnd();
    nameLabel_.Create(h, 10, {10, 10, 330, 16}, "Directory Name:");
    path_.Create(h, kDirectoryEditId, {10, 28, 330, 22});
    foldersLabel_.Create(h, 11, {10, 58, 330, 16}, "Directories:");
    folders_.Create(h, kDirectoryListId, {10, 76, 330, 140});
    drivesLabel_.Create(h, 12, {10, 222, 330, 16}, "Drives:");
    drives_.Create(h, kDriveListId, {10, 240, 200, 22});
    ok_.Create(h, IDOK, {220, 240, 120, 24}, "OK", true);
    cancel_.Create(h, IDCANCEL, {220, 268, 120, 24}, "Cancel");
    help_.Create(h, IDHELP, {10, 268, 80, 24}, "Help");
    help_.SetVisible(helpContext_ != 0);
    for (ui::Label* l : {&nameLabel_, &foldersLabel_, &drivesLabel_}) l->SetColor(ui::clBtnFace);
    for (const std::string& d : Drives()) drives_.Add(d);
    folders_.OnDblClick = [this] { EnterSelected(); };
    drives_.OnChange = [this] { Navigate(drives_.SelectedText()); };
    ok_.OnClick = [this] { Confirm(); };
    cancel_.OnClick = [this] { done_ = true; };
    Navigate(start.empty() ? CurrentDirectory() : start);
    return true;
  }

  bool Done() const { return done_; }
  const std::optional<std::string>& Result() const { return result_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_CLOSE) {
      done_ = true;
      return 0;
    }
    if (msg == WM_COMMAND && lp == 0 && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
      // Enter and Escape from the dialog keys.
      if (LOWORD(wp) == IDOK) {
        Confirm();
      } else {
        done_ = true;
      }
      return 0;
    }
    return ui::Form::HandleMessage(msg, wp, lp);
  }

 private:
  static std::string CurrentDirectory() {
    wchar_t buf[MAX_PATH];
    const DWORD n = GetCurrentDirectoryW(MAX_PATH, buf);
    return n > 0 && n < MAX_PATH ? Narrow(buf) : std::string("C:\\");
  }

  void Navigate(const std::string& dir) {
    current_ = dir;
    path_.SetText(dir);
    folders_.Clear();
    if (DirectoryExists(dir)) {
      if (!IsRootDirectory(dir)) folders_.Add("..");
      for (const std::string& name : Subdirectories(dir)) folders_.Add(name);
    }
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    for (int i = 0; i < drives_.Count(); ++i) {
      drives_.SetItemIndex(i);
      const std::string drive = drives_.SelectedText();
      if (dir.size() >= 2 && dir[1] == ':' && !drive.empty() && upper(drive[0]) == upper(dir[0])) {
        return;
      }
    }
    drives_.SetItemIndex(-1);
  }

  void EnterSelected() {
    const int i = folders_.ItemIndex();
    if (i < 0) return;
    const std::string name = folders_.Item(i);
    Navigate(name == ".." ? ParentDirectory(current_) : JoinPath(current_, name));
  }

  void Confirm() {
    const std::string path = path_.Text();
    DirectoryVerdict verdict = JudgeChosenDirectory(path, options_, DirectoryExists(path));
    if (verdict == DirectoryVerdict::AskToCreate) {
      const std::wstring ask = L"The directory \"" + Widen(path) + L"\" does not exist. Create it?";
      if (MessageBoxW(hwnd(), ask.c_str(), L"Confirm", MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
      }
      verdict = AfterCreateAgreed(options_);
    }
    if (verdict == DirectoryVerdict::Refuse) {
      if (!path.empty()) {
        const std::wstring text = L"The directory \"" + Widen(path) + L"\" does not exist.";
        MessageBoxW(hwnd(), text.c_str(), L"Error", MB_OK | MB_ICONERROR);
      }
      return;
    }
    if (verdict == DirectoryVerdict::AcceptAndCreate && !CreateWithParents(path)) {
      const std::wstring text = L"The directory \"" + Widen(path) + L"\" cannot be created.";
      MessageBoxW(hwnd(), text.c_str(), L"Error", MB_OK | MB_ICONERROR);
      return;
    }
    result_ = path;
    done_ = true;
  }

  TSelectDirOpts options_;
  int helpContext_;
  std::string current_;
  bool done_ = false;
  std::optional<std::string> result_;
  ui::Label nameLabel_, foldersLabel_, drivesLabel_;
  ui::Edit path_;
  ui::ListBox folders_;
  ui::ComboBox drives_;
  ui::Button ok_, cancel_, help_;
};

// The other windows of the thread, disabled while a dialog without an owner of ours is open.
class DisabledWindows {
 public:
  explicit DisabledWindows(HWND except) : except_(except) {
    EnumThreadWindows(GetCurrentThreadId(), &DisabledWindows::Visit,
                      reinterpret_cast<LPARAM>(this));
  }
  ~DisabledWindows() {
    for (HWND h : disabled_) EnableWindow(h, TRUE);
  }

 private:
  static BOOL CALLBACK Visit(HWND h, LPARAM lp) {
    auto* self = reinterpret_cast<DisabledWindows*>(lp);
    if (h != self->except_ && IsWindowVisible(h) && IsWindowEnabled(h)) {
      EnableWindow(h, FALSE);
      self->disabled_.push_back(h);
    }
    return TRUE;
  }
  HWND except_;
  std::vector<HWND> disabled_;
};

}  // namespace

bool DirectoryExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD a = GetFileAttributesW(Widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> RunClassicDirectoryDialog(HWND owner, const std::string& start,
                                                     const TSelectDirOpts& options,
                                                     int helpContext) {
  ClassicDirectoryDialog dialog(options, helpContext);
  if (!dialog.Build(owner, start)) return std::nullopt;
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (owner) EnableWindow(owner, FALSE);
  dialog.Show();
  MSG msg;
  bool quit = false;
  while (!dialog.Done()) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (ui::PreTranslateFormMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (owner && ownerWasEnabled) EnableWindow(owner, TRUE);
  if (owner) SetActiveWindow(owner);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop must still see it
  return quit ? std::nullopt : dialog.Result();
}

std::optional<std::string> WinDirectoryDialogs::Classic(const std::string& start,
                                                        const TSelectDirOpts& options,
                                                        int helpContext) {
  return RunClassicDirectoryDialog(owner_ ? owner_() : nullptr, start, options, helpContext);
}

std::optional<std::string> WinDirectoryDialogs::ShellBrowser(const std::string& title,
                                                             const std::string& root) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const HWND owner = owner_ ? owner_() : nullptr;
  std::optional<std::string> result;
  {
    DisabledWindows others(owner);
    const std::wstring wtitle = Widen(title);
    PIDLIST_ABSOLUTE rootPidl = nullptr;
    if (!root.empty()) SHParseDisplayName(Widen(root).c_str(), nullptr, &rootPidl, 0, nullptr);
    wchar_t display[MAX_PATH] = {};
    BROWSEINFOW bi{};
    bi.hwndOwner = owner;
    bi.pidlRoot = rootPidl;
    bi.pszDisplayName = display;
    bi.lpszTitle = wtitle.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&bi)) {
      wchar_t path[MAX_PATH] = {};
      if (SHGetPathFromIDListW(chosen, path)) result = Narrow(path);
      CoTaskMemFree(chosen);
    }
    if (rootPidl) CoTaskMemFree(rootPidl);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return result;
}

std::vector<std::string> SplitSelection(const std::vector<std::string>& parts) {
  if (parts.size() <= 1) return parts;
  std::vector<std::string> out;
  for (std::size_t i = 1; i < parts.size(); ++i) out.push_back(JoinPath(parts[0], parts[i]));
  return out;
}

std::optional<OpenFileResult> WinFileDialogs::Open(const OpenFileRequest& request) {
  std::vector<wchar_t> buffer(64 * 1024, L'\0');
  std::wstring filter = Widen(request.filter);
  if (!filter.empty()) {
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.push_back(L'\0');
    filter.push_back(L'\0');
  }
  const std::wstring initialDir = Widen(request.initialDir);
  const std::wstring title = Widen(request.title);
  const std::wstring defaultExt = Widen(request.defaultExt);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_ ? owner_() : nullptr;
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  ofn.Flags = OpenOptionsToFlags(request.options);
  // The dialog's DLL brings the print spooler with it: loaded when a file is first picked.
  static const auto openDialog =
      ui::SystemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  if (!openDialog || !openDialog(&ofn)) return std::nullopt;

  std::vector<std::string> parts;
  if (ofn.Flags & OFN_ALLOWMULTISELECT) {
    if (ofn.Flags & OFN_EXPLORER) {
      for (const wchar_t* p = buffer.data(); *p; p += wcslen(p) + 1) parts.push_back(Narrow(p));
    } else {
      std::string all = Narrow(buffer.data());
      std::size_t start = 0;
      while (start <= all.size()) {
        const std::size_t blank = all.find(' ', start);
        const std::string piece = all.substr(start, blank - start);
        if (!piece.empty()) parts.push_back(piece);
        if (blank == std::string::npos) break;
        start = blank + 1;
      }
    }
  } else {
    parts.push_back(Narrow(buffer.data()));
  }
  OpenFileResult result;
  result.files = SplitSelection(parts);
  result.flags = ofn.Flags;
  return result;
}

}  // namespace sentavo::widgets
