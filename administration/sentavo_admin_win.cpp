// SentavoAdmin.exe: the login window as the main window, the code-management window created
// hidden, and the one place where the models' requests are carried out.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <exception>
#include <memory>
#include <variant>

#include "administration/admin_program.h"
#include "administration/admin_texts.h"
#include "administration/admin_windows_win.h"
#include "formats/clock.h"
#include "formats/file_access.h"
#include "formats/wide_win.h"
#include "widgets/link_label_win.h"

namespace sentavo::admin {
namespace {

// The window behind the taskbar button, titled with the application title; it owns both forms
// so that neither tool window needs a button of its own.
class ApplicationWindow : public ui::Window {
 public:
  bool Build(HICON icon) {
    ui::WindowSpec desc;
    desc.className = L"SentavoAdminApplication";
    desc.title = Widen(text::kAppTitle);
    desc.style = WS_POPUP | WS_VISIBLE;
    desc.x = GetSystemMetrics(SM_CXSCREEN) / 2;
    desc.y = GetSystemMetrics(SM_CYSCREEN) / 2;
    desc.width = 0;
    desc.height = 0;
    if (!Create(desc)) return false;
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    return true;
  }
  HWND front = nullptr;  // the form that takes the activation from the taskbar button

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_SETFOCUS && front && IsWindowVisible(front)) {
      SetForegroundWindow(front);
      return 0;
    }
    return ui::Window::HandleMessage(msg, wp, lp);
  }
};

class AdminApplication {
 public:
  AdminApplication()
      : formats_(MakeSystemFormats()),
        login_([this](const std::function<Requests()>& e) { Handle(e); }),
        codes_([this](const std::function<Requests()>& e) { Handle(e); }) {}

  bool Build(HINSTANCE instance) {
    const HICON icon = LoadIconW(instance, L"MAINICON");
    if (!app_.Build(icon) || !login_.Build(icon) || !codes_.Build(icon)) return false;
    for (HWND form : {login_.hwnd(), codes_.hwnd()}) {
      SetWindowLongPtrW(form, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(app_.hwnd()));
    }
    // The working folder is fixed when the login window is made.
    program_ = std::make_unique<AdminProgram>(AdminServices{files_, clock_, *formats_},
                                              login_.CurrentDirectory());
    login_.Bind(program_->login());
    codes_.Bind(program_->codes());
    return true;
  }

  void Start() {
    Handle([this] { return program_->Start(); });
  }

 private:
  // One event: the model decides, both windows mirror it, then its requests are carried out.
  void Handle(const std::function<Requests()>& event) {
    Requests requests;
    try {
      requests = event();
    } catch (const std::exception& e) {
      requests.push_back(GeneralErrorMessage(e.what()));
    }
    login_.Mirror();
    codes_.Mirror();
    for (const UiRequest& request : requests) std::visit([this](auto& r) { Carry(r); }, request);
  }

  void Carry(const MessageRequest& message) { ShowRequestedMessage(Owner(), message); }
  void Carry(const WindowRequest& request) {
    ui::Form& form = request.window == AdminWindow::Login ? static_cast<ui::Form&>(login_)
                                                          : static_cast<ui::Form&>(codes_);
    if (request.visible) {
      form.Show();
      SetForegroundWindow(form.hwnd());
      app_.front = form.hwnd();
    } else {
      form.Hide();
    }
  }
  void Carry(const OpenWebPageRequest& request) {
    widgets::TLinkLabel::OpenWithSystem(request.url);
  }
  void Carry(const EndProgramRequest&) {
    login_.Hide();
    codes_.Hide();
    PostQuitMessage(0);
  }

  // Messages belong to the window the operator works in.
  HWND Owner() const {
    if (IsWindowVisible(codes_.hwnd())) return codes_.hwnd();
    if (IsWindowVisible(login_.hwnd())) return login_.hwnd();
    return app_.hwnd();
  }

  LocalFiles files_;
  SystemClock clock_;
  std::unique_ptr<DateTimeFormats> formats_;
  ApplicationWindow app_;
  LoginWindow login_;
  CodeWindow codes_;
  std::unique_ptr<AdminProgram> program_;
};

}  // namespace
}  // namespace sentavo::admin

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_DATE_CLASSES |
                                                      ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  sentavo::admin::AdminApplication application;
  if (!application.Build(instance)) return 1;
  application.Start();
  return sentavo::ui::RunMessageLoop();
}
