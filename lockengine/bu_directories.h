// TBUDirectories: well-known directories, each with a trailing backslash, or empty when the
// system has none to give.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formats/registry.h"
#include "ui/component.h"

namespace sentavo::lockengine {

// The size of the buffer the system writes a directory into; a longer directory is refused.
inline constexpr std::uint32_t kDirectoryBufferLength = 250;

enum class SystemFolder { Current, Windows, System, Temp };

// The text a system call left in `buffer` (kDirectoryBufferLength characters), given what it
// returned: the length it wrote, or the size it would have needed when the buffer was too small,
// or 0 on failure. Empty when nothing usable is there: a directory of 250 characters or more
// does not fit.
std::u16string TextFromBuffer(std::u16string_view buffer, std::uint32_t returned);

// Empty stays empty; anything else ends in a backslash.
std::string WithBackslash(std::string directory);

class DirectorySource {
 public:
  virtual ~DirectorySource() = default;
  // UTF-8, as the system reported it; empty when it did not (or the buffer was too small).
  virtual std::string SystemFolderPath(SystemFolder folder) = 0;
  virtual Registry& SystemRegistry() = 0;
};

inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* kCurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";

class TBUDirectories : public ui::Component {
 public:
  TBUDirectories(ui::Component* owner, std::string name, DirectorySource& source);

  std::string CurrentDirectory() const { return System(SystemFolder::Current); }
  std::string WindowsDirectory() const { return System(SystemFolder::Windows); }
  std::string SystemDirectory() const { return System(SystemFolder::System); }
  std::string TempPath() const { return System(SystemFolder::Temp); }
  std::string ApplicationData() const { return ShellFolder("AppData"); }
  std::string Cache() const { return ShellFolder("Cache"); }
  std::string Cookies() const { return ShellFolder("Cookies"); }
  std::string Desktop() const { return ShellFolder("Desktop"); }
  std::string Favorites() const { return ShellFolder("Favorites"); }
  std::string Fonts() const { return ShellFolder("Fonts"); }
  std::string History() const { return ShellFolder("History"); }
  std::string NetHood() const { return ShellFolder("NetHood"); }
  std::string Personal() const { return ShellFolder("Personal"); }
  std::string Programs() const { return ShellFolder("Programs"); }
  std::string ProgramFiles() const;
  std::string Recent() const { return ShellFolder("Recent"); }
  std::string SendTo() const { return ShellFolder("SendTo"); }
  std::string StartMenu() const { return ShellFolder("Start Menu"); }
  std::string Startup() const { return ShellFolder("Startup"); }
  std::string Templates() const { return ShellFolder("Templates"); }

 private:
  std::string System(SystemFolder folder) const;
  std::string ShellFolder(const char* value) const;
  DirectorySource& source_;
};

}  // namespace sentavo::lockengine
