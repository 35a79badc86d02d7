// TLcdDisplay without its window: the properties with their repaint rules, the value, and the
// repaint with its digit pass and reveal animations, painted through an LcdPaintHost so that the
// whole of it runs in the tests with a fake clock.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/canvas.h"
#include "ui/messages.h"
#include "widgets/lcd_geometry.h"
#include "widgets/lcd_painter.h"

namespace sentavo::widgets {

enum class TLCDAnimation { anNone, anSpiral, anUp, anDown, anLeft, anRight, anRandom };
enum class TLCDAbout { abNone, abAbout };

// What a repaint needs from the window around it.
class LcdPaintHost {
 public:
  virtual ~LcdPaintHost() = default;
  virtual ui::Canvas& WindowCanvas() = 0;
  // An off-screen canvas of the given size, or nullptr when none can be made.
  virtual ui::Canvas* CreateBuffer(int width, int height) = 0;
  // Copies the off-screen picture to the window.
  virtual void PresentBuffer() = 0;
  virtual void FreeBuffer() = 0;
  virtual std::uint32_t NowMs() = 0;
  // Handles the application's pending messages, waiting at most `ms` for one to arrive. False
  // when one of them destroyed the display: the model went with it, so the repaint returns at
  // once and touches nothing of it, not even to say that it has finished.
  [[nodiscard]] virtual bool ProcessMessages(std::uint32_t ms) = 0;
  // 0 to n - 1.
  virtual int RandomBelow(int n) = 0;
};

// What the display asks of the window that owns it, outside a repaint.
class LcdDisplayHost {
 public:
  virtual ~LcdDisplayHost() = default;
  // The picture is out of date: repaint when the application is idle.
  virtual void RequestRepaint() = 0;
  // The stored value changed (the window shows it as its text).
  virtual void ValueStored(const std::string& value) = 0;
  // The information about the component, for a person to read and confirm.
  virtual void ShowAbout(const ui::Message& about) = 0;
};

class LcdDisplayModel {
 public:
  using TLCDChangeProc = std::function<void(LcdDisplayModel& sender, const std::string& oldValue,
                                            const std::string& newValue)>;

  explicit LcdDisplayModel(LcdDisplayHost& host) : host_(host) {}
  LcdDisplayModel(const LcdDisplayModel&) = delete;
  LcdDisplayModel& operator=(const LcdDisplayModel&) = delete;

  const std::string& Value() const { return value_; }
  void SetValue(std::string_view text);

  int DigitNum() const { return params_.digitNum; }
  void SetDigitNum(int v) { SetAndRepaint(params_.digitNum, v); }
  int DigitSpacing() const { return params_.digitSpacing; }
  void SetDigitSpacing(int v) { SetAndRepaint(params_.digitSpacing, v); }
  int SegmentSize() const { return params_.segmentSize; }
  void SetSegmentSize(int v) { SetAndRepaint(params_.segmentSize, v); }
  int GapX() const { return params_.gapX; }
  void SetGapX(int v) { SetAndRepaint(params_.gapX, v); }
  int GapY() const { return params_.gapY; }
  void SetGapY(int v) { SetAndRepaint(params_.gapY, v); }
  bool DotDisplay() const { return params_.dotDisplay; }
  void SetDotDisplay(bool v) { SetAndRepaint(params_.dotDisplay, v); }
  int DotSpacing() const { return params_.dotSpacing; }
  void SetDotSpacing(int v) { SetAndRepaint(params_.dotSpacing, v); }
  ui::TColor OnColor() const { return onColor_; }
  void SetOnColor(ui::TColor v) { SetAndRepaint(onColor_, v); }
  ui::TColor OffColor() const { return offColor_; }
  void SetOffColor(ui::TColor v) { SetAndRepaint(offColor_, v); }
  bool DoubleBuffer() const { return doubleBuffer_; }
  void SetDoubleBuffer(bool v) { SetAndRepaint(doubleBuffer_, v); }
  bool Preview() const { return preview_; }
  void SetPreview(bool v) { SetAndRepaint(preview_, v); }
  // The background.
  ui::TColor Color() const { return color_; }
  void SetColor(ui::TColor v) { SetAndRepaint(color_, v); }

  // Only stored: they act on the next change of the value.
  TLCDAnimation Animation() const { return animation_; }
  void SetAnimation(TLCDAnimation v) { animation_ = v; }
  int AnimationDelay() const { return animationDelay_; }
  void SetAnimationDelay(int v) { animationDelay_ = v; }

  TLCDAbout About() const { return TLCDAbout::abNone; }
  // abAbout shows an information message with the component's name and version; the property
  // stays abNone.
  void SetAbout(TLCDAbout v);

  bool IsPainting() const { return isPainting_; }
  std::uint32_t PaintDuration() const { return paintDuration_; }
  // What the last completed repaint drew, and whether the next one reveals a new value.
  const std::string& PrevValue() const { return prevValue_; }
  bool AnimatePending() const { return animatePending_; }

  const LcdParams& Params() const { return params_; }

  // False when the display was destroyed while the reveal paused: the caller, too, must then
  // leave the display alone.
  [[nodiscard]] bool Paint(LcdPaintHost& host, int width, int height);

  TLCDChangeProc OnChange;

 private:
  struct PaintPass;
  template <class T>
  void SetAndRepaint(T& field, T v) {
    if (field == v) return;
    field = v;
    host_.RequestRepaint();
  }
  // False when the display was destroyed during a pause (see Paint).
  [[nodiscard]] bool DrawDigits(PaintPass& pass, int animation, int budget, bool incremental,
                                const LcdCells& current, const LcdCells& previous);

  LcdDisplayHost& host_;
  std::string value_;
  LcdParams params_;
  ui::TColor onColor_ = ui::MakeColor(0, 255, 0);
  ui::TColor offColor_ = ui::clBlack;
  ui::TColor color_ = ui::clBlack;
  bool doubleBuffer_ = true;
  bool preview_ = false;
  TLCDAnimation animation_ = TLCDAnimation::anNone;
  int animationDelay_ = 0;
  bool isPainting_ = false;
  std::uint32_t paintDuration_ = 0;
  std::string prevValue_;
  bool animatePending_ = false;
  LcdPainter painter_;
};

// The segment drawn in each of the eight frames of animation number 0 to 5.
int AnimationSegment(int animation, int frame);

}  // namespace sentavo::widgets
