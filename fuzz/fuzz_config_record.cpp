// Sentavo.cfg as found on disk: any bytes must decode safely and survive the client's read and
// save unchanged in content.
#include <cstdlib>

#include "formats/config_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sentavo;
  const auto record = DecodeConfigRecord({data, size});
  if (!record) {
    if (size >= kConfigRecordSize) std::abort();
    return 0;
  }
  ClientSettings settings = ClientSettingsFromRecord(*record);
  const TConfigRecord saved = ClientRecordFromSettings(settings);
  const auto reread = DecodeConfigRecord(EncodeConfigRecord(saved));
  if (!reread) std::abort();
  ClientSettings again = ClientSettingsFromRecord(*reread);
  // A path of 255 characters gains no backslash on saving, so compare what fits.
  if (again.switches != settings.switches || again.provoz != settings.provoz ||
      again.adminheslo != settings.adminheslo || again.pozadiFile != settings.pozadiFile) {
    std::abort();
  }
  return 0;
}
