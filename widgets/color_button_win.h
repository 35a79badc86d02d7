// TColorButton: the colour button as a child window of its own. It never takes the keyboard
// focus and holds the mouse from a press to the release; its window text is its caption.
#pragma once

#include <functional>

#include "ui/window_win.h"
#include "widgets/color_button.h"

namespace sentavo::widgets {

class TColorButton : public ui::Window, public ColorButtonModel {
 public:
  explicit TColorButton(ui::Component* owner = nullptr, std::string name = {});
  ~TColorButton() override;
  // A new button is 75 x 25 pixels.
  bool Create(HWND parent, int id, const ui::Bounds& bounds = {0, 0, 75, 25},
              const std::string& caption = {});

  void SetCaption(const std::string& caption);
  void SetEnabled(bool enabled);
  bool Enabled() const { return ColorButtonModel::Enabled(); }
  // Paints the whole button into `dc` as a repaint would (for printing and tests).
  void PaintTo(HDC dc);

  bool DialogChar(char32_t ch) override { return ColorButtonModel::DialogChar(ch); }

  std::function<void()> OnDblClick;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Loaded() override { ColorButtonModel::Loaded(); }

  void Invalidate() override;
  void PaintFrameNow(bool moveContent) override;
  void StartRepeatTimer(std::uint16_t ms) override;
  void StopRepeatTimer() override;
  bool HasMouseCapture() const override;
  std::vector<ColorButtonModel*> Siblings() override;

 private:
  void Press(TMouseButton button, LPARAM lp);
  void Release(TMouseButton button, LPARAM lp);
  bool settingText_ = false;
};

// Glyph bitmaps as the button takes them: a bitmap resource of the program, or any HBITMAP.
ui::PixelImage PixelImageFromBitmap(HBITMAP bitmap);
ui::PixelImage LoadBitmapResource(const wchar_t* name);

}  // namespace sentavo::widgets
