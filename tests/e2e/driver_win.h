// Drives the real programs from a test: starts them, finds their windows and controls, types,
// clicks, reads texts, answers message boxes and takes screenshots, all through window messages,
// as a person at the keyboard would see the programs.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tests/support/pump_win.h"

namespace sentavo::e2e {

using namespace std::chrono_literals;

// Build-tree paths arrive as Unix paths; Wine shows them on drive Z:.
std::filesystem::path FromBuild(const char* path);
std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path);
void WriteAll(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
// The file once it holds at least `size` bytes, or as it is after `timeout`. A program whose
// replacement of the file is refused (this test holds it open) truncates and writes it, so a read
// may catch it short.
std::vector<std::uint8_t> ReadWhole(const std::filesystem::path& path, std::size_t size,
                                    std::chrono::milliseconds timeout = 2s);

using test::WaitUntil;

// A program started by the test and ended with it.
class Program {
 public:
  // `exe` and `workDir` in UTF-8; `extraEnv` entries "NAME=value" are added to the environment.
  Program(const std::string& exe, const std::vector<std::string>& args, const std::string& workDir,
          const std::vector<std::string>& extraEnv = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return process_ != nullptr; }
  // The system's error number when the program could not be started; 0 otherwise.
  DWORD startError() const { return startError_; }
  DWORD pid() const { return pid_; }
  // Waits for the process to end; empty when it is still running after `timeout`.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = 10s);
  void Kill();
  // The first visible top-level window of this process whose caption is `title` (any when empty).
  HWND FindTopWindow(const std::wstring& title = {}, const std::wstring& className = {}) const;
  HWND WaitForTopWindow(const std::wstring& title = {},
                        std::chrono::milliseconds timeout = 15s) const;
  // Every top-level window of the process (visible or not).
  std::vector<HWND> TopWindows() const;

 private:
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  DWORD startError_ = 0;
};

// The child (at any depth) with this control ID, or null.
HWND FindControl(HWND top, int id);
std::wstring Text(HWND hwnd);
std::string TextUtf8(HWND hwnd);
void SetText(HWND edit, const std::wstring& text);
// A character as if typed (WM_CHAR), e.g. L'\r' for Enter.
void TypeChar(HWND hwnd, wchar_t c);
// A left click in the middle of the control, as mouse messages, so custom buttons see it too.
void Click(HWND hwnd);
// Item `index` of a drop-down list chosen with the keyboard (Home, then Down): the list moves its
// selection and notifies its parent on the program's own thread, in one step. Setting the
// selection and sending the notification from here would be two steps, and a mirror of the
// window by one of the program's timers in between would put the old choice back. True when the
// list shows the item.
bool ChooseItem(HWND combo, int index);
void DoubleClick(HWND hwnd);
bool IsVisible(HWND hwnd);
bool IsEnabled(HWND hwnd);
bool IsChecked(HWND checkBox);

// A report list view of another process, through memory in that process (its messages carry
// pointers that only mean something there): the rows, one cell's text, and a selection as a
// click makes it, which the program hears of (LVN_ITEMCHANGED).
int ListViewCount(HWND list);
std::string ListViewText(HWND list, int row, int column);
bool ListViewSelect(HWND list, int row);
int ListViewSelected(HWND list);                    // -1: none
std::string ListViewColumn(HWND list, int column);  // its header's caption

// A message box of the process: its caption, text and the window itself.
struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;
};
std::optional<MessageBoxInfo> FindMessageBox(const Program& program);
std::optional<MessageBoxInfo> WaitForMessageBox(const Program& program,
                                                std::chrono::milliseconds timeout = 10s);
// Presses the box's button with this ID (IDOK by default) and waits until the box is gone.
bool Answer(const MessageBoxInfo& box, int buttonId = IDOK);
// The program's top-level window `title` once it shows, each message box the program puts up
// before it (a notice at its start) answered with OK and kept in `answered`. However long a
// loaded machine takes to bring the box up, it is never mistaken for a start without one.
HWND WaitForTopWindowPastBoxes(const Program& program, const std::wstring& title,
                               std::vector<MessageBoxInfo>* answered = nullptr,
                               std::chrono::milliseconds timeout = 60s);

// A visible top-level window of any process (one that a service started, say) by its caption.
struct ProcessWindow {
  HWND hwnd = nullptr;
  DWORD pid = 0;
};
ProcessWindow FindVisibleWindow(const std::wstring& caption);
// Presses OK in every message box that process shows.
void AnswerBoxesOf(DWORD pid);

// Pixels (rows top to bottom, 0x00RRGGBB) as a PNG file.
bool SavePng(int width, int height, const std::vector<std::uint32_t>& pixels,
             const std::string& pngPath);
// The whole screen as a PNG file (GDI+); false when it could not be written.
bool SaveScreenshot(const std::string& pngPath);
// One top-level window as the program draws it, brought above the others for the moment it takes.
bool SaveWindowShot(HWND window, const std::string& pngPath);

// lockgina.dll's trial mode for the programs started meanwhile: the machine's "Journal" value,
// set while the object lives and removed with it, so that a later test finds the real library.
class TrialMode {
 public:
  explicit TrialMode(const std::filesystem::path& journal);
  ~TrialMode() { Clear(); }
  TrialMode(const TrialMode&) = delete;
  TrialMode& operator=(const TrialMode&) = delete;
  // Removes the value, whatever an earlier program left in the shared Wine prefix.
  static void Clear();
};

}  // namespace sentavo::e2e
