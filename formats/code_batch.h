// New codes under generated numeric names, as a batch from the code tool and the vouchers of the
// administration program issue them: the same record under each name, never over a code that is
// there already, each name reported as soon as its file is written.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "formats/file_access.h"
#include "formats/issuing.h"

namespace sentavo {

// What stopped a batch: the file that could not be written (empty when the final flush to disk
// failed) and the error.
struct CodeBatchFailure {
  std::string path;
  int error = io::kOk;
};

// Writes `count` code files of `record` in `folder` (which ends with its separator); `pathOf`
// names a code's file. A drawn name that is taken, in the folder or earlier in this batch, is
// drawn again. Each name goes to `issued` once its file is written; a failure stops the batch,
// and the codes written before it stay written.
std::optional<CodeBatchFailure> IssueNewCodes(
    FileAccess& files, const std::string& folder,
    const std::function<std::string(const std::string& name)>& pathOf,
    std::span<const std::uint8_t> record, long long count, CodeNameGenerator& generator,
    const std::function<void(const std::string& name)>& issued);

}  // namespace sentavo
