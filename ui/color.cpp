#include "ui/color.h"

namespace sentavo::ui {

TColor ClassicSystemColor(int index) {
  switch (index) {
    case 5: return clWhite;                    // window
    case 8: return clBlack;                    // window text
    case 13: return MakeColor(10, 36, 106);    // highlight
    case 15: return MakeColor(212, 208, 200);  // button face
    case 16: return MakeColor(128, 128, 128);  // button shadow
    case 17: return MakeColor(128, 128, 128);  // grey text
    case 18: return clBlack;                   // button text
    case 20: return clWhite;                   // button highlight
    case 26: return MakeColor(0, 0, 128);      // hot-tracked link
    default: return MakeColor(192, 192, 192);
  }
}

}  // namespace sentavo::ui
