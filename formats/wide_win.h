// UTF-8 <-> UTF-16 at the Win32 boundary.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "formats/oledate.h"

namespace sentavo {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// A local date-time as the Win32 date and time functions take it.
SYSTEMTIME ToSystemTime(const DateTime& dt);

}  // namespace sentavo
