// The administration program on files in memory and a clock the test sets.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "administration/admin_program.h"
#include "administration/admin_texts.h"
#include "formats/code_record.h"
#include "formats/config_record.h"
#include "memory_files.h"

namespace sentavo::ui {

inline void PrintTo(const Message& m, std::ostream* os) {
  *os << "{" << static_cast<int>(m.kind) << ", \"" << m.caption << "\", \"" << m.text << "\"}";
}

}  // namespace sentavo::ui

namespace sentavo::admin {
namespace test {

class ManualClock final : public Clock {
 public:
  DateTime LocalNow() const override { return now; }
  std::uint32_t UtcMillisecondsOfDay() const override { return utcMs; }
  std::uint64_t MonotonicMilliseconds() const override { return 0; }

  DateTime now{2026, 3, 14, 9, 26, 53, 589};
  std::uint32_t utcMs = 12345;
};

inline const std::string kWork = "C:\\Sentavo";  // as the system reports it: no backslash
inline const std::string kConfig = "C:\\Sentavo\\Sentavo.cfg";
inline const std::string kCodesDat = "C:\\Sentavo\\codes.dat";
inline const std::string kShare = "\\\\server\\kody\\";

inline std::vector<Message> Messages(const Requests& requests) {
  std::vector<Message> out;
  for (const Request& r : requests) {
    if (const auto* m = std::get_if<Message>(&r)) out.push_back(*m);
  }
  return out;
}

inline Message Error(std::string_view text) {
  return ErrorMessage(std::string(text));
}
inline Message Info(std::string_view text) {
  return InformationMessage(std::string(text));
}
inline Message Stop(std::string_view text) {
  return GeneralErrorMessage(std::string(text));
}

class AdminTest : public ::testing::Test {
 protected:
  AdminTest() {
    files.AddFolder(kWork);
    files.AddFolder(kShare);
  }

  // Creates the program (seeding the generator from the clock as it is now) and shows the login.
  Requests Start() {
    program = std::make_unique<AdminProgram>(AdminServices{files, clock, formats}, kWork);
    return program->Start();
  }
  Requests LogIn(const std::string& password) {
    login().OnAdminpassChanged(password);
    return login().OnOveritKod();
  }
  // Starts on a saved configuration with its own password and the shared folder, and logs in.
  void StartLoggedIn(const std::string& establishment = "Kavárna U Lípy") {
    TConfigRecord config;
    config.adminPassword = "tajne";
    config.establishment = establishment;
    config.serverPath = kShare;
    PutConfig(config);
    ASSERT_EQ(Messages(Start()), std::vector<Message>{});
    ASSERT_EQ(Messages(LogIn("tajne")), std::vector<Message>{});
  }

  void PutConfig(const TConfigRecord& config) {
    const ConfigRecordBytes bytes = EncodeConfigRecord(config);
    files.Put(kConfig, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  }
  std::optional<TConfigRecord> SavedConfig() const {
    const auto bytes = files.Get(kConfig);
    return bytes ? DecodeConfigRecord(*bytes) : std::nullopt;
  }
  std::optional<TCodeRecord> CodeFile(const std::string& name) const {
    const auto bytes = files.Get(kShare + name + ".dat");
    return bytes ? DecodeCodeRecord(*bytes) : std::nullopt;
  }

  // Every rights box unticked, as the operator would do one by one.
  void ClearRights() {
    for (const Right r : kAllRights) codes().OnRightChanged(r, false);
  }

  LoginWindowModel& login() { return program->login(); }
  CodeWindowModel& codes() { return program->codes(); }
  const CodeCreationTab& creation() { return codes().view().creation; }
  const SettingsTab& settings() { return codes().view().settings; }
  const IssuedCodesTab& issued() { return codes().view().issued; }

  sentavo::test::MemoryFiles files;
  ManualClock clock;
  CzechFormats formats;
  std::unique_ptr<AdminProgram> program;
};

}  // namespace test
}  // namespace sentavo::admin
