// Loading lockgina.dll as the client does, in a program of its own: through the search order,
// through the registry value "Path", through the dialog answered here, and not at all.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "formats/registry_key_win.h"
#include "win_test_support.h"

namespace sentavo::test {
namespace {

const wchar_t kGinaKey[] = L"Software\\Brenholt\\SystemLock\\Gina";

void SetPathValue(const std::wstring* dir) {
  RegKey key;
  ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, kGinaKey, KEY_ALL_ACCESS), ERROR_SUCCESS);
  if (dir) {
    RegSetValueExW(key.get(), L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(dir->c_str()),
                   static_cast<DWORD>((dir->size() + 1) * sizeof(wchar_t)));
  } else {
    RegDeleteValueW(key.get(), L"Path");
  }
}

std::wstring PathValue() {
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kGinaKey, L"Path", RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return L"<none>";
  return value;
}

// A copy of the host program in a folder of its own, started there with its output in a file.
class Host {
 public:
  Host(const WinTempDir& dir, const std::wstring& mode, const std::wstring& journal = {}) {
    const std::wstring exe = dir.path() + L"gina_host.exe";
    CopyFileW((ExeDirectory() + L"gina_host.exe").c_str(), exe.c_str(), FALSE);
    output_ = dir.path() + L"out.txt";
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    const HANDLE out = CreateFileW(output_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa,
                                   CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = out;
    // The library reads its trial mode at every call: it stays on while the host runs.
    if (journal.empty()) {
      ClearTrialJournal();
    } else {
      SetTrialJournal(journal);
    }
    std::wstring command = L"\"" + exe + L"\" " + mode;
    CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                   dir.path().c_str(), &si, &pi_);
    CloseHandle(out);
  }
  ~Host() {
    ClearTrialJournal();
    if (pi_.hProcess) {
      TerminateProcess(pi_.hProcess, 99);
      CloseHandle(pi_.hProcess);
      CloseHandle(pi_.hThread);
    }
  }
  bool started() const { return pi_.hProcess != nullptr; }
  DWORD pid() const { return pi_.dwProcessId; }
  // The exit code, or 259 (still running) after 20 s.
  DWORD Wait() {
    WaitForSingleObject(pi_.hProcess, 20000);
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }
  std::string Output() const { return ReadFileText(output_); }

 private:
  PROCESS_INFORMATION pi_{};
  std::wstring output_;
};

struct Found {
  DWORD pid;
  bool wantEdit;
  HWND dialog = nullptr;
};

BOOL CALLBACK FindChildEdit(HWND h, LPARAM lp) {
  wchar_t cls[64];
  GetClassNameW(h, cls, 64);
  if (std::wstring(cls) == L"Edit") {
    *reinterpret_cast<bool*>(lp) = true;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindDialog(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<Found*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t cls[64];
  GetClassNameW(h, cls, 64);
  if (pid != f->pid || std::wstring(cls) != L"#32770" || !IsWindowVisible(h)) return TRUE;
  bool hasEdit = false;
  EnumChildWindows(h, FindChildEdit, reinterpret_cast<LPARAM>(&hasEdit));
  if (hasEdit != f->wantEdit) return TRUE;
  f->dialog = h;
  return FALSE;
}

// The host's message box (no edit field) or its open-file dialog (one with an edit field).
HWND WaitForDialog(const Host& host, bool fileDialog) {
  Found f{host.pid(), fileDialog};
  WaitUntil(
      [&] {
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&f));
        return f.dialog != nullptr;
      },
      20s);
  return f.dialog;
}

BOOL CALLBACK CollectStatic(HWND h, LPARAM lp) {
  wchar_t cls[64], text[512];
  GetClassNameW(h, cls, 64);
  if (std::wstring(cls) == L"Static" && GetWindowTextW(h, text, 512) > 0)
    *reinterpret_cast<std::wstring*>(lp) += text;
  return TRUE;
}

std::wstring MessageText(HWND box) {
  std::wstring text;
  EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

void Press(HWND dialog, int id) {
  PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPathValue(nullptr);
    LiftMachinePolicies();
  }
  void TearDown() override { SetPathValue(nullptr); }
  WinTempDir hostDir;
  WinTempDir libraryDir;
  void PutLibraryIn(const WinTempDir& dir) {
    ASSERT_TRUE(CopyFileW((ExeDirectory() + L"lockgina.dll").c_str(),
                          (dir.path() + L"lockgina.dll").c_str(), FALSE));
  }
};

