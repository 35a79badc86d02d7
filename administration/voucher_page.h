// One page of printed vouchers on any canvas: the preview in SentavoAdmin, the printer and the
// tests all draw it with this one function, in the canvas's own pixels.
#pragma once

#include <vector>

#include "formats/voucher_sheet.h"
#include "ui/canvas.h"

namespace sentavo::admin {

// The ten slips of a page of `page` pixels, by rows of two, top to bottom.
std::vector<ui::Rect> SlipRects(ui::Size page);

// The largest font of `base`'s face, at most `base.height`, in which `text` fits `width` on one
// line; never below 4 pixels.
ui::FontSpec FittedFont(ui::Canvas& canvas, ui::FontSpec base, std::string_view text, int width);

// Page `pageIndex` (from 0) of the sheet; nothing for a page past the last.
void DrawVoucherPage(ui::Canvas& canvas, ui::Size page, const VoucherSheet& sheet, int pageIndex);

}  // namespace sentavo::admin
