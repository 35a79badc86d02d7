// The login window "Sentavo - Admin": the password box, showing the window (which reads
// Sentavo.cfg into the settings tab), the login and the end of the program. The window mirrors
// view() and passes the operator's typing and presses to the On... methods.
#pragma once

#include <string>

#include "administration/admin_state.h"
#include "administration/ui_requests.h"

namespace sentavo::admin {

class CodeWindowModel;

struct LoginWindowView {
  bool visible = false;
  std::string adminpass;  // what the operator typed
};

class LoginWindowModel {
 public:
  LoginWindowModel(AdminState& state, CodeWindowModel& codes);
  LoginWindowModel(const LoginWindowModel&) = delete;
  LoginWindowModel& operator=(const LoginWindowModel&) = delete;

  const LoginWindowView& view() const { return view_; }

  // Makes the window visible. When it was hidden, the settings tab takes the configuration file's
  // values (the default password when there is none) and the default password is warned about.
  Requests Show();

  void OnAdminpassChanged(std::string text);

  // "Ověřit kód", and Enter typed in adminpass.
  Requests OnOveritKod();

  // "Konec", and the close box.
  Requests OnKonec();

 private:
  AdminState& state_;
  CodeWindowModel& codes_;
  LoginWindowView view_;
};

}  // namespace sentavo::admin
