#include "widgets/picture.h"

#include <string>

namespace sentavo::widgets {

PictureKind PictureKindOf(std::string_view fileName) {
  const std::size_t dot = fileName.find_last_of('.');
  const std::size_t sep = fileName.find_last_of("\\/");
  if (dot == std::string_view::npos || (sep != std::string_view::npos && dot < sep)) {
    return PictureKind::Unknown;
  }
  std::string ext(fileName.substr(dot + 1));
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (ext == "bmp") return PictureKind::Bitmap;
  if (ext == "ico") return PictureKind::Icon;
  if (ext == "wmf") return PictureKind::Wmf;
  if (ext == "emf") return PictureKind::Emf;
  if (ext == "jpg" || ext == "jpeg") return PictureKind::Jpeg;
  if (ext == "png") return PictureKind::Png;
  return PictureKind::Unknown;
}

ui::Rect FitPicture(ui::Size picture, const ui::Rect& box, PictureFit fit) {
  const int bw = box.Width(), bh = box.Height();
  switch (fit) {
    case PictureFit::Normal:
      return {box.left, box.top, box.left + picture.cx, box.top + picture.cy};
    case PictureFit::Center: {
      const int x = box.left + (bw - picture.cx) / 2, y = box.top + (bh - picture.cy) / 2;
      return {x, y, x + picture.cx, y + picture.cy};
    }
    case PictureFit::Stretch: return box;
    case PictureFit::Proportional: {
      if (picture.cx <= 0 || picture.cy <= 0) return {box.left, box.top, box.left, box.top};
      // The larger scale that still fits, compared without rounding: w/pw <= h/ph.
      int w, h;
      if (static_cast<long long>(bw) * picture.cy <= static_cast<long long>(bh) * picture.cx) {
        w = bw;
        h = static_cast<int>(static_cast<long long>(bw) * picture.cy / picture.cx);
      } else {
        h = bh;
        w = static_cast<int>(static_cast<long long>(bh) * picture.cx / picture.cy);
      }
      const int x = box.left + (bw - w) / 2, y = box.top + (bh - h) / 2;
      return {x, y, x + w, y + h};
    }
  }
  return box;
}

}  // namespace sentavo::widgets
