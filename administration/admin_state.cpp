#include "administration/admin_state.h"

#include <string_view>
#include <utility>

namespace sentavo::admin {

AdminState::AdminState(AdminServices s, const std::string& currentFolder)
    : services(s),
      workingFolder(WithTrailingBackslash(currentFolder)),
      generator(s.clock.UtcMillisecondsOfDay()) {}

std::vector<std::uint8_t> ReadRecord(const FileAccess& files, const std::string& path,
                                     std::size_t size) {
  ReadResult read = ReadRecordFile(files, path, size);
  if (read.error != io::kOk) throw FileError(IoErrorText(read.error));
  return std::move(read.bytes);
}

void WriteRecord(FileAccess& files, const std::string& path, std::span<const std::uint8_t> bytes) {
  if (const int error = files.Replace(path, bytes); error != io::kOk) {
    throw FileError(IoErrorText(error));
  }
}

CodesListFile ReadCodesListFile(const FileAccess& files, const std::string& path,
                                std::size_t maxBytes) {
  CodesListFile out;
  if (!files.IsFile(path)) return out;
  // One byte more than the limit tells a file at the limit from a longer one.
  ReadResult read = files.Read(path, maxBytes + 1);
  if (read.error == io::kFileNotFound || read.error == io::kPathNotFound) return out;
  if (read.error != io::kOk || read.bytes.size() > maxBytes) {
    out.state = CodesListFile::State::Unreadable;
    return out;
  }
  out.state = CodesListFile::State::Read;
  out.bytes = std::move(read.bytes);
  return out;
}

CodeNames ParseCodesListBytes(std::span<const std::uint8_t> bytes) {
  return ParseCodeNames(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

CodeNames LoadCodesList(const FileAccess& files, const std::string& path) {
  const CodesListFile file = ReadCodesListFile(files, path);
  if (file.state == CodesListFile::State::Unreadable) throw FileError("Cannot open file " + path);
  return ParseCodesListBytes(file.bytes);
}

void SaveCodesList(FileAccess& files, const std::string& path, const CodeNames& names,
                   const std::optional<std::vector<std::uint8_t>>& previous) {
  if (previous) {
    const std::string backup = path + ".bak";
    if (files.Replace(backup, *previous) != io::kOk)
      throw FileError("Cannot create file " + backup);
  }
  const std::string text = SerializeCodesList(names);
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                            text.size());
  if (files.Replace(path, bytes) != io::kOk) throw FileError("Cannot create file " + path);
}

}  // namespace sentavo::admin
