// The lock screen of SentavoClient as a portable model: the client state, the code check, the two
// timers, the lock and rights actions, start-up and settings. The Win32 LockWindow forwards each
// user event and timer tick to one On... method, then mirrors view() and carries out
// TakeRequests() (client/lock_screen_model.h). Nothing here blocks or shows anything itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "client/lock_screen_model.h"
#include "client/lock_screen_view.h"
#include "client/ports.h"
#include "client/warnings.h"
#include "formats/clock.h"
#include "formats/code_record.h"
#include "formats/file_access.h"
#include "formats/registry.h"
#include "formats/station.h"
#include "formats/usage_log.h"

namespace sentavo::client {

// Everything the model uses outside itself; each must outlive the model.
struct LockScreenServices {
  const Clock& clock;
  const DateTimeFormats& formats;
  FileAccess& files;
  Registry& policies;  // the policy values live under HKEY_CURRENT_USER
  SystemLockPort& sysLock;
  PointerPort& pointer;
  ClientEnvironment& environment;
  MachineIdentity& identity;
  // Reports the station's state to the shared folder and takes the operator's commands from it;
  // with none (or no computer name) the station does neither.
  const StationInfo* station = nullptr;
};

inline constexpr std::string_view kPolicyKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
inline constexpr std::string_view kPolicyValues[] = {
    "DisableTaskMgr", "DisableRegistryTools", "DisableLockWorkstation", "DisableChangePassword"};
// The code path of an administrator's period: "*" cannot stand in a Windows file name, so it names
// no code file, and the write-back never asks the file system about it.
inline constexpr std::string_view kAdminCodePath = "*ADMIN*";
inline constexpr std::string_view kConfigFileName = "Sentavo.cfg";
inline constexpr std::string_view kLogoFileName = "SentavoBig.png";
// Beside Sentavo.cfg while a guest's period runs: the code file's path, so that a start after a
// crash, a kill or a power cut can hand the code back.
inline constexpr std::string_view kRunFileName = "Sentavo.run";
// Beside Sentavo.cfg: usage-log lines that the shared folder could not take yet.
inline constexpr std::string_view kLogQueueFileName = "Sentavo.logq";
inline constexpr std::size_t kMaxLogQueueSize = 1 << 20;
inline constexpr std::size_t kMaxRunFileSize = 4096;
// A live client rewrites a claimed code's lastUse every second; a claim left untouched longer than
// this was left by a client that is gone.
inline constexpr int kStaleClaimSeconds = 5 * 60;
// Guessing is slowed down: this many refusals within the window close the entry for the pause.
inline constexpr std::size_t kRefusalsAllowed = 5;
inline constexpr std::uint64_t kRefusalWindowMs = 60'000;
inline constexpr std::uint64_t kRefusalPauseMs = 30'000;

// The pointer is kept inside the code-entry box of the full-screen window while locked: fixed
// screen pixels, both ends included.
inline constexpr int kPointerMinX = 60, kPointerMaxX = 444, kPointerMinY = 163, kPointerMaxY = 364;
inline constexpr ScreenPoint kPointerHome{100, 200};

// The code as its file is named in the shared folder: "4712" for "...\kody\4712.dat".
std::string CodeNameOfFile(const std::string& path);

class LockScreen final : public LockScreenModel {
 public:
  explicit LockScreen(const LockScreenServices& services);
  LockScreen(const LockScreen&) = delete;
  LockScreen& operator=(const LockScreen&) = delete;

  // LockScreenModel.
  void Start() override;
  void OnFirstShow() override;
  void OnTimer1() override;
  void OnTimer2() override;
  void OnKodChanged(std::string text) override;
  void OnKodEnter() override;
  void OnPrihlasitClick() override;
  void OnOdhlasitUseraClick() override;
  void OnSkrytClick() override;
  void OnHotKey() override;
  void OnZobrazitSentavo() override;
  void OnCheckBoxChanged(std::size_t index, bool checked) override;
  void OnZamknout() override;
  void OnPovolitVse() override;
  void OnZrusit() override;
  void OnKonec() override;
  void OnOdhlasitAdmina() override;
  void OnUlozitDefault() override;
  void OnOrderLink() override;
  void OnAdminhesloChanged(std::string text) override;
  void OnProvozChanged(std::string text) override;
  void OnServercestaChanged(std::string text) override;
  void OnServercestaExit() override;
  void OnPozadiFileChanged(std::string text) override;
  void OnPozadiFilePicked(std::string path) override;
  const LockScreenView& view() const override { return view_; }
  ui::Requests TakeRequests() override;
  bool ended() const override { return ended_; }

