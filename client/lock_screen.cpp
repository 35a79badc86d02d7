// The lock screen's actions, start-up and settings. The code check is in code_check.cpp, the two
// timers in lock_screen_timers.cpp.
#include "client/lock_screen.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>

#include "client/installation_id.h"
#include "formats/code_name.h"
#include "formats/config_record.h"
#include "formats/cp1250.h"
#include "formats/temp_litter.h"

namespace sentavo::client {
namespace {

// The switches that "Povolit vše" keeps set, in the order it sets them.
constexpr std::size_t kKeptByAllowAll[] = {SwitchIndex(Right::noRBut),
                                           SwitchIndex(Right::ctrlaltdel), kAsFrontAppSwitch};

bool KeptByAllowAll(std::size_t index) {
  for (const std::size_t kept : kKeptByAllowAll) {
    if (kept == index) return true;
  }
  return false;
}

}  // namespace

LockScreen::LockScreen(const LockScreenServices& services) : s_(services) {}

ui::Requests LockScreen::TakeRequests() {
  return std::exchange(requests_, {});
}

// --- Switches -------------------------------------------------------------------------------

// A check box runs its handler whenever its state changes, whoever changes it.
void LockScreen::SetCheckBox(std::size_t index, bool checked) {
  if (view_.switches[index] == checked) return;
  view_.switches[index] = checked;
  RunHandler(index);
}

void LockScreen::RunHandler(std::size_t index) {
  s_.sysLock.SetSwitch(index, view_.switches[index]);
}

void LockScreen::RunAllHandlers() {
  for (std::size_t i = 0; i < kSwitchCount; ++i) RunHandler(i);
}

void LockScreen::RunRightsHandlers() {
  for (const Right r : kAllRights) RunHandler(SwitchIndex(r));
}

void LockScreen::HideSettingsPage() {
  view_.tabSheet2Visible = false;
  view_.activePage = Page::TabSheet1;  // a hidden page is never the one shown
}

// --- Actions --------------------------------------------------------------------------------

void LockScreen::LockAction() {
  NotePeriodEnded();  // every end of a period locks
  warnings_.Disarm();
  countdown_ = -1;
  view_.kod.enabled = !paused_;
  HideSettingsPage();
  view_.stayOnTop = true;
  view_.borderSizeable = false;
  for (std::size_t i = 0; i < kSwitchCount; ++i) SetCheckBox(i, true);
  RunAllHandlers();
  view_.datod.text.clear();
  view_.datdo.text.clear();
  view_.smidelit.text.clear();
  // The period's log line goes to the share once the lock is in force: a share that answers
  // slowly must not hold the lock back.
  if (const std::optional<UsageLine> line = std::exchange(endedPeriod_, std::nullopt)) {
    LogPeriod(*line);
  }
}

void LockScreen::AllowAllAction() {
  for (const std::size_t kept : kKeptByAllowAll) SetCheckBox(kept, true);
  for (const Right r : kAllRights) {
    if (!KeptByAllowAll(SwitchIndex(r))) SetCheckBox(SwitchIndex(r), false);
  }
  RunAllHandlers();
  s_.sysLock.RestoreAll();
}

void LockScreen::LogOffAction() {
  // Only a running guest period has a time to store: with the countdown at -1 the copy may be an
  // old one, and a negative remaining time must never reach a code file.
  if (!adminLoggedIn_ && countdown_ >= 0 && FollowCodeFile()) {
    record_.secondsLeft = countdown_;
    record_.loggedIn = false;
    if (!record_.reusable) record_.active = false;
    WriteRecordBack();
  }
  LockAction();
  view_.kod.text.clear();
  view_.kod.enabled = !paused_;
  view_.prihlasitBut.enabled = true;
  view_.odhlasitUseraBut.enabled = false;
}

void LockScreen::AdminLogOff() {
  countdown_ = -1;
  LockAction();
  Request(ui::WindowAction::RestoreApplication);
}

void LockScreen::End() {
  Request(ui::EndProgramRequest{0});
  ended_ = true;
}

std::string LockScreen::InExeDir(std::string_view name) const {
  std::string path = exeDir_;
  path += name;
  return path;
}

bool LockScreen::CodeFileExists() const {
  return !codePath_.empty() && codePath_ != kAdminCodePath && s_.files.IsFile(codePath_);
}

void LockScreen::WriteRecordBack() {
  if (codePath_.empty() || codePath_ == kAdminCodePath) return;
  try {
    s_.files.ReplaceExisting(codePath_, EncodeCodeRecord(record_));
  } catch (const TextEncodingError&) {
    // The copy was decoded from the file, so its texts always encode; nothing to write otherwise.
  }
}

// The whole record is read, once a second: on a share one read of 5728 bytes costs about what a
// read of the 8 bytes of `created` does, and a changed record is then at hand.
bool LockScreen::FollowCodeFile() {
  if (codePath_.empty() || codePath_ == kAdminCodePath) return false;
  const ReadResult read = ReadRecordFile(s_.files, codePath_, kCodeRecordSize);
  if (read.error == io::kFileNotFound || read.error == io::kPathNotFound) return false;
  // A file held open or cut short is written over as before, if it is still there.
  if (read.error != io::kOk) return CodeFileExists();
  const auto saved = DecodeCodeRecord(read.bytes);
  // Compared bit for bit: a damaged `created` that is not a number is still the same one.
  if (saved && std::bit_cast<std::uint64_t>(saved->created) !=
                   std::bit_cast<std::uint64_t>(record_.created)) {
    TakeOperatorsRecord(*saved);
  }
  return true;
}

// The operator's new rights, time, validity and type, as at a login; the code stays this PC's.
void LockScreen::TakeOperatorsRecord(const TCodeRecord& saved) {
  record_ = saved;
  record_.loggedIn = true;
  for (const Right r : kAllRights) SetCheckBox(SwitchIndex(r), record_.rights[RightIndex(r)]);
  RunRightsHandlers();
  StartCountdown(std::max(record_.secondsLeft, 0));
  warnings_.Arm(SecondsLeftInPeriod(s_.clock.LocalNow()));
  ShowCodeDetails();
  view_.infoLabel.text = texts::kCodeChangedByOperator;
}

// --- Start-up -------------------------------------------------------------------------------

void LockScreen::Start() {
  if (ended_) return;
  exeDir_ = WithTrailingBackslash(s_.environment.ExeDirectory());
  if (view_.servercesta.empty()) view_.servercesta = exeDir_;
  if (!s_.files.IsFolder(view_.servercesta)) s_.environment.CreateFolder(view_.servercesta);
  view_.infoLabel.text.clear();
  adminLoggedIn_ = false;
  Request(ui::WindowAction::HideApplicationWindow);
  countdown_ = -1;
  if (const std::string logo = InExeDir(kLogoFileName); s_.files.IsFile(logo)) {
    view_.logoFile = logo;
  }
  AdminLogOff();
  view_.trialMode = s_.sysLock.TrialMode();
  if (!s_.sysLock.IsGinaInstalled()) {
    s_.sysLock.InstallGina();
    Request(ui::PlainMessage(std::string(texts::kApplicationTitle),
                             std::string(texts::kGinaInstalled)));
  }
  Request(ui::WindowAction::ActivateTray);
  view_.skrytBut.visible = false;
  view_.adminheslo = kDefaultPassword;
  ReadConfiguration();
  ReleaseStrandedCode();
  // What a killed or cut-off write of Sentavo.cfg or Sentavo.uid left beside the program.
  SweepReplacementLitter(s_.files, exeDir_, IsClientFolderTarget);
}

void LockScreen::ReadConfiguration() {
  const std::string path = InExeDir(kConfigFileName);
  if (!s_.files.IsFile(path)) return;
  // A file shorter than its record is not half applied: the start-up values stay.
  const ReadResult read = ReadRecordFile(s_.files, path, kConfigRecordSize);
  if (read.error != io::kOk) return;
  const auto record = DecodeConfigRecord(read.bytes);
  if (!record) return;
  const ClientSettings settings = ClientSettingsFromRecord(*record);
  for (std::size_t i = 0; i < kSwitchCount; ++i) SetCheckBox(i, settings.switches[i]);
  view_.provoz = settings.provoz;
  view_.adminheslo = settings.adminheslo;
  view_.pozadiFile = settings.pozadiFile;
  if (!view_.pozadiFile.empty() && s_.files.IsFile(view_.pozadiFile)) {
    view_.backgroundPicture = view_.pozadiFile;
  }
  view_.servercesta = settings.servercesta;
  RunRightsHandlers();
}

// Sentavo.run: the code file's path, then a line with the period's start and the seconds it began
// with, for the usage log of a period that a crash ended.
void LockScreen::NotePeriodRunning() {
  periodStart_ = s_.clock.LocalNow();
  periodStart_.millisecond = 0;
  usedSeconds_ = 0;
  ending_ = PeriodEnding::LogOff;
  const std::string run =
      codePath_ + "\n" + FormatIso(periodStart_) + " " + std::to_string(std::max(countdown_, 0));
  s_.files.Replace(InExeDir(kRunFileName),
                   std::span(reinterpret_cast<const std::uint8_t*>(run.data()), run.size()));
  runFileWritten_ = true;
  warnings_.Arm(SecondsLeftInPeriod(s_.clock.LocalNow()));
}

void LockScreen::NotePeriodEnded() {
  if (!runFileWritten_) return;
  if (Reporting()) {
    DateTime end = s_.clock.LocalNow();
    end.millisecond = 0;
    endedPeriod_ = UsageLine{s_.station->computerName,
                             CodeNameOfFile(codePath_),
                             periodStart_,
                             end,
                             usedSeconds_,
                             ending_};
  }
  ending_ = PeriodEnding::LogOff;
  s_.files.Remove(InExeDir(kRunFileName));
  runFileWritten_ = false;
}

// The code of a period that ended without its end (a crash, a kill, a power cut) is still claimed:
// it is handed back with `loggedIn` 0 and everything else as last written, so the guest keeps the
// time left. The guest can write Sentavo.run, so its content is trusted with nothing but naming a
// code file directly in the shared folder configured now: the only write it can ever cause is that
// one field of a whole, valid code record that is already there.
void LockScreen::ReleaseStrandedCode() {
  const std::string runPath = InExeDir(kRunFileName);
  if (!s_.files.IsFile(runPath)) return;
  const ReadResult run = s_.files.Read(runPath, kMaxRunFileSize + 1);
  if (run.error == io::kOk && run.bytes.size() <= kMaxRunFileSize) {
    const std::string content(run.bytes.begin(), run.bytes.end());
    const std::string codePath = content.substr(0, content.find('\n'));
    if (NamesCodeFileIn(view_.servercesta, codePath)) {
      const ReadResult read = s_.files.Read(codePath, kCodeRecordSize + 1);
      auto record = read.error == io::kOk && read.bytes.size() == kCodeRecordSize
                        ? DecodeCodeRecord(read.bytes)
                        : std::nullopt;
      if (record && record->loggedIn) {
        LogStrandedPeriod(content, codePath, *record);
        record->loggedIn = false;
        try {
          s_.files.ReplaceExisting(codePath, EncodeCodeRecord(*record));
        } catch (const TextEncodingError&) {
          // Decoded from the file, so its texts always encode.
        }
      }
    }
  }
  s_.files.Remove(runPath);
}

void LockScreen::OnFirstShow() {
  if (ended_) return;
  view_.uid = std::to_string(InstallationIdentifier(s_.identity, s_.files, exeDir_));
  view_.tit =
      "Sentavo ver. " + std::string(texts::kVersion) + " - Client - Korvalen - UID: " + view_.uid;
}

// --- Events ---------------------------------------------------------------------------------

void LockScreen::OnKodChanged(std::string text) {
  view_.kod.text = std::move(text);
}

void LockScreen::OnKodEnter() {
  if (ended_ || !view_.kod.enabled) return;
  CodeCheck();
}

void LockScreen::OnPrihlasitClick() {
  if (ended_ || !view_.prihlasitBut.enabled) return;
  CodeCheck();
}

void LockScreen::OnOdhlasitUseraClick() {
  if (ended_ || !view_.odhlasitUseraBut.enabled) return;
  LogOffAction();
}

void LockScreen::OnHotKey() {
  if (ended_) return;
  LogOffAction();
}

void LockScreen::OnSkrytClick() {
  if (ended_ || !view_.skrytBut.visible) return;
  Request(ui::WindowAction::MinimiseApplication);
}

void LockScreen::OnZobrazitSentavo() {
  if (ended_) return;
  Request(ui::WindowAction::RestoreApplication);
}

void LockScreen::OnCheckBoxChanged(std::size_t index, bool checked) {
  if (ended_ || !view_.tabSheet2Visible || index >= kSwitchCount) return;
  SetCheckBox(index, checked);
}

void LockScreen::OnZamknout() {
  if (ended_ || !view_.tabSheet2Visible) return;
  LockAction();
}

void LockScreen::OnPovolitVse() {
  if (ended_ || !view_.tabSheet2Visible) return;
  AllowAllAction();
}

void LockScreen::OnZrusit() {
  if (ended_ || !view_.tabSheet2Visible) return;
  SetCheckBox(SwitchIndex(Right::noRBut), false);
  SetCheckBox(SwitchIndex(Right::ctrlaltdel), false);
  SetCheckBox(kAsFrontAppSwitch, false);
  for (const Right r : kAllRights) SetCheckBox(SwitchIndex(r), false);
  RunAllHandlers();
  s_.sysLock.RestoreAll();
  End();
}

void LockScreen::OnKonec() {
  if (ended_ || !view_.tabSheet2Visible) return;
  s_.sysLock.RestoreAll();
  End();
}

void LockScreen::OnOrderLink() {
  if (ended_ || !view_.tabSheet2Visible) return;
  Request(ui::OpenUrlRequest{std::string(kOrderPage)});
  s_.sysLock.RestoreAll();
  End();
}

void LockScreen::OnOdhlasitAdmina() {
  if (ended_ || !view_.tabSheet2Visible) return;
  AdminLogOff();
}

void LockScreen::OnUlozitDefault() {
  if (ended_ || !view_.tabSheet2Visible) return;
  ClientSettings settings{view_.switches, view_.provoz, view_.adminheslo, view_.pozadiFile,
                          view_.servercesta};
  const TConfigRecord record = ClientRecordFromSettings(settings);
  view_.servercesta = settings.servercesta;
  ConfigRecordBytes bytes;
  try {
    bytes = EncodeConfigRecord(record);
  } catch (const TextEncodingError& e) {
    // Writing something other than what the administrator typed would be worse than not saving.
    // The refusal goes into a box on the settings tab: InfoLabel sits on the other tab, where the
    // administrator does not look and the next guest does.
    Request(
        ui::Message{ui::Message::Kind::Error, std::string(texts::kApplicationTitle),
                    std::string(texts::kSettingsNotSavedPrefix) + CodePointName(e.character())});
    return;
  }
  s_.files.Replace(InExeDir(kConfigFileName), bytes);
}

void LockScreen::OnAdminhesloChanged(std::string text) {
  view_.adminheslo = std::move(text);
}

void LockScreen::OnProvozChanged(std::string text) {
  view_.provoz = std::move(text);
}

void LockScreen::OnServercestaChanged(std::string text) {
  view_.servercesta = std::move(text);
}

void LockScreen::OnServercestaExit() {
  view_.servercesta = WithTrailingBackslash(std::move(view_.servercesta));
}

void LockScreen::OnPozadiFileChanged(std::string text) {
  view_.pozadiFile = std::move(text);
}

void LockScreen::OnPozadiFilePicked(std::string path) {
  view_.pozadiFile = std::move(path);
  if (s_.files.IsFile(view_.pozadiFile)) view_.backgroundPicture = view_.pozadiFile;
}

}  // namespace sentavo::client
