// The station's side of the shared folder beside the code files: its state in stav\<PC>.json,
// written whole at every change and every few seconds, and the operator's command taken from
// prikazy\<PC>.json once a second. Neither may disturb the lock: a share that cannot be written
// skips the report, and the next round writes it again. The guest's warnings before the end of
// a period live here too, since they follow the same clock.
#include <algorithm>
#include <climits>

#include "client/lock_screen.h"
#include "formats/config_record.h"
#include "formats/validity.h"

namespace sentavo::client {

namespace {

constexpr std::string_view kNotGuarded =
    "refused: this station has no guard, and its guest can write the shared folder";
constexpr std::string_view kNoGuestPeriod = "refused: no guest period runs";
constexpr std::string_view kNotDeleted = "refused: the command file cannot be deleted";
// What a command file may name about itself in the report: a hostile file gets no further room.
constexpr std::size_t kMaxReportedName = 32;

std::string CutName(std::string name) {
  if (name.size() <= kMaxReportedName) return name;
  std::size_t end = kMaxReportedName;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  name.resize(end);
  return name;
}

}  // namespace

std::string CodeNameOfFile(const std::string& path) {
  std::string name = path.substr(path.find_last_of('\\') + 1);
  if (name.size() > 4) {
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    if (tail == ".dat") name.resize(name.size() - 4);
  }
  return name;
}

LocalTime LockScreen::Now() const {
  return LocalTime{s_.clock.LocalNow(), s_.clock.UtcOffsetMinutes()};
}

bool LockScreen::GuestPeriodRunning() const {
  return !adminLoggedIn_ && countdown_ >= 0 && !codePath_.empty() && codePath_ != kAdminCodePath;
}

// The countdown, or the close of the validity window when that comes first.
std::int64_t LockScreen::SecondsLeftInPeriod(const DateTime& now) const {
  std::int64_t left = std::max(countdown_, 0);
  if (const auto closes = SecondsUntilValidityEnds(record_, now)) left = std::min(left, *closes);
  return left;
}

void LockScreen::Warn(const DateTime& now) {
  if (!GuestPeriodRunning()) return;
  if (const std::optional<Warning> due = warnings_.Due(SecondsLeftInPeriod(now))) {
    Request(ui::NoticeRequest{std::string(WarningText(*due)), 15, /*countdown=*/true});
  }
}

bool LockScreen::Reporting() const {
  return s_.station && !s_.station->computerName.empty() && !view_.servercesta.empty();
}

void LockScreen::TakeCommand() {
  if (!Reporting()) return;
  const std::string share = WithTrailingBackslash(view_.servercesta);
  const std::string path = StationFile(share, kCommandFolder, s_.station->computerName);
  if (!s_.files.IsFile(path)) return;
  const ReadResult read = s_.files.Read(path, kMaxStationFileBytes + 1);
  // Carried out once: a command that cannot be taken away would be carried out every second, so
  // such a file is not carried out at all.
  if (s_.files.Remove(path) != io::kOk) {
    if (!lastCommand_ || lastCommand_->result != kNotDeleted) {
      lastCommand_ = CommandOutcome{"", Now(), std::string(kNotDeleted)};
      lastReportMs_.reset();
    }
    return;
  }
  const DecodedCommand decoded =
      read.error == io::kOk
          ? DecodeCommand(std::string_view(reinterpret_cast<const char*>(read.bytes.data()),
                                           read.bytes.size()))
          : DecodedCommand{std::nullopt, "", "unreadable"};
  const std::string result =
      decoded.command ? CarryOut(*decoded.command) : "refused: " + decoded.error;
  lastCommand_ = CommandOutcome{CutName(decoded.name), Now(), result};
  lastReportMs_.reset();  // the outcome is reported in this same second
}

std::string LockScreen::CarryOut(const StationCommand& command) {
  if (std::holds_alternative<LockCommand>(command)) {
    // The period ends now, as if its guest (or administrator) had logged off.
    if (adminLoggedIn_) {
      AdminLogOff();
    } else if (GuestPeriodRunning()) {
      ending_ = PeriodEnding::Operator;
      LogOffAction();
    }
    return std::string(kResultOk);
  }
  if (const auto* message = std::get_if<MessageCommand>(&command)) {
    Request(ui::NoticeRequest{message->text, 30, /*countdown=*/GuestPeriodRunning()});
    return std::string(kResultOk);
  }
  const int minutes = std::get<AddTimeCommand>(command).minutes;
  if (!s_.station->guarded) return std::string(kNotGuarded);
  if (!GuestPeriodRunning()) return std::string(kNoGuestPeriod);
  const std::int64_t grown = static_cast<std::int64_t>(countdown_) + minutes * 60;
  countdown_ = static_cast<std::int32_t>(std::min<std::int64_t>(grown, INT32_MAX));
  // The record follows at once, so that a crash now still leaves the guest the time given.
  if (FollowCodeFile()) {
    record_.secondsLeft = countdown_;
    WriteRecordBack();
  }
  view_.odpocetLED = CountdownText(countdown_);
  warnings_.Arm(SecondsLeftInPeriod(s_.clock.LocalNow()));
  return std::string(kResultOk);
}

void LockScreen::ReportStation() {
  if (!Reporting()) return;
  const StationState state = adminLoggedIn_         ? StationState::Admin
                             : GuestPeriodRunning() ? StationState::Guest
                                                    : StationState::Locked;
  const LocalTime now = Now();
  const std::uint64_t ms = s_.clock.MonotonicMilliseconds();
  if (reportedState_ != state) {
    stateSince_ = now;
    reportedState_ = state;
  } else if (lastReportMs_ && ms - *lastReportMs_ < kStatusEverySeconds * 1000u) {
    return;
  }
  lastReportMs_ = ms;

  StationStatus status;
  status.pc = s_.station->computerName;
  status.uid = view_.uid;
  status.state = state;
  if (state == StationState::Guest) status.code = CodeNameOfFile(codePath_);
  if (state != StationState::Locked) status.secondsLeft = std::max(countdown_, 0);
  status.since = stateSince_;
  status.updated = now;
  status.guarded = s_.station->guarded;
  status.version = std::string(texts::kVersion);
  status.lastCommand = lastCommand_;

  const std::string share = WithTrailingBackslash(view_.servercesta);
  if (const std::string folder = share + std::string(kStatusFolder); !s_.files.IsFolder(folder)) {
    s_.environment.CreateFolder(folder);
  }
  const std::string json = EncodeStatus(status);
  s_.files.Replace(StationFile(share, kStatusFolder, status.pc),
                   std::span(reinterpret_cast<const std::uint8_t*>(json.data()), json.size()));
}

}  // namespace sentavo::client
