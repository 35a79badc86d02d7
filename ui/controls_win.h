// Wrappers of the standard controls both programs use. Each is created in a parent with a control
// ID and raises typed events (std::function members, optional like the forms' events); colours and
// fonts are set on the control itself.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/canvas.h"
#include "ui/gdi_win.h"
#include "ui/window_win.h"

namespace sentavo::ui {

// An HFONT made from a FontSpec and kept with it.
class Font {
 public:
  Font() = default;
  explicit Font(const FontSpec& desc);
  HFONT get() const { return handle_.get(); }
  const FontSpec& Description() const { return spec_; }

 private:
  FontSpec spec_;
  FontHandle handle_;
};

// The fonts the forms name: Verdana bold in white on the dark windows, "Courier New" for lists.
FontSpec VerdanaBold(int height, TColor color = clWhite);
FontSpec CourierNew(int height, TColor color = clWhite);
// The standard dialog font of the system.
FontSpec DefaultFont();

// Base of the system-control wrappers: font, text and background colours, focus events.
class Control : public Window {
 public:
  using Window::Window;
  using KeyEvent = std::function<bool(WORD virtualKey)>;  // true: handled, not passed on

  // The font, with its colour as the text colour.
  void SetFont(const FontSpec& desc);
  const FontSpec& GetFont() const { return font_.Description(); }
  void SetTextColor(TColor color);
  // The background behind the text; nothing set keeps the system's.
  void SetColor(TColor color);

  // The keyboard focus came from, or went to, another control of the same form. A form that is
  // merely deactivated and activated again raises neither, as the forms have always done.
  std::function<void()> OnEnter;
  std::function<void()> OnExit;
  KeyEvent OnKeyDown;
  // The other window of the last focus change (where the focus came from or went to).
  HWND FocusPeer() const { return focusPeer_; }

 protected:
  bool CreateSystem(HWND parent, const wchar_t* className, int id, const Bounds& bounds,
                    DWORD style, DWORD exStyle = 0, std::string_view text = {});
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  // WM_COMMAND notification codes and WM_NOTIFY headers about this control.
  virtual void OnCommand(WORD /*code*/) {}
  const std::optional<TColor>& BackgroundColor() const { return color_; }
  const std::optional<TColor>& TextColor() const { return textColor_; }
  HFONT FontHandle() const { return font_.get(); }
  virtual bool OnNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }

 private:
  bool SameForm(HWND other) const;
  Font font_;
  HWND focusPeer_ = nullptr;
  std::optional<TColor> textColor_;
  std::optional<TColor> color_;
  SolidBrushCache brush_;
};

class Edit : public Control {
 public:
  using Control::Control;
  bool Create(HWND parent, int id, const Bounds& bounds, DWORD extraStyle = 0);
  // Every character shown as `ch` ("*" for passwords); 0 shows the text.
  void SetPasswordChar(wchar_t ch);
  void SetReadOnly(bool readOnly);
  bool ReadOnly() const;
  void SetMaxLength(int chars);
  void SelectAll();

  std::function<void()> OnChange;
  // Enter typed into the edit, from the keyboard or as a character sent by a program. Set, it
  // takes Enter for the edit instead of leaving it to the dialog keys (where it would click
  // nothing, or only beep).
  std::function<void()> OnEnterKey;

 protected:
  void OnCommand(WORD code) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

class Button : public Control {
 public:
  using Control::Control;
  bool Create(HWND parent, int id, const Bounds& bounds, std::string_view caption,
              bool isDefault = false);
  std::function<void()> OnClick;

 protected:
  void OnCommand(WORD code) override;
};

class CheckBox : public Control {
 public:
  using Control::Control;
  bool Create(HWND parent, int id, const Bounds& bounds, std::string_view caption);
  bool Checked() const;
  void SetChecked(bool checked);  // raises no OnClick
  std::function<void()> OnClick;

