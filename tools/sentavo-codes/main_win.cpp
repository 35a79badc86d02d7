#include <iostream>

#include "formats/clock.h"
#include "formats/file_access.h"
#include "formats/wide_win.h"
#include "tool.h"

// Wide arguments, so that names and paths outside the ANSI code page arrive intact.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(sentavo::Narrow(argv[i]));
  sentavo::LocalFiles files;
  sentavo::SystemClock clock;
  const auto formats = sentavo::MakeSystemFormats();
  sentavo::ToolEnv env{std::cout, std::cerr, files, clock, *formats, '\\'};
  return sentavo::RunSentavoCodes(args, env);
}
