// codes.dat: the administration program's list of issued code names, one per line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sentavo {

// Lines split at CR LF, lone CR and lone LF. A last line without a line end is an entry; a line end
// at the very end adds no empty entry; an empty line between two others is an empty entry.
// Names come back as UTF-8.
std::vector<std::string> ParseCodesList(std::string_view fileBytes);

// Windows-1250, every line ending in CR LF; an empty list is an empty file. Throws
// TextEncodingError for a character outside Windows-1250 and std::invalid_argument for a name
// holding CR or LF, which would read back as two entries.
std::string SerializeCodesList(const std::vector<std::string>& names);

}  // namespace sentavo
