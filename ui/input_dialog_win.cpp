#include "ui/input_dialog_win.h"

#include <cstdint>
#include <vector>

#include "formats/wide_win.h"
#include "ui/binding_win.h"
#include "ui/dialog_template_win.h"
#include "ui/window_win.h"

namespace sentavo::ui {
namespace {

struct DialogState {
  const InputDialogSpec* request = nullptr;
  std::string text;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
      case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lp);
        state = reinterpret_cast<DialogState*>(lp);
        const HWND edit = GetDlgItem(dialog, state->request->editId);
        if (state->request->maxChars > 0)
          SendMessageW(edit, EM_SETLIMITTEXT, state->request->maxChars, 0);
        SetFocus(edit);
        return FALSE;  // the focus is set
      }
      case WM_COMMAND:
        if (!state) return FALSE;
        if (LOWORD(wp) == IDOK) {
          state->text = WindowTextOf(GetDlgItem(dialog, state->request->editId));
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        }
        return FALSE;
      default: return FALSE;
    }
  } catch (...) {
    ReportException(CurrentExceptionText());
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
}

}  // namespace

std::optional<std::string> AskText(HWND owner, const InputDialogSpec& request) {
  // Dialog units: 4 a character across, 8 a line down in the dialog's font.
  constexpr short kWidth = 240, kHeight = 74;
  TemplateWriter t;
  t.Header(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, kWidth, kHeight,
           Widen(request.caption));
  t.Item(SS_LEFT, 8, 8, kWidth - 16, 10, static_cast<WORD>(request.promptId), 0x0082,
         Widen(request.prompt));
  t.Item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 8, 22, kWidth - 16, 14,
         static_cast<WORD>(request.editId), 0x0081, L"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, kWidth - 112, 48, 50, 16, IDOK, 0x0080,
         Widen(request.okCaption));
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, kWidth - 58, 48, 50, 16, IDCANCEL, 0x0080,
         Widen(request.cancelCaption));
  t.SetItemCount(4);

  // The press that opened the dialog may still hold the mouse (a button clicks on release); the
  // dialog must have it.
  ReleaseCapture();
  DialogState state{&request, {}};
  const INT_PTR r = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), owner, DialogProc,
                                            reinterpret_cast<LPARAM>(&state));
  if (r != IDOK) return std::nullopt;
  return state.text;
}

}  // namespace sentavo::ui
