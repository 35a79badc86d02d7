// The picture control: a background picture stretched over its box (bmp, ico, wmf, emf, jpg/jpeg
// by extension), or a PNG with its transparency drawn over whatever lies below it. A picture that
// cannot be read or decoded leaves the one shown before in place and reports the failure.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "ui/controls_win.h"
#include "ui/gdi_win.h"
#include "widgets/picture.h"

namespace sentavo::widgets {

// A decoded picture, ready to draw at any size. One graphic may be shown by several pictures.
class Graphic {
 public:
  virtual ~Graphic() = default;
  virtual ui::Size NaturalSize() const = 0;
  virtual void Draw(HDC dc, const RECT& dest) const = 0;
  // Whether Draw covers every pixel of `dest` with one plain copy: such a picture is drawn straight
  // into the target, with nothing painted below it first and no buffer between.
  virtual bool Opaque() const { return false; }
  // Gets ready to be drawn at `width` x `height`, where that work is better done before the first
  // paint than during it.
  virtual void Prepare(int /*width*/, int /*height*/) const {}
};

// Empty, with the reason in `error`, for a file that cannot be read, an unknown extension, or
// content that does not decode.
std::unique_ptr<Graphic> LoadGraphicFile(const std::string& path, std::string* error = nullptr);
std::unique_ptr<Graphic> DecodeGraphic(std::span<const std::uint8_t> bytes, PictureKind kind,
                                       std::string* error = nullptr);

class PictureBox : public ui::Window {
 public:
  using ui::Window::Window;
  bool Create(HWND parent, int id, const ui::Bounds& bounds);

  // False when the picture could not be loaded; the previous one then stays.
  bool LoadFromFile(const std::string& path, std::string* error = nullptr);
  bool LoadFromMemory(std::span<const std::uint8_t> bytes, PictureKind kind,
                      std::string* error = nullptr);
  // Showing the graphic that is shown already changes nothing.
  void SetGraphic(std::shared_ptr<const Graphic> graphic);
  void Clear();
  bool Empty() const { return !graphic_; }
  const Graphic* GetGraphic() const { return graphic_.get(); }

  void SetFit(PictureFit fit);
  PictureFit Fit() const { return fit_; }
  // Transparent: where the picture leaves room or is see-through, what is behind shows.
  void SetTransparent(bool transparent);
  bool Transparent() const { return transparent_; }
  void SetColor(ui::TColor color);

  // Paints the control into `dc` as a repaint would.
  void PaintTo(HDC dc);
  // Gets the graphic ready to be drawn at the picture's present size (a JPEG background makes its
  // one bitmap there), so that the first paint only copies it.
  void Prepare();

  std::function<void()> OnClick;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Changed();
  std::shared_ptr<const Graphic> graphic_;
  PictureFit fit_ = PictureFit::Stretch;
  bool transparent_ = false;
  ui::TColor color_ = ui::clBtnFace;
  bool pressed_ = false;
};

}  // namespace sentavo::widgets
