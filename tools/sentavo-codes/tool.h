// sentavo-codes: shows code files, Sentavo.cfg and codes.dat as JSON, and issues code files exactly
// as the administration program does. The whole tool runs against services, so tests drive it
// in-process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "formats/clock.h"
#include "formats/file_access.h"

namespace sentavo {

struct ToolEnv {
  std::ostream& out;
  std::ostream& err;
  FileAccess& files;
  const Clock& clock;
  const DateTimeFormats& formats;
  char separator;  // between a folder and a file name: '\\' on Windows, '/' elsewhere
};

// Exit codes: 0 success, 1 a file that cannot be read or written, 2 bad arguments.
int RunSentavoCodes(const std::vector<std::string>& args, ToolEnv& env);

}  // namespace sentavo
