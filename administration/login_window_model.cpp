#include "administration/login_window_model.h"

#include "administration/admin_texts.h"
#include "administration/code_window_model.h"
#include "formats/config_record.h"
#include "formats/temp_litter.h"

namespace sentavo::admin {

LoginWindowModel::LoginWindowModel(AdminState& state, CodeWindowModel& codes)
    : state_(state), codes_(codes) {}

Requests LoginWindowModel::Show() {
  Requests out;
  // Showing a window that is already visible shows nothing new and reads nothing.
  if (view_.visible) return out;
  view_.visible = true;
  out.push_back(WindowRequest{AdminWindow::Login, true});
  RunHandled(out, [this](Requests& o) { ReadConfiguration(o); });
  return out;
}

void LoginWindowModel::ReadConfiguration(Requests& out) {
  SettingsTab& settings = codes_.view().settings;
  settings.adminheslo = text::kDefaultPassword;
  const std::string path = state_.ConfigPath();
  if (state_.services.files.IsFile(path)) {
    // ReadRecord gives a whole record or throws, so decoding cannot fail.
    const auto record =
        DecodeConfigRecord(ReadRecord(state_.services.files, path, kConfigRecordSize)).value();
    state_.config = record;
    settings.adminheslo = record.adminPassword;
    settings.provoz = record.establishment;
    settings.servercesta = WithTrailingBackslash(record.serverPath);
    settings.pozadiFile = record.backgroundFile;
  }
  if (settings.adminheslo == text::kDefaultPassword) {
    out.push_back(InformationMessage(std::string(text::kDefaultPasswordWarning)));
  }
}

Requests LoginWindowModel::OveritKodClicked() {
  Requests out;
  if (view_.adminpass != codes_.view().settings.adminheslo) {
    out.push_back(ErrorMessage(std::string(text::kWrongPassword)));
    return out;
  }
  RunHandled(out, [this](Requests& o) {
    codes_.ShowAfterLogin(o);
    view_.visible = false;
    o.push_back(WindowRequest{AdminWindow::Login, false});
  });
  // The temporary files that writers cut off mid-replacement left in the shared folder.
  SweepReplacementLitter(state_.services.files, codes_.view().settings.servercesta,
                         IsCodeFileTarget);
  return out;
}

Requests LoginWindowModel::KonecClicked() {
  return {EndProgramRequest{}};
}

}  // namespace sentavo::admin