  // The client state.
  std::int32_t countdown() const { return countdown_; }
  bool adminLoggedIn() const { return adminLoggedIn_; }
  const std::string& codePath() const { return codePath_; }
  const TCodeRecord& record() const { return record_; }
  const std::string& exeDir() const { return exeDir_; }

 private:
  // Switches and actions.
  void SetCheckBox(std::size_t index, bool checked);
  void RunHandler(std::size_t index);
  void RunAllHandlers();
  void RunRightsHandlers();
  void HideSettingsPage();
  void LockAction();
  void AllowAllAction();
  void LogOffAction();
  void AdminLogOff();
  void End();

  // The code check.
  void CodeCheck();
  void AdminLogin();
  void GuestLogin(const std::string& code);
  void Refuse(std::string_view message, bool clearCodePath = true);
  bool ClaimedElsewhere(const DateTime& now) const;
  bool NamedAsTyped(const std::string& path, const std::string& code) const;
  void CountRefusal();
  void EndPauseWhenDue();
  bool DailyRule(const DateTime& now);
  void ShowCodeDetails();

  // The timers.
  void StartCountdown(std::int32_t seconds);
  std::int32_t ElapsedSeconds();
  void WritePolicies();
  bool CountdownStep(const DateTime& now);  // true when the validity window ended the period
  void Expiry();

  // The station's report and the operator's commands (client/station_report.cpp).
  void Tick(const DateTime& now);
  bool Reporting() const;
  bool GuestPeriodRunning() const;
  std::int64_t SecondsLeftInPeriod(const DateTime& now) const;
  void Warn(const DateTime& now);
  void TakeCommand();
  std::string CarryOut(const StationCommand& command);
  void ReportStation();
  LocalTime Now() const;
  // The usage log (client/usage_log.cpp): the line of a period that ends, and the lines kept
  // beside Sentavo.cfg while the shared folder could not take them.
  void LogPeriod(const UsageLine& line);
  void LogStrandedPeriod(const std::string& runFile, const std::string& codePath,
                         const TCodeRecord& record);

  // Settings.
  void ReadConfiguration();
  void ReleaseStrandedCode();
  // Sentavo.run names the code of the running period, from its claim to its end.
  void NotePeriodRunning();
  void NotePeriodEnded();
  std::string InExeDir(std::string_view name) const;

  // The record copy goes back only to the file of the code it was read from, and only while that
  // file still exists; write errors pass in silence.
  bool CodeFileExists() const;
  void WriteRecordBack();
  // Before a write-back of a guest's period: reads the code file and, when the operator has saved
  // the code again meanwhile (another `created`), takes the file's record as a fresh login of the
  // same code. False when the file is gone, so that the write-back does not create it again.
  bool FollowCodeFile();
  void TakeOperatorsRecord(const TCodeRecord& saved);
  // Built in place: a request is never moved as a whole variant.
  template <class R>
  void Request(R request) {
    requests_.emplace_back(std::in_place_type<R>, std::move(request));
  }

  LockScreenServices s_;
  LockScreenView view_;
  ui::Requests requests_;
  bool ended_ = false;

  std::int32_t countdown_ = -1;
  // The period's time runs on the monotonic clock: the moment of its last tick, and the part of a
  // second that tick left over.
  std::uint64_t lastTickMs_ = 0;
  std::uint64_t carryMs_ = 0;
  bool adminLoggedIn_ = false;
  std::string codePath_;
  TCodeRecord record_;
  bool runFileWritten_ = false;
  // The monotonic moments of the latest refusals, oldest first, at most kRefusalsAllowed; and
  // whether the entry is closed after too many of them, until pauseEndMs_.
  std::deque<std::uint64_t> refusals_;
  bool paused_ = false;
  std::uint64_t pauseEndMs_ = 0;
  std::string exeDir_;

  WarningSchedule warnings_;
  std::optional<StationState> reportedState_;
  LocalTime stateSince_;
  std::optional<std::uint64_t> lastReportMs_;  // none: the next tick reports
  std::optional<CommandOutcome> lastCommand_;

  // The running guest's period as the usage log records it.
  DateTime periodStart_;
  std::int64_t usedSeconds_ = 0;
  PeriodEnding ending_ = PeriodEnding::LogOff;  // how the period that ends next ends
  std::optional<UsageLine> endedPeriod_;        // its line, written once the lock is in force
};

}  // namespace sentavo::client
