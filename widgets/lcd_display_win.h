// TLcdDisplay: the seven-segment display as a child window. Its window text is its Value, so that
// another program can read what it shows.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "ui/gdi_canvas_win.h"
#include "ui/gdi_win.h"
#include "ui/window_win.h"
#include "widgets/lcd_display.h"

namespace sentavo::widgets {

// The off-screen bitmap of the repaints into the window, with the size and colour depth it was
// made for, and the canvas on it (which goes first, putting the bitmap's DC back as it was).
struct KeptBuffer {
  std::optional<ui::OffscreenBuffer> buffer;
  std::optional<ui::GdiCanvas> canvas;
  int width = 0, height = 0, depth = 0;
};

class TLcdDisplay : public ui::Window, private LcdDisplayHost {
 public:
  explicit TLcdDisplay(ui::Component* owner = nullptr, std::string name = {});
  ~TLcdDisplay() override;
  // A new display is 92 x 34 pixels.
  bool Create(HWND parent, int id, const ui::Bounds& bounds = {0, 0, 92, 34});
  // Draws the whole display into `dc` as a repaint would (for printing and tests). False when
  // the display was destroyed during the reveal: the caller must leave it alone.
  [[nodiscard]] bool PaintTo(HDC dc);

  // The component's properties, kept by its model.
  const std::string& Value() const { return model_.Value(); }
  void SetValue(std::string_view text) { model_.SetValue(text); }
  int DigitNum() const { return model_.DigitNum(); }
  void SetDigitNum(int v) { model_.SetDigitNum(v); }
  int DigitSpacing() const { return model_.DigitSpacing(); }
  void SetDigitSpacing(int v) { model_.SetDigitSpacing(v); }
  int SegmentSize() const { return model_.SegmentSize(); }
  void SetSegmentSize(int v) { model_.SetSegmentSize(v); }
  int GapX() const { return model_.GapX(); }
  void SetGapX(int v) { model_.SetGapX(v); }
  int GapY() const { return model_.GapY(); }
  void SetGapY(int v) { model_.SetGapY(v); }
  bool DotDisplay() const { return model_.DotDisplay(); }
  void SetDotDisplay(bool v) { model_.SetDotDisplay(v); }
  int DotSpacing() const { return model_.DotSpacing(); }
  void SetDotSpacing(int v) { model_.SetDotSpacing(v); }
  ui::TColor OnColor() const { return model_.OnColor(); }
  void SetOnColor(ui::TColor v) { model_.SetOnColor(v); }
  ui::TColor OffColor() const { return model_.OffColor(); }
  void SetOffColor(ui::TColor v) { model_.SetOffColor(v); }
  bool DoubleBuffer() const { return model_.DoubleBuffer(); }
  void SetDoubleBuffer(bool v) { model_.SetDoubleBuffer(v); }
  bool Preview() const { return model_.Preview(); }
  void SetPreview(bool v) { model_.SetPreview(v); }
  ui::TColor Color() const { return model_.Color(); }
  void SetColor(ui::TColor v) { model_.SetColor(v); }
  TLCDAnimation Animation() const { return model_.Animation(); }
  void SetAnimation(TLCDAnimation v) { model_.SetAnimation(v); }
  int AnimationDelay() const { return model_.AnimationDelay(); }
  void SetAnimationDelay(int v) { model_.SetAnimationDelay(v); }
  TLCDAbout About() const { return model_.About(); }
  void SetAbout(TLCDAbout v) { model_.SetAbout(v); }
  bool IsPainting() const { return model_.IsPainting(); }
  std::uint32_t PaintDuration() const { return model_.PaintDuration(); }
  const std::string& PrevValue() const { return model_.PrevValue(); }
  bool AnimatePending() const { return model_.AnimatePending(); }
  const LcdParams& Params() const { return model_.Params(); }

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void RequestRepaint() override;
  void ValueStored(const std::string& value) override;
  void ShowAbout(const ui::Message& about) override;

  LcdDisplayModel model_{*this};
  // Expires with the display: a repaint that pumps messages during a reveal checks it after each
  // pause, since a message may have destroyed the display meanwhile.
  std::shared_ptr<const bool> lifetime_ = std::make_shared<const bool>(true);
  // Shared with the repaint on the stack, which may outlive `this` when a reveal's pause
  // destroys the display.
  std::shared_ptr<KeptBuffer> keptBuffer_ = std::make_shared<KeptBuffer>();
  bool pressed_ = false;
  bool missedPaint_ = false;
};

}  // namespace sentavo::widgets
