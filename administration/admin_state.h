// What the administration program keeps for its whole run apart from its controls, the services it
// works through, and the general error handler for failed file operations.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "administration/ui_requests.h"
#include "formats/clock.h"
#include "formats/code_record.h"
#include "formats/codes_list.h"
#include "formats/config_record.h"
#include "formats/file_access.h"
#include "formats/issuing.h"

namespace sentavo::admin {

struct AdminServices {
  FileAccess& files;
  const Clock& clock;
  const DateTimeFormats& formats;
};

struct AdminState {
  // `currentFolder` is the folder current at start, as the system reports it.
  AdminState(AdminServices services, const std::string& currentFolder);

  std::string ConfigPath() const { return workingFolder + "Sentavo.cfg"; }
  std::string CodesListPath() const { return workingFolder + "codes.dat"; }
  std::string CodesListBackupPath() const { return CodesListPath() + ".bak"; }

  AdminServices services;
  std::string workingFolder;  // fixed for the run, ends in a backslash
  TConfigRecord config;  // read at each showing of the login window, set by "Uložit nastavení"
  TCodeRecord code;      // all zero until the first "Uložit kód"
  CodeNameGenerator generator;
};

// A file operation that failed: ends the handling of the current event, and the general error
// handler shows what() in its box.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Runs an event's handling; a FileError ends it and adds the general error box to `out`, after
// whatever the handling had requested before it failed.
template <class Body>
void RunHandled(Requests& out, Body&& body) {
  try {
    body(out);
  } catch (const FileError& e) {
    out.push_back(GeneralErrorMessage(e.what()));
  }
}

// Record files, replaced whole; a failure throws FileError with the record error text.
std::vector<std::uint8_t> ReadRecord(const FileAccess& files, const std::string& path,
                                     std::size_t size);
void WriteRecord(FileAccess& files, const std::string& path, std::span<const std::uint8_t> bytes);

// No operator keeps a list of this size; the limit only keeps a damaged file from taking memory.
inline constexpr std::size_t kMaxCodesListBytes = 256u << 20;

// codes.dat as it is on the disk now. A file longer than `maxBytes` is Unreadable: read in part,
// it would be saved back without the rest.
struct CodesListFile {
  enum class State { Absent, Read, Unreadable };
  State state = State::Absent;
  std::vector<std::uint8_t> bytes;  // when Read
};
CodesListFile ReadCodesListFile(const FileAccess& files, const std::string& path,
                                std::size_t maxBytes = kMaxCodesListBytes);
CodeNames ParseCodesListBytes(std::span<const std::uint8_t> bytes);

// codes.dat: "Cannot open file <path>" on failure.
CodeNames LoadCodesList(const FileAccess& files, const std::string& path);

// Writes `names` to codes.dat. `previous`, the file's bytes as they are now, is first written
// whole to codes.dat.bak, and codes.dat is replaced only once that copy stands, so a failure of
// either write loses no list. "Cannot create file <path>" names the file that failed.
void SaveCodesList(FileAccess& files, const std::string& path, const CodeNames& names,
                   const std::optional<std::vector<std::uint8_t>>& previous);

}  // namespace sentavo::admin
