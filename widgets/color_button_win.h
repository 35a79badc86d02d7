// TColorButton: the colour button as a child window of its own. It never takes the keyboard
// focus and holds the mouse from a press to the release; its window text is its caption.
#pragma once

#include <functional>

#include "ui/window_win.h"
#include "widgets/color_button.h"

namespace sentavo::widgets {

class TColorButton : public ui::Window, private ColorButtonHost {
 public:
  explicit TColorButton(ui::Component* owner = nullptr, std::string name = {});
  ~TColorButton() override;
  // A new button is 75 x 25 pixels.
  bool Create(HWND parent, int id, const ui::Bounds& bounds = {0, 0, 75, 25},
              const std::string& caption = {});

  // The window text follows the caption, and the window's enabled state the model's.
  const std::string& Caption() const { return model_.Caption(); }
  void SetCaption(const std::string& caption);
  bool Enabled() const { return model_.Enabled(); }
  void SetEnabled(bool enabled);
  // Paints the whole button into `dc` as a repaint would (for printing and tests).
  void PaintTo(HDC dc);

  bool DialogChar(char32_t ch) override { return model_.DialogChar(ch); }

  // The component's other properties, kept by its model.
  ui::TColor Color() const { return model_.Color(); }
  void SetColor(ui::TColor v) { model_.SetColor(v); }
  int ContrastHighlight() const { return model_.ContrastHighlight(); }
  void SetContrastHighlight(int v) { model_.SetContrastHighlight(v); }
  int ContrastShadow() const { return model_.ContrastShadow(); }
  void SetContrastShadow(int v) { model_.SetContrastShadow(v); }
  int BevelWidth() const { return model_.BevelWidth(); }
  void SetBevelWidth(int v) { model_.SetBevelWidth(v); }
  TBorderStyle BorderStyle() const { return model_.BorderStyle(); }
  void SetBorderStyle(TBorderStyle v) { model_.SetBorderStyle(v); }
  ui::TColor BorderColor() const { return model_.BorderColor(); }
  void SetBorderColor(ui::TColor v) { model_.SetBorderColor(v); }
  TGradientStyle GradientStyle() const { return model_.GradientStyle(); }
  void SetGradientStyle(TGradientStyle v) { model_.SetGradientStyle(v); }
  TGradDirection GradientDirection() const { return model_.GradientDirection(); }
  void SetGradientDirection(TGradDirection v) { model_.SetGradientDirection(v); }
  bool ChangeDirection() const { return model_.ChangeDirection(); }
  void SetChangeDirection(bool v) { model_.SetChangeDirection(v); }
  bool Down() const { return model_.Down(); }
  void SetDown(bool v) { model_.SetDown(v); }
  bool Grouped() const { return model_.Grouped(); }
  void SetGrouped(bool v) { model_.SetGrouped(v); }
  int GroupIndex() const { return model_.GroupIndex(); }
  void SetGroupIndex(int v) { model_.SetGroupIndex(v); }
  bool AllowAllUp() const { return model_.AllowAllUp(); }
  void SetAllowAllUp(bool v) { model_.SetAllowAllUp(v); }
  bool AllowTimer() const { return model_.AllowTimer(); }
  void SetAllowTimer(bool v) { model_.SetAllowTimer(v); }
  std::uint16_t TimerDelay() const { return model_.TimerDelay(); }
  void SetTimerDelay(std::uint16_t v) { model_.SetTimerDelay(v); }
  std::uint16_t TimerInterval() const { return model_.TimerInterval(); }
  void SetTimerInterval(std::uint16_t v) { model_.SetTimerInterval(v); }
  const ui::PixelImage& Glyph() const { return model_.Glyph(); }
  void SetGlyph(const ui::PixelImage& v) { model_.SetGlyph(v); }
  int NumGlyphs() const { return model_.NumGlyphs(); }
  void SetNumGlyphs(int v) { model_.SetNumGlyphs(v); }
  TButtonLayout Layout() const { return model_.Layout(); }
  void SetLayout(TButtonLayout v) { model_.SetLayout(v); }
  int Margin() const { return model_.Margin(); }
  void SetMargin(int v) { model_.SetMargin(v); }
  int Spacing() const { return model_.Spacing(); }
  void SetSpacing(int v) { model_.SetSpacing(v); }
  int TopMargin() const { return model_.TopMargin(); }
  void SetTopMargin(int v) { model_.SetTopMargin(v); }
  const ui::FontSpec& Font() const { return model_.Font(); }
  void SetFont(const ui::FontSpec& v) { model_.SetFont(v); }
  ui::TColor HighlightColor() const { return model_.HighlightColor(); }
  ui::TColor ShadowColor() const { return model_.ShadowColor(); }

  // The model's events, passed on; their sender is the model.
  ColorButtonModel::TNotifyEvent OnClick;
  ColorButtonModel::TNotifyEvent OnStateChange;
  ColorButtonModel::TMouseEvent OnMouseDown;
  ColorButtonModel::TMouseEvent OnMouseUp;
  std::function<void()> OnDblClick;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Loaded() override { model_.Loaded(); }

 private:
  void RequestRepaint() override;
  void PaintFrameNow(bool moveContent) override;
  void StartRepeatTimer(std::uint16_t ms) override;
  void StopRepeatTimer() override;
  bool HasMouseCapture() const override;
  std::vector<ColorButtonModel*> Siblings() override;

  void Press(TMouseButton button, LPARAM lp);
  void Release(TMouseButton button, LPARAM lp);

  ColorButtonModel model_;
  bool settingText_ = false;
};

// Glyph bitmaps as the button takes them: a bitmap resource of the program, or any HBITMAP.
ui::PixelImage PixelImageFromBitmap(HBITMAP bitmap);
ui::PixelImage LoadBitmapResource(const wchar_t* name);

}  // namespace sentavo::widgets
