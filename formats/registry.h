// The registry operations of both programs, behind one interface so that the rules around them
// (which key, which value, created or not) are tested against a registry in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace sentavo {

// Users is every loaded user's hive by its SID: a service reaches the logged-on user's values
// there.
enum class RegistryRoot { CurrentUser, LocalMachine, Users };

enum class ReadStatus {
  Ok,
  NoKey,      // the key does not exist or does not open for reading
  NoValue,    // the key opened, the value is not there
  NotString,  // the value exists but holds no string
};

struct RegistryString {
  ReadStatus status = ReadStatus::NoKey;
  std::string value;  // UTF-8; empty unless status is Ok
};

// A key held open for reading and setting several values; closed when destroyed.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  virtual bool SetDword(std::string_view name, std::uint32_t value) = 0;
  // The DWORD stored under `name`; empty when it is missing, holds another type or cannot be read
  // (and always for a key that keeps no values).
  virtual std::optional<std::uint32_t> ReadDword(std::string_view /*name*/) { return std::nullopt; }
};

// Key paths may start with a backslash; it is ignored. The 64-bit view is used, as by every other
// program of ours.
class Registry {
 public:
  virtual ~Registry() = default;
  // Opens `key` for reading, never creating it, and reads a string value.
  virtual RegistryString ReadString(RegistryRoot root, const std::string& key,
                                    const std::string& name) = 0;
  // Writes a string value. With `createKey` the key is created when missing; without it the key
  // is opened for reading and setting values only, and nothing happens when it does not open.
  // True when the value was written.
  virtual bool WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                           const std::string& value, bool createKey) = 0;
  // Opens an existing key for reading and setting values and deletes one value of it.
  virtual bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  // Opens `key` for reading and setting values, creating it when missing; empty when that fails.
  virtual std::unique_ptr<RegistryKey> OpenOrCreateKey(RegistryRoot root, std::string_view key) = 0;
};

}  // namespace sentavo
