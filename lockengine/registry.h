// The few registry operations the lock engine needs, behind an interface so that the rules around
// them (which key, which value, created or not) are tested against a registry in memory.
#pragma once

#include <optional>
#include <string>

namespace sentavo::lockengine {

enum class RegistryRoot { CurrentUser, LocalMachine };

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
};

}  // namespace sentavo::lockengine
