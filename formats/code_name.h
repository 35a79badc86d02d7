// Which code names may become file names in the shared folder.
#pragma once

#include <string_view>

namespace sentavo {

// CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9 (and CONIN$, CONOUT$), in any letter case, alone or
// followed by an extension: Windows opens the device, not a file, whatever the folder.
bool IsWindowsDeviceName(std::string_view name);

// A name the administration program may write as "<name>.dat": not empty, none of \ / : * ? " < > |
// or control characters, not ending in a space or a point, not "." or "..", not a device name.
bool IsIssuableCodeName(std::string_view name);

}  // namespace sentavo