TEST_F(LoaderTest, BesideTheProgramTheLibraryIsFoundByTheSearchOrder) {
  PutLibraryIn(hostDir);
  const std::wstring journal = libraryDir.path() + L"calls.txt";
  Host host(hostDir, L"systemlock", journal);
  ASSERT_TRUE(host.started());
  EXPECT_EQ(host.Wait(), 0u);
  const std::vector<std::string> calls = Lines(ReadFileText(journal));
  ASSERT_GE(calls.size(), 8u);
  EXPECT_EQ(calls[0], "wlVersion(131084)");
  EXPECT_EQ(calls[1], "wlIsGinaInstalled()");
  // Under Wine the policies are not in force, so the client installs them.
  EXPECT_EQ(calls[2], "wlInstallGina(0)");
  EXPECT_EQ(calls[3], "wlDisableKey(0, 46, 3, 1)");
  EXPECT_EQ(calls[4], "wlDisableKey(0, 9, 1, 1)");
  EXPECT_EQ(calls[5], "wlDisableItem(1, 1)");
  EXPECT_TRUE(calls[6].starts_with("wlSetKeyPostMessage(0x")) << calls[6];
  EXPECT_TRUE(calls[6].ends_with(", 0, 1469)")) << calls[6];
  EXPECT_EQ(calls[7], "wlRestoreAll()");
  EXPECT_EQ(calls.size(), 10u);  // destruction: RestoreAll, then the reports are stopped
  EXPECT_EQ(calls[8], "wlRestoreAll()");
  EXPECT_EQ(calls[9], "wlSetKeyPostMessage(0x0, 0, 0)");
}

TEST_F(LoaderTest, TheRegistryPathIsTriedNext) {
  PutLibraryIn(libraryDir);
  SetPathValue(&libraryDir.path());
  Host host(hostDir, L"load", hostDir.path() + L"calls.txt");
  ASSERT_TRUE(host.started());
  EXPECT_EQ(host.Wait(), 0u);
  const std::string out = host.Output();
  EXPECT_NE(out.find("directory=" + Utf8(libraryDir.path())), std::string::npos) << out;
}

TEST_F(LoaderTest, TheDialogsAnswerIsLoadedAndKeptInTheRegistry) {
  PutLibraryIn(libraryDir);
  Host host(hostDir, L"load", hostDir.path() + L"calls.txt");
  ASSERT_TRUE(host.started());
  const HWND box = WaitForDialog(host, false);
  ASSERT_NE(box, nullptr);
  const std::wstring text = MessageText(box);
  EXPECT_NE(text.find(L"cannot find lockgina.dll"), std::wstring::npos);
  EXPECT_NE(text.find(L"please select path to lockgina.dll"), std::wstring::npos);
  Press(box, IDOK);
  const HWND dialog = WaitForDialog(host, true);
  ASSERT_NE(dialog, nullptr);
  const std::wstring pick = libraryDir.path() + L"LockGina.DLL";
  SetDlgItemTextW(dialog, 0x47C /* cmb13, the file name */, pick.c_str());
  SetDlgItemTextW(dialog, 0x480 /* edt1, the same in the older dialog */, pick.c_str());
  Press(dialog, IDOK);
  EXPECT_EQ(host.Wait(), 0u);
  EXPECT_EQ(PathValue(), libraryDir.path());
}

TEST_F(LoaderTest, NoLibraryAnywhereEndsTheProgramWithExitCode1) {
  Host host(hostDir, L"load");
  ASSERT_TRUE(host.started());
  const HWND box = WaitForDialog(host, false);
  ASSERT_NE(box, nullptr);
  Press(box, IDOK);
  const HWND dialog = WaitForDialog(host, true);
  ASSERT_NE(dialog, nullptr);
  Press(dialog, IDCANCEL);
  HWND last = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] {
        last = WaitForDialog(host, false);
        return last && MessageText(last).find(L"cannot load") != std::wstring::npos;
      },
      20000ms));
  const std::wstring text = MessageText(last);
  EXPECT_TRUE(text.starts_with(L"cannot load lockgina.dll")) << text.c_str();
  EXPECT_GT(text.size(), std::wstring(L"cannot load lockgina.dll").size());  // the system's text
  Press(last, IDOK);
  EXPECT_EQ(host.Wait(), 1u);
  EXPECT_EQ(PathValue(), L"<none>");
}

}  // namespace
}  // namespace sentavo::test
