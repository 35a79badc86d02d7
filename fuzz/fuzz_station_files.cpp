// A station's status file, an operator's command file and a usage log as any PC, or a guest on a
// PC without the guard, may have written them. Whatever the bytes: no crash; a status that decodes
// encodes and decodes again to itself; a command that decodes is within its limits.
#include <cstdlib>
#include <string_view>

#include "formats/station.h"
#include "formats/usage_log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sentavo;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (const auto status = DecodeStatus(input)) {
    if (DecodeStatus(EncodeStatus(*status)) != status) std::abort();
  }
  const DecodedCommand command = DecodeCommand(input);
  if (command.command.has_value() == !command.error.empty()) std::abort();
  if (const auto* add =
          command.command ? std::get_if<AddTimeCommand>(&*command.command) : nullptr) {
    if (add->minutes < kMinAddMinutes || add->minutes > kMaxAddMinutes) std::abort();
  }
  // The usage log and its queue: what decodes writes back as a line that decodes to itself.
  for (const UsageLine& line : DecodeUsageLines(input)) {
    const auto again = DecodeUsageLines(EncodeUsageLine(line));
    if (again.size() != 1 || again[0] != line) std::abort();
  }
  return 0;
}
