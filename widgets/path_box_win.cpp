#include "widgets/path_box_win.h"

#include <commctrl.h>

#include "formats/wide_win.h"

namespace sentavo::widgets {

TBUCustomBox::TBUCustomBox(ui::Component* owner, std::string name)
    : ui::Window(owner, std::move(name)) {}

TBUCustomBox::~TBUCustomBox() {
  Destroy();
}

bool TBUCustomBox::Create(HWND parent, int id, const ui::Bounds& bounds) {
  ui::WindowSpec desc = ui::WindowSpec::Child(parent, id, bounds, WS_CLIPCHILDREN);
  desc.className = L"SentavoPathBox";
  desc.exStyle = WS_EX_CONTROLPARENT;
  if (!ui::Window::Create(desc)) return false;
  const BoxLayout layout = LayoutBox(bounds.width, bounds.height, position_);
  const ui::Rect e = layout.edit, b = layout.button;
  if (!edit_.Create(hwnd(), kBoxEditId, {e.left, e.top, e.Width(), e.Height()})) return false;
  if (!button_.Create(hwnd(), kBoxButtonId, {b.left, b.top, b.Width(), b.Height()})) return false;
  button_.SetNumGlyphs(1);
  button_.OnClick = [this](ColorButtonModel&) { Browse(); };
  edit_.OnEnter = [this] {
    if (OnEnter && !Inside(edit_.FocusPeer())) OnEnter();
  };
  edit_.OnExit = [this] {
    if (OnExit && !Inside(edit_.FocusPeer())) OnExit();
  };
  edit_.OnKeyDown = [this](WORD vk) { return OnKeyDown && OnKeyDown(vk); };
  return true;
}

bool TBUCustomBox::Inside(HWND other) const {
  return other && (other == hwnd() || IsChild(hwnd(), other));
}

void TBUCustomBox::SetButtonPosition(TPosition position) {
  position_ = position;
  Layout();
}

void TBUCustomBox::SetButtonIsFlat(bool flat) {
  flat_ = flat;
  button_.SetBorderStyle(flat ? TBorderStyle::bsFlat : TBorderStyle::bsNormal);
}

void TBUCustomBox::SetPicture(const ui::PixelImage& picture) {
  button_.SetGlyph(picture);
}

void TBUCustomBox::Layout() {
  if (!hwnd()) return;
  const ui::Size size = ClientSize();
  const BoxLayout layout = LayoutBox(size.cx, size.cy, position_);
  const ui::Rect e = layout.edit, b = layout.button;
  edit_.SetBounds({e.left, e.top, e.Width(), e.Height()});
  button_.SetBounds({b.left, b.top, b.Width(), b.Height()});
}

void TBUCustomBox::SetHintEdit(const std::string& hint) {
  hintEdit_ = hint;
  UpdateTips();
}

void TBUCustomBox::SetHintButton(const std::string& hint) {
  hintButton_ = hint;
  UpdateTips();
}

void TBUCustomBox::UpdateTips() {
  if (!hwnd()) return;
  if (!tips_) {
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(),
                            nullptr, ui::ModuleInstance(), nullptr);
  }
  if (!tips_) return;
  for (auto [target, text] :
       {std::pair{edit_.hwnd(), &hintEdit_}, {button_.hwnd(), &hintButton_}}) {
    std::wstring w = Widen(*text);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(target);
    ti.lpszText = w.data();
    SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    if (!w.empty()) SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

LRESULT TBUCustomBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE: Layout(); return 0;
    case WM_ERASEBKGND: return 1;  // the edit field and the button cover the box
    case WM_SETFOCUS: edit_.Focus(); return 0;
    case WM_DESTROY:
      if (tips_) DestroyWindow(tips_);
      tips_ = nullptr;
      break;
    default: break;
  }
  return ui::Window::HandleMessage(msg, wp, lp);
}

namespace {

HWND RootOf(const ui::Window& w) {
  return w.hwnd() ? GetAncestor(w.hwnd(), GA_ROOT) : nullptr;
}

}  // namespace

TBUDirectoryBox::TBUDirectoryBox(ui::Component* owner, std::string name)
    : TBUCustomBox(owner, std::move(name)),
      dialogs_([this] { return RootOf(*this); }),
      select_(*new TBUSelectDirectory(this, dialogs_)) {}

bool TBUDirectoryBox::Create(HWND parent, int id, const ui::Bounds& bounds) {
  if (!TBUCustomBox::Create(parent, id, bounds)) return false;
  SetPicture(LoadBitmapResource(L"FOLD"));
  return true;
}

void TBUDirectoryBox::Browse() {
  BrowseDirectory(*this, select_, classic_, *this, OnOpened, OnOpenCanceled);
}

TBUFileNameBox::TBUFileNameBox(ui::Component* owner, std::string name)
    : TBUCustomBox(owner, std::move(name)), dialogs_([this] { return RootOf(*this); }) {}

bool TBUFileNameBox::Create(HWND parent, int id, const ui::Bounds& bounds) {
  if (!TBUCustomBox::Create(parent, id, bounds)) return false;
  SetPicture(LoadBitmapResource(L"FILE"));
  return true;
}

void TBUFileNameBox::Browse() {
  BrowseFile(*this, dialogs_, request_, *this, files_, OnOpened, OnOpenCanceld);
}

}  // namespace sentavo::widgets
