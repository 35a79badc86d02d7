#include "lockengine/bu_directories.h"

#include <utility>

namespace sentavo::lockengine {

std::u16string TextFromBuffer(std::u16string_view buffer, std::uint32_t returned) {
  if (returned == 0 || returned >= kDirectoryBufferLength) return {};
  const std::u16string_view written = buffer.substr(0, returned);
  return std::u16string(written.substr(0, written.find(u'\0')));
}

std::string WithBackslash(std::string directory) {
  if (!directory.empty() && directory.back() != '\\') directory += '\\';
  return directory;
}

TBUDirectories::TBUDirectories(ui::Component* owner, std::string name, DirectorySource& source)
    : ui::Component(owner, std::move(name)), source_(source) {}

std::string TBUDirectories::System(SystemFolder folder) const {
  return WithBackslash(source_.SystemFolderPath(folder));
}

std::string TBUDirectories::ShellFolder(const char* value) const {
  const RegistryString read =
      source_.SystemRegistry().ReadString(RegistryRoot::CurrentUser, kShellFoldersKey, value);
  return WithBackslash(read.status == ReadStatus::Ok ? read.value : std::string());
}

std::string TBUDirectories::ProgramFiles() const {
  const RegistryString read = source_.SystemRegistry().ReadString(
      RegistryRoot::LocalMachine, kCurrentVersionKey, "ProgramFilesDir");
  return WithBackslash(read.status == ReadStatus::Ok ? read.value : std::string());
}

}  // namespace sentavo::lockengine
