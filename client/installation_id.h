// The installation identifier: a number that names this client installation in its UID label, its
// title and the master password, and stays the same from one start to the next.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "client/ports.h"
#include "formats/file_access.h"

namespace sentavo::client {

// The file beside Sentavo.cfg that keeps a drawn identifier on a machine without a GUID.
inline constexpr std::string_view kInstallationIdFile = "Sentavo.uid";

// FNV-1a (32 bits) of the text, cut to 31 bits so it is positive as a signed 32-bit number; a
// result of 0 becomes 1, so the identifier is never 0.
std::uint32_t PositiveId(std::string_view text);

// The identifier derived from the machine GUID. Without one, the identifier kept in exeDir's
// Sentavo.uid is used; when that file is missing or does not hold a valid identifier, a random one
// is drawn and written there for the next start.
std::uint32_t InstallationIdentifier(MachineIdentity& identity, FileAccess& files,
                                     const std::string& exeDir);

}  // namespace sentavo::client
