// "Tisk poukázek…" of "Vytváření kódů": the count, a preview of the first page, and "Tisk…"
// through the system's print dialog. The codes are issued only once a print job has started, so
// a missing printer or a cancelled dialog issues nothing.
#include <windows.h>
// After windows.h, which they need.
#include <cderr.h>
#include <commdlg.h>
#include <winspool.h>

#include "administration/admin_ids.h"
#include "administration/admin_texts.h"
#include "administration/admin_windows_win.h"
#include "administration/voucher_page.h"
#include "formats/wide_win.h"
#include "ui/dialog_template_win.h"
#include "ui/gdi_canvas_win.h"
#include "ui/system_dll_win.h"

namespace sentavo::admin {
namespace {

// Dialog units.
constexpr short kWidth = 200, kHeight = 270;
constexpr short kPreviewTop = 48, kPreviewHeight = 190;

std::string ErrorCode(DWORD error) {
  return "kód chyby " + std::to_string(error);
}

// Whether the system knows of any printer. Asked before the print dialog, which on some systems
// answers a printerless one with a box of its own and on others with nothing at all.
bool AnyPrinter() {
  static const auto enumPrinters =
      ui::SystemFunction<decltype(&EnumPrintersW)>(L"winspool.drv", "EnumPrintersW");
  if (!enumPrinters) return false;
  DWORD needed = 0, count = 0;
  enumPrinters(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed,
               &count);
  return needed > 0;
}

}  // namespace

void CodeWindow::ShowVoucherDialog() {
  ui::TemplateWriter t;
  t.Header(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, kWidth, kHeight,
           Widen(text::kVoucherCaption));
  t.Item(SS_LEFT, 8, 10, 100, 10, ids::kVoucherCountLabel, 0x0082, Widen(text::kVoucherCountLabel));
  t.Item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_NUMBER, 110, 8, 40, 13, ids::kVoucherCount,
         0x0081, L"");
  t.Item(SS_LEFT | SS_NOPREFIX, 8, 28, kWidth - 16, 10, ids::kVoucherInfo, 0x0082, L"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, kWidth - 116, kHeight - 24, 52, 16, IDOK, 0x0080,
         Widen(text::kVoucherTisk));
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, kWidth - 60, kHeight - 24, 52, 16, IDCANCEL, 0x0080,
         Widen(text::kVoucherZavrit));
  t.SetItemCount(5);
  // The press that opened the dialog may still hold the mouse; the dialog must have it.
  ReleaseCapture();
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), hwnd(), VoucherDialogProc,
                          reinterpret_cast<LPARAM>(this));
  voucherPreview_.Destroy();
  binder_.Run(&CodeWindowModel::OnVoucherDialogClosed);
}

INT_PTR CALLBACK CodeWindow::VoucherDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    auto* self = reinterpret_cast<CodeWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
      case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lp);
        self = reinterpret_cast<CodeWindow*>(lp);
        self->voucherDialog_ = dialog;
        RECT box{8, kPreviewTop, kWidth - 8, kPreviewTop + kPreviewHeight};
        MapDialogRect(dialog, &box);
        // An A4 page, as large as the space lets it be.
        const int height = box.bottom - box.top;
        const int width = height * 210 / 297;
        const int left = box.left + (box.right - box.left - width) / 2;
        self->voucherPreview_.Create(dialog, ids::kVoucherPreview, {left, box.top, width, height});
        self->voucherPreview_.OnPaint = [self](ui::Canvas& canvas, ui::Size size) {
          const CodeWindowModel* model = self->binder_.model();
          canvas.SetBrush(ui::clWhite);
          canvas.FillRect({0, 0, size.cx, size.cy});
          if (model) DrawVoucherPage(canvas, size, model->view().vouchers.preview, 0);
          canvas.FrameRect({0, 0, size.cx, size.cy}, ui::clGray);
        };
        const CodeWindowModel* model = self->binder_.model();
        const HWND count = GetDlgItem(dialog, ids::kVoucherCount);
        SendMessageW(count, EM_SETLIMITTEXT, 3, 0);
        if (model) SetWindowTextW(count, Widen(model->view().vouchers.pocet).c_str());
        self->MirrorVoucherDialog();
        SetFocus(count);
        SendMessageW(count, EM_SETSEL, 0, -1);
        return FALSE;  // the focus is set
      }
      case WM_COMMAND:
        if (!self) return FALSE;
        if (LOWORD(wp) == ids::kVoucherCount && HIWORD(wp) == EN_CHANGE) {
          self->binder_.Run(&CodeWindowModel::OnPocetPoukazekChanged,
                            ui::WindowTextOf(reinterpret_cast<HWND>(lp)));
          self->MirrorVoucherDialog();
          return TRUE;
        }
        if (LOWORD(wp) == IDOK) {
          self->PrintVouchers(dialog);
          self->MirrorVoucherDialog();
          return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        }
        return FALSE;
      case WM_DESTROY:
        if (self) self->voucherDialog_ = nullptr;
        return FALSE;
      default: return FALSE;
    }
  } catch (...) {
    ui::ReportException(ui::CurrentExceptionText());
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
}

