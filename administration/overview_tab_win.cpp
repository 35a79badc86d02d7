// "Přehled" of the code-management window: the list of PCs, their actions and the refresh.
#include "administration/admin_ids.h"
#include "administration/admin_texts.h"
#include "administration/admin_windows_win.h"
#include "ui/input_dialog_win.h"

namespace sentavo::admin {
namespace {

// The list re-reads the folder this often, whether or not its notification fired.
constexpr unsigned kRefreshMs = 2000;
// How often the folder's notification is looked at: a change shows within this.
constexpr unsigned kWatchMs = 250;

const ui::TColor kUnavailableText = ui::MakeColor(150, 150, 150);
const ui::TColor kGuestText = ui::MakeColor(120, 230, 120);

ui::FontSpec Plain(int height, ui::TColor color = ui::clWhite) {
  ui::FontSpec font = ui::VerdanaBold(height, color);
  font.bold = false;
  return font;
}

}  // namespace

void CodeWindow::BuildOverviewTab(HWND page, int width, int height) {
  const int buttons = 46, info = 40;
  const int listHeight = height - buttons - info;
  // The font first: the column headers take their widths from the font they were made with.
  prehled_.SetFont(Plain(12));
  prehled_.Create(page, ids::kPrehled, {0, 0, width, listHeight},
                  {{std::string(text::kColPocitac), 90},
                   {std::string(text::kColStav), 90},
                   {std::string(text::kColKod), 70},
                   {std::string(text::kColZbyva), 64},
                   {std::string(text::kColOd), 70},
                   {std::string(text::kColPosledniHlaseni), 126},
                   {std::string(text::kColOchrana), 62}});
  prehled_.SetColors(ui::clBlack, ui::clWhite);
  prehled_.SetRowColor([this](int row) -> std::optional<ui::TColor> {
    const CodeWindowModel* model = binder_.model();
    if (!model || row < 0) return std::nullopt;
    const auto& rows = model->view().overview.rows;
    if (static_cast<std::size_t>(row) >= rows.size()) return std::nullopt;
    const std::string& state = rows[static_cast<std::size_t>(row)].stav;
    if (state == text::kStateUnavailable) return kUnavailableText;
    if (state == text::kStateGuest) return kGuestText;
    return std::nullopt;
  });
  // The mirror's own selections are not passed on.
  binder_.BindValue(prehled_.OnSelect, &CodeWindowModel::OnPrehledSelected,
                    [this] { return ui::Binder<CodeWindowModel>::IndexOf(prehled_.ItemIndex()); });
  prehled_.OnContextMenu = [this](POINT at) { ShowOverviewMenu(at); };

  prikazInfo_.Create(page, ids::kPrikazInfo, {8, listHeight + 4, width - 16, info - 6});
  prikazInfo_.SetFont(Plain(11));
  prikazInfo_.SetColor(ui::clBlack);
  prikazInfo_.SetWordWrap(true);

  const int y = height - buttons + 6;
  zamknout_.Create(page, ids::kZamknout, {8, y, 140, 34}, std::string(text::kZamknout));
  pridatCas_.Create(page, ids::kPridatCas, {156, y, 140, 34}, std::string(text::kPridatCas));
  zprava_.Create(page, ids::kZprava, {304, y, 140, 34}, std::string(text::kZprava));
  for (widgets::TColorButton* b : {&zamknout_, &pridatCas_, &zprava_}) {
    b->SetColor(ui::clNavy);
    b->SetFont(ui::VerdanaBold(12));
    b->SetEnabled(false);
  }
  binder_.Bind(zamknout_, &CodeWindowModel::OnZamknout);
  pridatCas_.OnClick = [this](widgets::ColorButtonModel&) { AskMinutes(); };
  zprava_.OnClick = [this](widgets::ColorButtonModel&) { AskMessage(); };

  prehledMenu_.Add(std::string(text::kZamknout),
                   [this] { binder_.Run(&CodeWindowModel::OnZamknout); });
  prehledMenu_.Add(std::string(text::kPridatCas), [this] { AskMinutes(); });
  prehledMenu_.Add(std::string(text::kZprava), [this] { AskMessage(); });

  refreshTimer_.OnTimer = [this] { OnRefreshTimer(); };
  refreshTimer_.SetInterval(kRefreshMs);
  watchTimer_.OnTimer = [this] { OnWatchTimer(); };
  watchTimer_.SetInterval(kWatchMs);
}

void CodeWindow::ShowOverviewMenu(POINT screen) {
  const CodeWindowModel* model = binder_.model();
  const bool enabled = model && model->view().overview.actionsEnabled;
  for (ui::PopupMenu::Item& item : prehledMenu_.Items()) item.enabled = enabled;
  prehledMenu_.Popup(hwnd(), {screen.x, screen.y});
}

void CodeWindow::AskMinutes() {
  ui::InputDialogSpec request;
  request.caption = text::kAddTimeCaption;
  request.prompt = text::kAddTimePrompt;
  request.okCaption = text::kDialogOk;
  request.cancelCaption = text::kDialogCancel;
  request.promptId = ids::kInputPrompt;
  request.editId = ids::kInputEdit;
  request.maxChars = 16;
  if (const auto typed = ui::AskText(hwnd(), request)) {
    binder_.Run(&CodeWindowModel::OnPridatCas, *typed);
  }
}

void CodeWindow::AskMessage() {
  ui::InputDialogSpec request;
  request.caption = text::kMessageCaption;
  request.prompt = text::kMessagePrompt;
  request.okCaption = text::kDialogOk;
  request.cancelCaption = text::kDialogCancel;
  request.promptId = ids::kInputPrompt;
  request.editId = ids::kInputEdit;
  // Room to type past the limit, so that the refusal says why instead of the edit going quiet.
  request.maxChars = 1000;
  if (const auto typed = ui::AskText(hwnd(), request)) {
    binder_.Run(&CodeWindowModel::OnZprava, *typed);
  }
}

void CodeWindow::OnRefreshTimer() {
  const CodeWindowModel* model = binder_.model();
  if (!model || !IsWindowVisible(hwnd())) return;
  binder_.Run(&CodeWindowModel::OnPrehledRefresh);
  // A folder that could not be watched (not there yet, the share away) is tried again here, not
  // at every quick look.
  const std::string& folder = model->view().overview.watchFolder;
  if (!stavWatch_.Active() || stavWatch_.Folder() != folder) stavWatch_.Watch(folder);
}

void CodeWindow::OnWatchTimer() {
  const CodeWindowModel* model = binder_.model();
  if (!model || !IsWindowVisible(hwnd())) return;
  if (stavWatch_.Folder() != model->view().overview.watchFolder) {
    stavWatch_.Close();
    return;
  }
  if (stavWatch_.Changed()) binder_.Run(&CodeWindowModel::OnPrehledRefresh);
}

void CodeWindow::MirrorOverview(const OverviewTab& o) {
  std::vector<ui::ReportListView::Row> rows;
  rows.reserve(o.rows.size());
  for (const OverviewRow& r : o.rows) {
    rows.push_back({r.pocitac, r.stav, r.kod, r.zbyva, r.od, r.posledniHlaseni, r.ochrana});
  }
  prehled_.SetRows(rows);
  prehled_.SetItemIndex(o.selected ? static_cast<int>(*o.selected) : -1);
  for (widgets::TColorButton* b : {&zamknout_, &pridatCas_, &zprava_}) {
    if (b->Enabled() != o.actionsEnabled) b->SetEnabled(o.actionsEnabled);
  }
  if (prikazInfo_.Caption() != o.prikazInfo) prikazInfo_.SetCaption(o.prikazInfo);
}

}  // namespace sentavo::admin
