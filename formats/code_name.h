// Which code names may become file names in the shared folder, and the code file a name stands for.
#pragma once

#include <string>
#include <string_view>

namespace sentavo {

// CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9 (and CONIN$, CONOUT$), in any letter case, alone or
// followed by an extension: Windows opens the device, not a file, whatever the folder.
bool IsWindowsDeviceName(std::string_view name);

// A name the administration program may write as "<name>.dat": not empty, none of \ / : * ? " < > |
// or control characters, not ending in a space or a point, not "." or "..", not a device name.
bool IsIssuableCodeName(std::string_view name);

// A guest's entry the client may look up as "<name>.dat". It is looser than IsIssuableCodeName
// (a name with "*" simply names no file), but separators, drive and stream colons, control
// characters, "." and ".." would reach a record planted elsewhere, and a device name would open
// the device: such an entry names no code.
bool IsLookupCodeName(std::string_view name);

// How the folder and the name are joined.
enum class FolderJoin {
  // A separator always goes in: a folder that already ends in one gets a doubled separator, which
  // names the same file on Windows. Both programs write and read a code file this way.
  AlwaysSeparator,
  // A separator goes in only when the folder does not already end in one of `separators`.
  SeparatorIfMissing,
};

// The code file of `name` in the shared folder `folder`: folder, separator, name, ".dat".
// `separators` lists what counts as a final separator; its first character is the one added.
std::string CodeFilePath(std::string_view folder, std::string_view name, FolderJoin join,
                         std::string_view separators = "\\");

// Whether `path` is exactly what CodeFilePath(folder, name, AlwaysSeparator) gives for a name that
// IsLookupCodeName accepts: a code file directly in `folder`, nowhere else.
bool NamesCodeFileIn(std::string_view folder, std::string_view path);

}  // namespace sentavo