 protected:
  void OnCommand(WORD code) override;
};

// A frame with a caption that holds other controls.
class GroupBox : public Control {
 public:
  using Control::Control;
  bool Create(HWND parent, int id, const Bounds& bounds, std::string_view caption);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

class ListBox : public Control {
 public:
  using Control::Control;
  bool Create(HWND parent, int id, const Bounds& bounds);
  int Add(std::string_view item);
  void Delete(int index);
  void Clear();
  // Replaces every item at once, drawing only when done: for lists of many thousand names.
  void SetItems(const std::vector<std::string>& items);
  int Count() const;
  std::string Item(int index) const;
  std::vector<std::string> Items() const;
  int ItemIndex() const;  // -1: none
  void SetItemIndex(int index);

  std::function<void()> OnSelect;
  std::function<void()> OnDblClick;

 protected:
  void OnCommand(WORD code) override;
};

// A drop-down list: a choice among fixed items, no free text.
class ComboBox : public Control {
 public:
  using Control::Control;
  bool Create(HWND parent, int id, const Bounds& bounds,
              const std::vector<std::string>& items = {});
  int Add(std::string_view item);
  int Count() const;
  int ItemIndex() const;  // -1: none chosen
  void SetItemIndex(int index);
  std::string SelectedText() const;

  std::function<void()> OnChange;

 protected:
  void OnCommand(WORD code) override;
};

// Paints, into `dc` of window `self`, what lies behind it: the parent's background and the
// siblings below it that paint for their siblings (pictures, labels, bevels, link labels).
// Transparent controls start with it.
void PaintBehind(HWND self, HDC dc);
// A window of ours answers this message (wParam: DC) by painting itself as its siblings see it.
inline constexpr UINT kPaintForSibling = WM_APP + 0x3A0;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// A text drawn by itself: colour, font, transparent or opaque, left/right/centred, wrapped or not.
class Label : public Window {
 public:
  using Window::Window;
  bool Create(HWND parent, int id, const Bounds& bounds, std::string_view caption = {});
  void SetCaption(std::string_view caption);
  std::string Caption() const { return Text(); }
  void SetFont(const FontSpec& desc);
  const FontSpec& GetFont() const { return font_.Description(); }
  void SetColor(TColor background);
  void SetTransparent(bool transparent);
  bool Transparent() const { return transparent_; }
  void SetAlignment(TAlignment alignment);
  void SetWordWrap(bool wrap);
  // Sizes the label to its text (single line) whenever the text or font changes.
  void SetAutoSize(bool autoSize);

  std::function<void()> OnClick;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc);
  void FitToText();
  Font font_{DefaultFont()};
  TColor color_ = clBtnFace;
  bool transparent_ = false;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool wordWrap_ = false;
  bool autoSize_ = false;
  bool pressed_ = false;
};

enum class TBevelStyle { bsLowered, bsRaised };

// A sunken or raised frame drawn over whatever is behind it.
class Bevel : public Window {
 public:
  using Window::Window;
  bool Create(HWND parent, int id, const Bounds& bounds,
              TBevelStyle style = TBevelStyle::bsLowered);
  void SetStyle(TBevelStyle style);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PaintTo(HDC dc);
  TBevelStyle style_ = TBevelStyle::bsLowered;
};

// A surface that its owner draws on the canvas interface, painted through an off-screen buffer so
// that a redraw never flickers.
class PaintBox : public Window {
 public:
  using Window::Window;
  bool Create(HWND parent, int id, const Bounds& bounds);
  std::function<void(Canvas& canvas, Size size)> OnPaint;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PaintTo(HDC dc);
};

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

// A plain container in a colour of its own, with an optional sunken or raised edge.
class Panel : public Window {
 public:
  using Window::Window;
  bool Create(HWND parent, int id, const Bounds& bounds, TPanelBevel outer = TPanelBevel::bvNone);
  void SetColor(TColor color);
  TColor Color() const { return color_; }
  void SetBevelOuter(TPanelBevel bevel);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void PaintBackground(HDC dc);

 private:
  TColor color_ = clBtnFace;
  TPanelBevel bevel_ = TPanelBevel::bvNone;
};

}  // namespace sentavo::ui
