#include <iostream>

#include "formats/clock.h"
#include "formats/file_access.h"
#include "tool.h"

int main(int argc, char** argv) {
  sentavo::LocalFiles files;
  sentavo::SystemClock clock;
  const auto formats = sentavo::MakeSystemFormats();
  sentavo::ToolEnv env{std::cout, std::cerr, files, clock, *formats, '/'};
  return sentavo::RunSentavoCodes(std::vector<std::string>(argv + 1, argv + argc), env);
}
