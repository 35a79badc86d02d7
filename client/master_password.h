// The master administrator's password: a fixed text built into the client, joined at every check
// with the installation identifier as the UID label shows it.
#pragma once

#include <string>
#include <string_view>

namespace sentavo::client {

// The eleven letters and digits that begin the master password. They are kept scrambled in the
// program file and put together only when needed, so the file holds no readable copy.
std::string MasterPasswordPrefix();

std::string MasterPassword(std::string_view uidText);

}  // namespace sentavo::client
