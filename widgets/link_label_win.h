// A label that shows its text as a link (blue, underlined, the hand pointer) with a faint mirrored
// reflection below it, and opens its address with the system's default handler on a mouse press.
#pragma once

#include <functional>
#include <string>

#include "ui/controls_win.h"

namespace sentavo::widgets {

class TLinkLabel : public ui::Window {
 public:
  using Opener = std::function<bool(const std::string& address)>;
  explicit TLinkLabel(ui::Component* owner = nullptr, std::string name = {});
  bool Create(HWND parent, int id, const ui::Bounds& bounds, const std::string& caption,
              const std::string& address);

  void SetCaption(const std::string& caption) { SetText(caption); }
  std::string Caption() const { return Text(); }
  const std::string& Address() const { return address_; }
  void SetAddress(const std::string& address) { address_ = address; }
  void SetFont(const ui::FontSpec& font);  // its colour is the link's colour
  void SetColor(ui::TColor background);
  void SetTransparent(bool transparent);
  void SetReflection(bool reflection);
  // How the address is opened; the system's default handler unless replaced (tests).
  void SetOpener(Opener opener) { opener_ = std::move(opener); }
  bool LastOpenSucceeded() const { return lastOpen_; }

  // After the address was handed to the system, whether or not that worked.
  std::function<void()> OnClick;

  // The system's default handler: ShellExecuteW "open".
  static bool OpenWithSystem(const std::string& address);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void PaintTo(HDC dc);
  void Open();
  std::string address_;
  ui::Font font_;
  ui::TColor color_ = ui::clBlack;
  bool transparent_ = true;
  bool reflection_ = true;
  bool lastOpen_ = false;
  Opener opener_ = OpenWithSystem;
};

}  // namespace sentavo::widgets
