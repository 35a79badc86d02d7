// Functions of system DLLs that most runs never call, found on their first use. A DLL the program
// imports is loaded, with every DLL it imports in turn, before the program starts: comdlg32 alone
// brings the print spooler and its libraries (about 5 MB under Wine), GDI+ more. Only the system
// folder is searched, so a DLL of that name put beside the program is never loaded.
#pragma once

#include <windows.h>

namespace sentavo::ui {

// The function `name` of the system DLL `dll` as a pointer of type `Fn`; null when either is
// missing. The DLL stays loaded: keep the answer rather than asking again.
template <class Fn>
Fn SystemFunction(const wchar_t* dll, const char* name) {
  const HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace sentavo::ui
