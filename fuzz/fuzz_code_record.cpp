// A code file from the shared folder: any bytes must decode safely, re-encode without error, keep
// their bytes through a read and write, and never pass the validity test with a damaged date.
#include <cstdlib>
#include <cstring>

#include "formats/code_record.h"
#include "formats/validity.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sentavo;
  const auto record = DecodeCodeRecord({data, size});
  if (!record) {
    if (size >= kCodeRecordSize) std::abort();
    return 0;
  }
  const CodeRecordBytes once = EncodeCodeRecord(*record);
  const CodeRecordBytes twice = EncodeCodeRecord(*DecodeCodeRecord(once));
  if (once != twice) std::abort();
  // Everything but booleans (normalised to 0/1) and text tails (zeroed) is written back as read.
  if (std::memcmp(once.data() + 20, data + 20, 4) != 0 ||
      std::memcmp(once.data() + 5720, data + 5720, 8) != 0) {
    std::abort();
  }
  const bool inside = CodeInsideValidityWindow(*record, DateTime{2026, 12, 9, 12, 0, 0});
  if (inside && !ValidityWindowOf(*record)) std::abort();
  (void)CountdownText(record->secondsLeft);
  return 0;
}
