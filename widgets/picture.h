// What the picture control decides without Windows: the kind of a picture file by its extension,
// and where a picture goes in its box.
#pragma once

#include <string_view>

#include "ui/geometry.h"

namespace sentavo::widgets {

enum class PictureKind { Unknown, Bitmap, Icon, Wmf, Emf, Jpeg, Png };

// "bmp", "ico", "wmf", "emf", "jpg"/"jpeg" and "png", in any case.
PictureKind PictureKindOf(std::string_view fileName);

enum class PictureFit {
  Normal,        // at its own size, top-left
  Center,        // at its own size, centred
  Stretch,       // filling the box
  Proportional,  // as large as fits, keeping its proportions, centred
};

ui::Rect FitPicture(ui::Size picture, const ui::Rect& box, PictureFit fit);

}  // namespace sentavo::widgets
