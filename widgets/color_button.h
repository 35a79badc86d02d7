// TColorButton without its window: properties and setter rules, the down state with groups, the
// mouse, repeat and accelerator behaviour, and the painting of face, gradient, glyph, caption,
// frame and bevel on a Canvas.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/canvas.h"
#include "widgets/color_model.h"

namespace sentavo::widgets {

enum class TBorderStyle { bsFlat, bsNormal, bsSingle };
enum class TGradientStyle { gsNone, gsHorizontal, gsPyramid, gsVertical };
enum class TButtonLayout { blGlyphBottom, blGlyphLeft, blGlyphRight, blGlyphTop };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

class ColorButtonModel;

// What the button asks of the window that owns it.
class ColorButtonHost {
 public:
  virtual ~ColorButtonHost() = default;
  // The picture is out of date: repaint when the application is idle.
  virtual void RequestRepaint() = 0;
  // Draws the frame at once on the visible button, moving the content when asked.
  virtual void PaintFrameNow(bool moveContent) = 0;
  // Starts the repeat timer, or changes the interval of a running one.
  virtual void StartRepeatTimer(std::uint16_t ms) = 0;
  virtual void StopRepeatTimer() = 0;
  // Whether the button still holds the mouse from its press.
  virtual bool HasMouseCapture() const = 0;
  // The other buttons with the same parent.
  virtual std::vector<ColorButtonModel*> Siblings() = 0;
};

class ColorButtonModel {
 public:
  using TNotifyEvent = std::function<void(ColorButtonModel& sender)>;
  using TMouseEvent =
      std::function<void(ColorButtonModel& sender, TMouseButton button, int x, int y)>;

  // `resolve` turns system colour codes into colours (the classic scheme when empty).
  explicit ColorButtonModel(ColorButtonHost& host, ColorResolver resolve = {});
  ColorButtonModel(const ColorButtonModel&) = delete;
  ColorButtonModel& operator=(const ColorButtonModel&) = delete;

  // The form has applied every stored property.
  void Loaded();

  ui::TColor Color() const { return color_; }
  void SetColor(ui::TColor v);
  int ContrastHighlight() const { return contrastHighlight_; }
  void SetContrastHighlight(int v);  // 0 to 9, anything else ignored
  int ContrastShadow() const { return contrastShadow_; }
  void SetContrastShadow(int v);  // 0 to 9, anything else ignored
  int BevelWidth() const { return bevelWidth_; }
  // Taken only when at least 0 and less than half the height and half the width.
  void SetBevelWidth(int v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v) { SetAndRepaint(borderStyle_, v); }
  ui::TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(ui::TColor v) { SetAndRepaint(borderColor_, v); }
  TGradientStyle GradientStyle() const { return gradientStyle_; }
  void SetGradientStyle(TGradientStyle v);
  TGradDirection GradientDirection() const { return gradientDirection_; }
  void SetGradientDirection(TGradDirection v);
  bool ChangeDirection() const { return changeDirection_; }
  void SetChangeDirection(bool v) { changeDirection_ = v; }
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool v) { grouped_ = v; }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v) { groupIndex_ = v; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  bool AllowTimer() const { return allowTimer_; }
  void SetAllowTimer(bool v) { allowTimer_ = v; }
  std::uint16_t TimerDelay() const { return timerDelay_; }
  void SetTimerDelay(std::uint16_t v) { timerDelay_ = v; }
  std::uint16_t TimerInterval() const { return timerInterval_; }
  void SetTimerInterval(std::uint16_t v) { timerInterval_ = v; }
  const ui::PixelImage& Glyph() const { return glyph_; }
  void SetGlyph(const ui::PixelImage& v);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);  // 0 to 4, anything else ignored
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v) { SetAndRepaint(layout_, v); }
  int Margin() const { return margin_; }
  void SetMargin(int v) { SetAndRepaint(margin_, v); }
  int Spacing() const { return spacing_; }
  void SetSpacing(int v) { SetAndRepaint(spacing_, v); }
  int TopMargin() const { return topMargin_; }
  void SetTopMargin(int v) { SetAndRepaint(topMargin_, v); }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  const ui::FontSpec& Font() const { return font_; }
  void SetFont(const ui::FontSpec& v);
  bool Enabled() const { return enabled_; }
  // An ungrouped button goes up; then the button repaints.
  void SetEnabled(bool v);

  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetSize(int width, int height);

  ui::TColor HighlightColor() const { return highlight_; }
  ui::TColor ShadowColor() const { return shadow_; }
  const std::array<ui::TColor, 256>& GradientTable() const { return gradient_; }

  // Input, as the window passes it on.
  void MouseDown(TMouseButton button, int x, int y);
  void MouseUp(TMouseButton button, int x, int y);
  // The press ended without a release (the mouse was taken away): the button returns to the state
  // it had before the press, and nothing is clicked.
  void CancelPress();
  void RepeatTimerTick();
  // True when `ch` is this button's accelerator: clicked if enabled, swallowed either way.
  bool DialogChar(char32_t ch);

  void Paint(ui::Canvas& canvas);
  void DrawFrame(ui::Canvas& canvas, bool moveContent);

  TNotifyEvent OnClick;
  TNotifyEvent OnStateChange;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;

 private:
  template <class T>
  void SetAndRepaint(T& field, T v) {
    if (field == v) return;
    field = v;
    host_.RequestRepaint();
  }
  void ComputeEdges();
  void RebuildGradient();
  void PaintGradient(ui::Canvas& canvas);
  ui::TColor GradientEntry(int i) const;

  ColorButtonHost& host_;
  ColorResolver resolve_;
  ui::TColor color_;
  int contrastHighlight_ = 5;
  int contrastShadow_ = 6;
  int bevelWidth_ = 1;
  TBorderStyle borderStyle_ = TBorderStyle::bsNormal;
  ui::TColor borderColor_ = ui::clBlack;
  TGradientStyle gradientStyle_ = TGradientStyle::gsNone;
  TGradDirection gradientDirection_ = TGradDirection::gdDownRight;
  bool changeDirection_ = false;
  bool down_ = false;
  bool grouped_ = false;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool allowTimer_ = false;
  std::uint16_t timerDelay_ = 400;
  std::uint16_t timerInterval_ = 100;
  ui::PixelImage glyph_;
  int numGlyphs_ = 0;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int margin_ = 1;
  int spacing_ = 1;
  int topMargin_ = 0;
  std::string caption_;
  ui::FontSpec font_;
  bool enabled_ = true;
  int width_ = 75;
  int height_ = 25;

  ui::TColor highlight_ = 0;
  ui::TColor shadow_ = 0;
  std::array<ui::TColor, 256> gradient_{};
  bool wasDown_ = false;
  bool pressed_ = false;
};

}  // namespace sentavo::widgets
