#include "administration/admin_ids.h"
#include "administration/admin_texts.h"
#include "administration/admin_windows_win.h"
#include "formats/wide_win.h"
#include "ui/messages_win.h"

namespace sentavo::admin {

LRESULT ReturnEdit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETDLGCODE && wp == VK_RETURN) {
    return DLGC_WANTALLKEYS | ui::Edit::HandleMessage(msg, wp, lp);
  }
  if (msg == WM_CHAR && wp == L'\r') {
    if (OnReturn) OnReturn();
    return 0;  // a single-line edit would only beep
  }
  return ui::Edit::HandleMessage(msg, wp, lp);
}

void ShowRequestedMessage(HWND owner, const MessageRequest& message) {
  ui::Message box;
  switch (message.kind) {
    case MessageKind::Error: box.kind = ui::Message::Kind::Error; break;
    case MessageKind::Information: box.kind = ui::Message::Kind::Information; break;
    case MessageKind::GeneralError: box.kind = ui::Message::Kind::Stop; break;
  }
  box.caption = message.caption;
  box.text = message.text;
  ui::ShowMessageBox(owner, box);
}

LoginWindow::LoginWindow(Dispatch dispatch) : dispatch_(std::move(dispatch)) {}

bool LoginWindow::Build(HICON icon) {
  ui::FormSpec desc;
  desc.caption = text::kLoginCaption;
  desc.bounds = {0, 0, 380, 190};
  desc.toolWindow = true;
  desc.color = ui::clBlack;
  if (!CreateForm(desc)) return false;
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

  const ui::FontSpec verdana = ui::VerdanaBold(12);
  group_.Create(hwnd(), ids::kLoginGroup, {10, 8, 352, 140}, text::kLoginGroup);
  group_.SetFont(verdana);
  group_.SetColor(ui::clBlack);
  const HWND g = group_.hwnd();
  label_.Create(g, ids::kLoginLabel, {14, 26, 320, 18}, text::kLoginLabel);
  label_.SetFont(verdana);
  label_.SetColor(ui::clBlack);
  adminpass_.Create(g, ids::kAdminPass, {14, 48, 322, 32});
  adminpass_.SetPasswordChar(L'*');
  adminpass_.SetFont(ui::VerdanaBold(20));
  adminpass_.SetColor(ui::clBlack);
  adminpass_.OnChange = [this] {
    if (model_) model_->view().adminpass = adminpass_.Text();
  };
  adminpass_.OnReturn = [this] { dispatch_([this] { return model_->OveritKodClicked(); }); };

  konecBut_.Create(g, ids::kKonecBut, {14, 92, 120, 34}, std::string(text::kKonecBut));
  konecBut_.SetColor(ui::clRed);
  konecBut_.SetFont(ui::VerdanaBold(12));
  konecBut_.OnClick = [this](widgets::ColorButtonModel&) {
    dispatch_([this] { return model_->KonecClicked(); });
  };
  overitKodBut_.Create(g, ids::kOveritKodBut, {196, 92, 140, 34}, std::string(text::kOveritKodBut));
  overitKodBut_.SetColor(ui::MakeColor(0, 100, 0));
  overitKodBut_.SetFont(ui::VerdanaBold(12));
  overitKodBut_.OnClick = [this](widgets::ColorButtonModel&) {
    dispatch_([this] { return model_->OveritKodClicked(); });
  };
  // The close box ends the program as "Konec" does.
  OnClose = [this] { dispatch_([this] { return model_->KonecClicked(); }); };
  return true;
}

void LoginWindow::Bind(LoginWindowModel& model) {
  model_ = &model;
  Mirror();
}

void LoginWindow::Mirror() {
  if (!model_) return;
  const std::string& typed = model_->view().adminpass;
  if (adminpass_.Text() != typed) adminpass_.SetText(typed);
}

}  // namespace sentavo::admin