void CodeWindow::MirrorVoucherDialog() {
  const CodeWindowModel* model = binder_.model();
  if (!model || !voucherDialog_) return;
  const VoucherDialog& v = model->view().vouchers;
  SetWindowTextW(GetDlgItem(voucherDialog_, ids::kVoucherInfo), Widen(v.info).c_str());
  EnableWindow(GetDlgItem(voucherDialog_, IDOK), v.count ? TRUE : FALSE);
  if (voucherPreview_.hwnd()) InvalidateRect(voucherPreview_.hwnd(), nullptr, FALSE);
}

void CodeWindow::PrintVouchers(HWND dialog) {
  // The dialog's DLL is loaded when it is first needed, as for the file dialogs.
  static const auto printDialog =
      ui::SystemFunction<decltype(&PrintDlgW)>(L"comdlg32.dll", "PrintDlgW");
  static const auto dialogError =
      ui::SystemFunction<decltype(&CommDlgExtendedError)>(L"comdlg32.dll", "CommDlgExtendedError");
  if (!printDialog) return;
  if (!AnyPrinter()) {
    binder_.Run(&CodeWindowModel::OnPrinterUnavailable, std::string());
    return;
  }
  PRINTDLGW pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = dialog;
  pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
  pd.nCopies = 1;
  if (!printDialog(&pd)) {
    const DWORD error = dialogError ? dialogError() : 0;
    if (error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES) {
      binder_.Run(&CodeWindowModel::OnPrinterUnavailable, std::string());
    } else if (error != 0) {
      binder_.Run(&CodeWindowModel::OnPrinterUnavailable, ErrorCode(error));
    }
    return;  // cancelled: nothing happens
  }
  if (pd.hDevMode) GlobalFree(pd.hDevMode);
  if (pd.hDevNames) GlobalFree(pd.hDevNames);
  const HDC dc = pd.hDC;
  if (!dc) {
    binder_.Run(&CodeWindowModel::OnPrinterUnavailable, std::string());
    return;
  }
  const std::wstring document = Widen(text::kVoucherDocument);
  DOCINFOW doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = document.c_str();
  if (StartDocW(dc, &doc) <= 0) {
    const DWORD error = GetLastError();
    DeleteDC(dc);
    binder_.Run(&CodeWindowModel::OnPrinterUnavailable, ErrorCode(error));
    return;
  }
  binder_.Run(&CodeWindowModel::OnVoucherPrint);
  const CodeWindowModel* model = binder_.model();
  const VoucherSheet sheet = model ? model->view().vouchers.printed : VoucherSheet{};
  if (sheet.vouchers.empty()) {
    AbortDoc(dc);
    DeleteDC(dc);
    return;
  }
  const ui::Size page{GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
  std::optional<std::string> failure;
  for (int p = 0; p < VoucherPageCount(sheet) && !failure; ++p) {
    if (StartPage(dc) <= 0) {
      failure = ErrorCode(GetLastError());
      break;
    }
    {
      ui::GdiCanvas canvas(dc);
      DrawVoucherPage(canvas, page, sheet, p);
    }
    if (EndPage(dc) <= 0) failure = ErrorCode(GetLastError());
  }
  if (!failure && EndDoc(dc) <= 0) failure = ErrorCode(GetLastError());
  if (failure) AbortDoc(dc);
  DeleteDC(dc);
  binder_.Run(&CodeWindowModel::OnVouchersPrinted, failure);
}

}  // namespace sentavo::admin
