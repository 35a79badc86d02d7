#include "widgets/lcd_display.h"

#include <algorithm>
#include <vector>

namespace sentavo::widgets {

struct LcdDisplayModel::PaintPass {
  LcdPaintHost& host;
  ui::Canvas& canvas;
  const LcdLayout& layout;
  bool buffered;
  std::uint32_t start;
};

int AnimationSegment(int animation, int frame) {
  static constexpr int kOrder[6][8] = {
      {1, 2, 3, 8, 4, 5, 6, 7},  // none: drawn at once, in the anDown order
      {8, 4, 2, 1, 3, 6, 7, 5},  // anSpiral
      {7, 6, 5, 8, 4, 3, 2, 1},  // anUp
      {1, 2, 3, 8, 4, 5, 6, 7},  // anDown
      {6, 3, 7, 8, 4, 1, 5, 2},  // anLeft
      {2, 5, 1, 8, 4, 7, 3, 6},  // anRight
  };
  return kOrder[std::clamp(animation, 0, 5)][std::clamp(frame, 1, 8) - 1];
}

void LcdDisplayModel::SetValue(std::string_view text) {
  if (text == value_) return;  // case-sensitive: "locked" over "LOCKED" is a change
  const std::string old = value_;
  value_ = NormalizeLcdValue(text);
  host_.ValueStored(value_);
  if (OnChange) OnChange(*this, old, value_);
  animatePending_ = true;
  host_.RequestRepaint();
}

void LcdDisplayModel::SetAbout(TLCDAbout v) {
  if (v == TLCDAbout::abAbout) {
    host_.ShowAbout({ui::Message::Kind::Information, "About TLcdDisplay",
                     "TLcdDisplay 1.0\nSeven-segment LCD display of Sentavo."});
  }
}

bool LcdDisplayModel::DrawDigits(PaintPass& pass, int animation, int budget, bool incremental,
                                 const LcdCells& current, const LcdCells& previous) {
  const LcdLayout& k = pass.layout;
  const LcdColors colors{onColor_, offColor_};
  for (int i = 1; i <= k.digitNum; ++i) {
    const char point = current.points[static_cast<std::size_t>(i - 1)];
    if (incremental && point == previous.points[static_cast<std::size_t>(i - 1)]) continue;
    painter_.AddPoint(i, point == '.', colors);
  }

  const int elapsed = static_cast<int>(pass.host.NowMs() - pass.start);
  const int d = std::max(0, (budget - elapsed) / 7);
  int carry = 0;
  for (int frame = 1; frame <= 8; ++frame) {
    const std::uint32_t frameStart = pass.host.NowMs();
    const int segment = AnimationSegment(animation, frame);
    for (int i = 1; i <= k.digitNum; ++i) {
      const char c = current.cells[static_cast<std::size_t>(i - 1)];
      if (incremental && c == previous.cells[static_cast<std::size_t>(i - 1)]) continue;
      painter_.AddSegment(i, segment, c, colors);
    }
    // Without pauses the frames add up to one picture, painted at the end of the repaint.
    if (animation == 0 || d <= 0) continue;
    painter_.Flush(pass.canvas);
    if (pass.buffered) pass.host.PresentBuffer();
    if (frame == 8) continue;
    const int target = d - carry;
    int waited = static_cast<int>(pass.host.NowMs() - frameStart);
    while (waited < target) {
      if (!pass.host.ProcessMessages(static_cast<std::uint32_t>(target - waited))) return false;
      waited = static_cast<int>(pass.host.NowMs() - frameStart);
    }
    carry = std::min(d, waited - target);
  }
  return true;
}

bool LcdDisplayModel::Paint(LcdPaintHost& host, int width, int height) {
  if (isPainting_) return true;
  isPainting_ = true;
  const std::uint32_t start = host.NowMs();
  // The value drawn by this repaint; one written while the animation pauses comes after it.
  const std::string drawn = value_;

  bool buffered = doubleBuffer_;
  ui::Canvas* canvas = &host.WindowCanvas();
  if (buffered) {
    if (ui::Canvas* buffer = host.CreateBuffer(width, height)) {
      canvas = buffer;
    } else {
      host.FreeBuffer();
      buffered = false;
    }
  }
  canvas->SetBrush(color_);
  canvas->FillRect({0, 0, width, height});

  int animation = static_cast<int>(animation_);
  if (animation_ == TLCDAnimation::anRandom) animation = 1 + host.RandomBelow(5);

  if (const LcdLayout* layout = painter_.Prepare(params_, width, height)) {
    PaintPass pass{host, *canvas, *layout, buffered, start};
    const int n = params_.digitNum;
    const LcdCells blank = PadCells({}, n);
    const LcdCells previous = PadCells(SplitPoints(prevValue_), n);
    if (drawn.empty()) {
      if (!DrawDigits(pass, animatePending_ ? animation : 0, animatePending_ ? animationDelay_ : 0,
                      false, blank, previous)) {
        return false;
      }
    } else {
      if (!DrawDigits(pass, 0, 0, false, previous, blank)) return false;
      const LcdCells current = PadCells(SplitPoints(drawn), n);
      const int spent = static_cast<int>(host.NowMs() - start);
      if (!DrawDigits(pass, animatePending_ ? animation : 0,
                      animatePending_ ? std::max(0, animationDelay_ - spent) : 0, true, current,
                      previous)) {
        return false;
      }
    }
    painter_.Flush(*canvas);
  }
  prevValue_ = drawn;
  if (buffered) {
    host.PresentBuffer();
    host.FreeBuffer();
  }
  animatePending_ = false;
  isPainting_ = false;
  paintDuration_ = host.NowMs() - start;
  if (value_ != drawn) host_.RequestRepaint();
  return true;
}

}  // namespace sentavo::widgets
