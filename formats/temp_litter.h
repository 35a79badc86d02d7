// Litter of interrupted replacements. A writer that dies between writing its temporary file and
// moving it over the target (a killed client, a power cut, a share that went away) leaves
// "<target>.~<hex>.tmp" behind; on a shared folder that many PCs write every second, such files
// pile up. They are swept where they can be told apart for certain: the exact name pattern of our
// own temporary files, for the targets the sweeping program knows, and old enough that no writer
// can still be busy with them. Nothing else is ever deleted.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/file_access.h"

namespace sentavo {

// A temporary file is this old before it counts as litter: far beyond any replacement's time.
inline constexpr std::int64_t kLitterAgeSeconds = 10 * 60;

// The target whose replacement left `name` ("4711.dat" for "4711.dat.~1a2b.tmp"); empty when the
// name is not of our temporary files' pattern.
std::string_view ReplacedTarget(std::string_view name);

// Code files in the shared folder: "NAME.dat".
bool IsCodeFileTarget(std::string_view target);
// What the client replaces beside itself: "Sentavo.cfg", "Sentavo.uid" and "Sentavo.run".
bool IsClientFolderTarget(std::string_view target);

// Deletes the litter of the targets that `isTarget` accepts in `folder` (given with its trailing
// separator); returns how many files went. Failures pass in silence: the next sweep tries again.
int SweepReplacementLitter(FileAccess& files, const std::string& folder,
                           bool (*isTarget)(std::string_view));

}  // namespace sentavo
