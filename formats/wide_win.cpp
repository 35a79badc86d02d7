#include "formats/wide_win.h"

#include <windows.h>

namespace sentavo {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

SYSTEMTIME ToSystemTime(const DateTime& dt) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(dt.year);
  st.wMonth = static_cast<WORD>(dt.month);
  st.wDay = static_cast<WORD>(dt.day);
  st.wHour = static_cast<WORD>(dt.hour);
  st.wMinute = static_cast<WORD>(dt.minute);
  st.wSecond = static_cast<WORD>(dt.second);
  st.wMilliseconds = static_cast<WORD>(dt.millisecond);
  return st;
}

}  // namespace sentavo
