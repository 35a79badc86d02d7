// SentavoAdmin.exe: the login window as the main window, the code-management window created
// hidden, and the one place where the models' requests are carried out.
#include <windows.h>

#include <memory>

#include "administration/admin_program.h"
#include "administration/admin_texts.h"
#include "administration/admin_windows_win.h"
#include "formats/clock.h"
#include "formats/file_access.h"
#include "formats/wide_win.h"
#include "ui/application_window_win.h"
#include "ui/binding_win.h"
#include "ui/form_win.h"

namespace sentavo::admin {
namespace {

class AdminApplication final : public ui::RequestHost {
 public:
  AdminApplication() : formats_(MakeSystemFormats()), login_(dispatcher_), codes_(dispatcher_) {
    dispatcher_.AddMirror([this] { login_.Mirror(); });
    dispatcher_.AddMirror([this] { codes_.Mirror(); });
  }

  bool Build(HINSTANCE instance) {
    const HICON icon = LoadIconW(instance, L"MAINICON");
    // The window behind the taskbar button, titled with the application title.
    ui::ApplicationWindowOptions app;
    app.className = L"SentavoAdminApplication";
    app.title = text::kAppTitle;
    app.icon = icon;
    app.style = WS_POPUP | WS_VISIBLE;
    app.centred = true;
    if (!app_.Create(app) || !login_.Build(icon) || !codes_.Build(icon)) return false;
    app_.Own(login_.hwnd());
    app_.Own(codes_.hwnd());
    // The working folder is fixed when the login window is made.
    program_ = std::make_unique<AdminProgram>(AdminServices{files_, clock_, *formats_},
                                              login_.CurrentDirectory());
    login_.Attach(program_->login());
    codes_.Attach(program_->codes());
    dispatcher_.Mirror();
    return true;
  }

  void Start() {
    dispatcher_.Run([this] { return program_->Start(); });
  }

 private:
  // Messages belong to the window the operator works in.
  HWND MessageOwner() const override {
    if (IsWindowVisible(codes_.hwnd())) return codes_.hwnd();
    if (IsWindowVisible(login_.hwnd())) return login_.hwnd();
    return app_.hwnd();
  }

  void OnShowWindow(const ui::ShowWindowRequest& request) override {
    ui::Form& form = request.window == static_cast<int>(AdminWindow::Login)
                         ? static_cast<ui::Form&>(login_)
                         : static_cast<ui::Form&>(codes_);
    if (request.visible) {
      form.Show();
      SetForegroundWindow(form.hwnd());
      app_.SetFront(form.hwnd());
    } else {
      form.Hide();
    }
  }

  void OnEndProgram(const ui::EndProgramRequest& request) override {
    login_.Hide();
    codes_.Hide();
    PostQuitMessage(request.exitCode);
  }

  LocalFiles files_;
  SystemClock clock_;
  std::unique_ptr<DateTimeFormats> formats_;
  // Made once the login window exists, but declared before the windows: they point into it, so
  // it must go after them.
  std::unique_ptr<AdminProgram> program_;
  ui::EventDispatcher dispatcher_{*this};
  ui::ApplicationWindow app_;
  LoginWindow login_;
  CodeWindow codes_;
};

}  // namespace
}  // namespace sentavo::admin

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  sentavo::ui::InitWindowLayer();
  sentavo::ui::SetErrorPolicy({std::string(sentavo::admin::text::kAppTitle), {}, {}});
  sentavo::admin::AdminApplication application;
  if (!application.Build(instance)) return 1;
  application.Start();
  return sentavo::ui::RunMessageLoop();
}
