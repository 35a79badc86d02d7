// SentavoAdmin as a whole: its state for the run and its two windows' models, wired together.
#pragma once

#include <string>

#include "administration/admin_state.h"
#include "administration/code_window_model.h"
#include "administration/login_window_model.h"
#include "administration/ui_requests.h"

namespace sentavo::admin {

class AdminProgram {
 public:
  // Creating the program seeds the code-name generator from the clock and fixes the working
  // folder: `currentFolder` is the folder current at start, as the system reports it.
  AdminProgram(AdminServices services, const std::string& currentFolder);
  AdminProgram(const AdminProgram&) = delete;
  AdminProgram& operator=(const AdminProgram&) = delete;

  // The first showing of the login window; the code-management window stays hidden.
  Requests Start() { return login_.Show(); }

  LoginWindowModel& login() { return login_; }
  CodeWindowModel& codes() { return codes_; }
  const AdminState& state() const { return state_; }

 private:
  AdminState state_;
  LoginWindowModel login_;
  CodeWindowModel codes_;
};

inline AdminProgram::AdminProgram(AdminServices services, const std::string& currentFolder)
    : state_(services, currentFolder), login_(state_, codes_), codes_(state_, login_) {}

}  // namespace sentavo::admin
