#include "formats/code_batch.h"

#include <set>

namespace sentavo {
namespace {

std::string AsciiLower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

}  // namespace

std::optional<CodeBatchFailure> IssueNewCodes(
    FileAccess& files, const std::string& folder,
    const std::function<std::string(const std::string& name)>& pathOf,
    std::span<const std::uint8_t> record, long long count, CodeNameGenerator& generator,
    const std::function<void(const std::string& name)>& issued) {
  // The folder's listing, read once, answers for the names that were there when the batch began
  // (on a file system that ignores letter case, every look for a missing name reads the whole
  // folder); the batch itself refuses a name that was taken since.
  std::set<std::string> present, presentLower;
  for (const FolderFile& f : files.ListFiles(folder)) {
    present.insert(f.name);
    presentLower.insert(AsciiLower(f.name));
  }
  const auto takenBefore = [&](const std::string& name) {
    const std::string file = name + ".dat";
    if (present.contains(file)) return true;
    // Another letter case of ".dat" takes the name only where the file system says so.
    return presentLower.contains(file) && files.IsFile(pathOf(name));
  };
  std::set<std::string> drawn;
  const std::unique_ptr<FileBatch> batch = files.StartBatch();
  for (long long i = 0; i < count; ++i) {
    for (;;) {
      const std::string name = generator.NextName();
      if (!drawn.insert(name).second || takenBefore(name)) continue;
      const std::string path = pathOf(name);
      const int error = batch->Add(path, record);
      if (error == io::kFileExists) continue;
      if (error != io::kOk) {
        batch->Finish();
        return CodeBatchFailure{path, error};
      }
      issued(name);
      break;
    }
  }
  if (const int error = batch->Finish()) return CodeBatchFailure{std::string(), error};
  return std::nullopt;
}

}  // namespace sentavo
