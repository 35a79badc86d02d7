// Dialog templates built in memory, so that a dialog of ours is a real one (#32770): Enter is its
// default button, Escape cancels, and a test finds its controls by their IDs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace sentavo::ui {

// A dialog template as the system reads it: WORDs, strings in UTF-16, each item on a DWORD.
class TemplateWriter {
 public:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const std::wstring& s) {
    for (wchar_t c : s) Word(static_cast<WORD>(c));
    Word(0);
  }
  void AlignToDword() {
    if (words_.size() % 2) Word(0);
  }
  // An item of a predefined class: 0x0080 button, 0x0081 edit, 0x0082 static.
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
            const std::wstring& text) {
    AlignToDword();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
    Word(id);
    Word(0xFFFF);
    Word(atom);
    Text(text);
    Word(0);  // no creation data
  }
  // The dialog itself, before its items: its style, its size in dialog units, its caption, and
  // the shell's dialog font.
  void Header(DWORD style, short cx, short cy, const std::wstring& caption) {
    Dword(style | DS_SETFONT);
    Dword(0);
    Word(0);  // the item count, set by SetItemCount
    for (short v : {short{0}, short{0}, cx, cy}) Word(static_cast<WORD>(v));
    Word(0);  // no menu
    Word(0);  // the standard dialog class
    Text(caption);
    Word(9);
    Text(L"MS Shell Dlg");
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
  // The count of items sits at byte 8 of the header.
  void SetItemCount(WORD n) { words_[4] = n; }

 private:
  std::vector<WORD> words_;
};

}  // namespace sentavo::ui
