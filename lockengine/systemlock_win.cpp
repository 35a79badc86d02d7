#include "lockengine/systemlock_win.h"

#include "formats/registry_win.h"
#include "formats/wide_win.h"
#include "lockengine/handles_win.h"
#include "lockengine/lock_core_win.h"
#include "ui/window_win.h"

namespace sentavo::lockengine {
namespace {

// Receives the library's reports; every other message is left to the system.
class KeyWindow final : public KeyMessageWindow, public ui::Window {
 public:
  explicit KeyWindow(KeyMessageHandler handler) : handler_(std::move(handler)) {
    ui::WindowSpec desc;
    desc.className = L"SentavoKeyMessages";
    desc.style = 0;
    desc.parent = HWND_MESSAGE;
    Create(desc);
  }
  WindowHandle Handle() const override { return FromHwnd(hwnd()); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kKeyPressMessage || msg == kKeyReleaseMessage) {
      handler_(msg, wp, lp);
      return 0;
    }
    return DefaultHandling(msg, wp, lp);
  }

 private:
  KeyMessageHandler handler_;
};

}  // namespace

Win32SystemLockPlatform::Win32SystemLockPlatform(GinaLibrary& gina, std::wstring taskbarClass)
    : gina_(gina), startButtons_(std::move(taskbarClass)) {}

Registry& Win32SystemLockPlatform::SystemRegistry() {
  return ProcessRegistry();
}

std::string Win32SystemLockPlatform::ProgramPath() {
  return Narrow(ProgramFileName());
}

std::unique_ptr<KeyMessageWindow> Win32SystemLockPlatform::CreateKeyMessageWindow(
    KeyMessageHandler handler) {
  return std::make_unique<KeyWindow>(std::move(handler));
}

Point Win32SystemLockPlatform::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

void Win32SystemLockPlatform::BringToForeground(WindowHandle form) {
  const HWND h = ToHwnd(form);
  if (!h) return;
  const HWND last = GetLastActivePopup(h);
  SetForegroundWindow(last ? last : h);
}

SystemLockPlatform& DefaultSystemLockPlatform() {
  static Win32SystemLockPlatform platform(ProcessLockCore());
  return platform;
}

}  // namespace sentavo::lockengine
