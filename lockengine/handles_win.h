// The lock engine keeps window, menu and icon handles as integers; these turn them back.
#pragma once

#include <windows.h>

#include "lockengine/shell_types.h"

namespace sentavo::lockengine {

inline HWND ToHwnd(WindowHandle h) {
  return reinterpret_cast<HWND>(h);
}
inline WindowHandle FromHwnd(HWND h) {
  return reinterpret_cast<WindowHandle>(h);
}
inline HMENU ToHmenu(MenuHandle h) {
  return reinterpret_cast<HMENU>(h);
}
inline HICON ToHicon(IconHandle h) {
  return reinterpret_cast<HICON>(h);
}
inline IconHandle FromHicon(HICON h) {
  return reinterpret_cast<IconHandle>(h);
}

// The caption of the program's own message boxes: the program file's name without extension.
std::wstring ApplicationTitle();
// The running program's full file name, however long.
std::wstring ProgramFileName();

}  // namespace sentavo::lockengine
