#include "administration/login_window_model.h"

#include <utility>

#include "administration/admin_texts.h"
#include "administration/code_window_model.h"
#include "formats/temp_litter.h"

namespace sentavo::admin {

LoginWindowModel::LoginWindowModel(AdminState& state, CodeWindowModel& codes)
    : state_(state), codes_(codes) {}

Requests LoginWindowModel::Show() {
  Requests out;
  // Showing a window that is already visible shows nothing new and reads nothing.
  if (view_.visible) return out;
  view_.visible = true;
  out.push_back(Showing(AdminWindow::Login, true));
  RunHandled(out, [this](Requests& o) { codes_.ReadConfiguration(o); });
  return out;
}

void LoginWindowModel::OnAdminpassChanged(std::string text) {
  view_.adminpass = std::move(text);
}

Requests LoginWindowModel::OnOveritKod() {
  Requests out;
  if (view_.adminpass != codes_.view().settings.adminheslo) {
    out.push_back(ErrorMessage(std::string(text::kWrongPassword)));
    return out;
  }
  RunHandled(out, [this](Requests& o) {
    codes_.ShowAfterLogin(o);
    view_.visible = false;
    o.push_back(Showing(AdminWindow::Login, false));
  });
  // The temporary files that writers cut off mid-replacement left in the shared folder.
  SweepReplacementLitter(state_.services.files, codes_.view().settings.servercesta,
                         IsCodeFileTarget);
  return out;
}

Requests LoginWindowModel::OnKonec() {
  Requests out;
  out.push_back(ui::EndProgramRequest{});
  return out;
}

}  // namespace sentavo::admin
