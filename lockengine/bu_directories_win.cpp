#include "lockengine/bu_directories_win.h"

#include <windows.h>

#include "formats/registry_win.h"
#include "formats/wide_win.h"

namespace sentavo::lockengine {
namespace {

class Win32Directories final : public DirectorySource {
 public:
  // The system writes into a buffer of 250 characters; a longer directory is refused whole.
  std::string SystemFolderPath(SystemFolder folder) override {
    wchar_t buffer[kDirectoryBufferLength] = {};
    DWORD returned = 0;
    switch (folder) {
      case SystemFolder::Current:
        returned = GetCurrentDirectoryW(kDirectoryBufferLength, buffer);
        break;
      case SystemFolder::Windows:
        returned = GetWindowsDirectoryW(buffer, kDirectoryBufferLength);
        break;
      case SystemFolder::System:
        returned = GetSystemDirectoryW(buffer, kDirectoryBufferLength);
        break;
      case SystemFolder::Temp: returned = GetTempPathW(kDirectoryBufferLength, buffer); break;
    }
    const std::u16string text = TextFromBuffer(
        std::u16string_view(reinterpret_cast<const char16_t*>(buffer), kDirectoryBufferLength),
        returned);
    return Narrow(std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
  }
  Registry& SystemRegistry() override { return ProcessRegistry(); }
};

}  // namespace

DirectorySource& SystemDirectories() {
  static Win32Directories directories;
  return directories;
}

}  // namespace sentavo::lockengine
