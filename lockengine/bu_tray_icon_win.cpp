#include "lockengine/bu_tray_icon_win.h"

#include <shobjidl.h>

#include <cwchar>

#include "formats/wide_win.h"
#include "lockengine/handles_win.h"
#include "ui/messages_win.h"
#include "ui/window_win.h"

namespace sentavo::lockengine {
namespace {

constexpr UINT_PTR kAnimationTimer = 1;

BOOL CALLBACK FirstIcon(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
  *reinterpret_cast<LPWSTR*>(found) = name;
  return FALSE;
}

// Removes or restores a window's button on the taskbar while the window stays on the screen.
void SetTaskbarButton(HWND window, bool shown) {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ITaskbarList* list = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList,
                                 reinterpret_cast<void**>(&list)))) {
    if (SUCCEEDED(list->HrInit())) {
      if (shown) {
        list->AddTab(window);
      } else {
        list->DeleteTab(window);
      }
    }
    list->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
}

}  // namespace

NOTIFYICONDATAW MakeNotifyIconData(const TrayRecord& record) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
  nid.hWnd = ToHwnd(record.window);
  nid.uID = record.id;
  nid.uFlags = record.flags;
  nid.uCallbackMessage = record.callbackMessage;
  nid.hIcon = ToHicon(record.icon);
  const std::wstring tip = Widen(record.tip);
  const std::size_t n = tip.size() < kTrayTipLength ? tip.size() : kTrayTipLength;
  std::wmemcpy(nid.szTip, tip.data(), n);
  nid.szTip[n] = L'\0';
  return nid;
}

// A hidden top-level window: message-only windows do not hear "TaskbarCreated".
class Win32TrayBackend::TrayWindow final : public ui::Window {
 public:
  TrayWindow() : taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
    ui::WindowSpec desc;
    desc.className = L"SentavoTrayIcon";
    desc.style = WS_POPUP;
    desc.x = desc.y = desc.width = desc.height = 0;
    Create(desc);
    if (hwnd()) ChangeWindowMessageFilterEx(hwnd(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
  }
  Handlers handlers;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kTrayCallbackMessage) {
      if (handlers.callback) handlers.callback(lp);
      return 0;
    }
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
      if (handlers.taskbarCreated) handlers.taskbarCreated();
      return 0;
    }
    if (msg == WM_TIMER && wp == kAnimationTimer) {
      if (handlers.tick) handlers.tick();
      return 0;
    }
    return DefaultHandling(msg, wp, lp);
  }

 private:
  UINT taskbarCreated_;
};

Win32TrayBackend::Win32TrayBackend(ui::Component* owner)
    : owner_(owner), window_(std::make_unique<TrayWindow>()) {
  kernel32_ = LoadLibraryW(L"KERNEL32.DLL");
  if (kernel32_) {
    registerServiceProcess_ = reinterpret_cast<DWORD(WINAPI*)(DWORD, DWORD)>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel32_, "RegisterServiceProcess")));
  }
}

Win32TrayBackend::~Win32TrayBackend() {
  if (window_->hwnd()) KillTimer(window_->hwnd(), kAnimationTimer);
  if (icon_) DestroyIcon(icon_);
  window_.reset();
  if (kernel32_) FreeLibrary(kernel32_);
}

void Win32TrayBackend::Attach(Handlers handlers) {
  window_->handlers = std::move(handlers);
}

WindowHandle Win32TrayBackend::Window() const {
  return FromHwnd(window_->hwnd());
}

void Win32TrayBackend::Notify(TrayCommand command, const TrayRecord& record) {
  NOTIFYICONDATAW nid = MakeNotifyIconData(record);
  const DWORD message = command == TrayCommand::Add      ? NIM_ADD
                        : command == TrayCommand::Modify ? NIM_MODIFY
                                                         : NIM_DELETE;
  Shell_NotifyIconW(message, &nid);
}

// The program's first icon resource, or the system's application icon.
IconHandle Win32TrayBackend::ApplicationIcon() {
  const HMODULE exe = GetModuleHandleW(nullptr);
  LPWSTR name = nullptr;
  EnumResourceNamesW(exe, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, FirstIcon,
                     reinterpret_cast<LONG_PTR>(&name));
  HICON icon = name ? LoadIconW(exe, name) : nullptr;
  if (!icon) icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */);
  return FromHicon(icon);
}

IconHandle Win32TrayBackend::TakeIcon(IconHandle icon) {
  const HICON copy = icon ? CopyIcon(ToHicon(icon)) : nullptr;
  if (icon_) DestroyIcon(icon_);
  icon_ = copy;
  return FromHicon(copy);
}

void Win32TrayBackend::SetTimer(bool running, std::uint32_t interval) {
  const HWND h = window_->hwnd();
  if (!h) return;
  if (running && interval > 0) {
    ::SetTimer(h, kAnimationTimer, interval, nullptr);
  } else {
    KillTimer(h, kAnimationTimer);
  }
}

Point Win32TrayBackend::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

// The application window is the owner of the owning form's window where the form has one (the
// window that carries the program's taskbar button); a form without an owner carries its button
// itself, which is then taken off the taskbar while the form stays on the screen.
void Win32TrayBackend::ShowApplicationWindow(bool visible) {
  const auto* form = dynamic_cast<const FormWindow*>(owner_);
  if (!form) return;
  const HWND formWindow = ToHwnd(form->FormHandle());
  if (!formWindow) return;
  if (const HWND application = GetWindow(formWindow, GW_OWNER)) {
    ShowWindow(application, visible ? SW_SHOW : SW_HIDE);
  } else {
    SetTaskbarButton(formWindow, visible);
  }
}

void Win32TrayBackend::RegisterServiceProcess(bool hideFromTaskList) {
  if (registerServiceProcess_)
    registerServiceProcess_(GetCurrentProcessId(), hideFromTaskList ? 1 : 0);
}

void Win32TrayBackend::ReportError(const std::string& text) {
  ui::ShowMessageBox(nullptr, ui::StopMessage(Narrow(ApplicationTitle()), text));
}

std::unique_ptr<TrayBackend> MakeWin32TrayBackend(ui::Component* owner) {
  return std::make_unique<Win32TrayBackend>(owner);
}

}  // namespace sentavo::lockengine
