#include "administration/admin_ids.h"
#include "administration/admin_texts.h"
#include "administration/admin_windows_win.h"

namespace sentavo::admin {

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

  konecBut_.Create(g, ids::kKonecBut, {14, 92, 120, 34}, std::string(text::kKonecBut));
  konecBut_.SetColor(ui::clRed);
  konecBut_.SetFont(ui::VerdanaBold(12));
  overitKodBut_.Create(g, ids::kOveritKodBut, {196, 92, 140, 34}, std::string(text::kOveritKodBut));
  overitKodBut_.SetColor(ui::MakeColor(0, 100, 0));
  overitKodBut_.SetFont(ui::VerdanaBold(12));

  binder_.Bind(adminpass_, &LoginWindowModel::OnAdminpassChanged);
  binder_.BindEnter(adminpass_, &LoginWindowModel::OnOveritKod);
  binder_.Bind(konecBut_, &LoginWindowModel::OnKonec);
  binder_.Bind(overitKodBut_, &LoginWindowModel::OnOveritKod);
  // The close box ends the program as "Konec" does.
  binder_.BindEvent(OnClose, &LoginWindowModel::OnKonec);
  return true;
}

void LoginWindow::Mirror() {
  const LoginWindowModel* model = binder_.model();
  if (!model) return;
  const std::string& typed = model->view().adminpass;
  if (adminpass_.Text() != typed) adminpass_.SetText(typed);
}

}  // namespace sentavo::admin
