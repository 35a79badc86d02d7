// The code check behind "Zkontrolovat" and Enter: the master administrator, the administrator, or
// a guest's unlock code tested against its code file.
#include <algorithm>
#include <cmath>

#include "client/lock_screen.h"
#include "client/master_password.h"
#include "formats/code_name.h"
#include "formats/cp1250.h"
#include "formats/validity.h"

namespace sentavo::client {
namespace {

std::string DatePart(const DateTimeFormats& formats, double ole) {
  const auto dt = FromOleDate(ole);
  return dt ? formats.ShortDate(*dt) : std::string();
}

std::string TimePart(const DateTimeFormats& formats, double ole) {
  const auto dt = FromOleDate(ole);
  return dt ? formats.LongTime(*dt) : std::string();
}

// The small letter of a Windows-1250 letter (Czech, Slovak, Polish, Hungarian, ...); other bytes
// stay as they are.
unsigned char LowerCp1250(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  switch (c) {
    case 0x8A:  // Š
    case 0x8C:  // Ś
    case 0x8D:  // Ť
    case 0x8E:  // Ž
    case 0x8F:  // Ź
      return c + 0x10;
    case 0xA3: return 0xB3;  // Ł
    case 0xA5: return 0xB9;  // Ą
    case 0xAA: return 0xBA;  // Ş
    case 0xAF: return 0xBF;  // Ż
    case 0xBC: return 0xBE;  // Ľ
    default: return c;
  }
}

// Names compared as the file system compares them, regardless of letter case: through Windows-1250,
// which holds every name the administration program issues; other names by ASCII letters only.
bool SameNameInAnyCase(std::string_view a, std::string_view b) {
  std::string x(a), y(b);
  bool cp1250 = true;
  try {
    x = Utf8ToCp1250(a);
    y = Utf8ToCp1250(b);
  } catch (const TextEncodingError&) {
    x = a, y = b, cp1250 = false;
  }
  const auto lower = [cp1250](char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return cp1250 ? LowerCp1250(c) : (c >= 'A' && c <= 'Z' ? c + 0x20 : c);
  };
  return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(),
                                            [&](char p, char q) { return lower(p) == lower(q); });
}

}  // namespace

void LockScreen::CodeCheck() {
  if (paused_) return;  // "Zkontrolovat" may still be enabled; the entry is not
  const std::string entered = view_.kod.text;
  if (entered == MasterPassword(view_.uid)) {
    AllowAllAction();
    End();  // the system-lock component lifts every block as the program ends
    return;
  }
  if (entered == view_.adminheslo) {
    AdminLogin();
    return;
  }
  GuestLogin(entered);
}

void LockScreen::AdminLogin() {
  StartCountdown(60);
  view_.tabSheet2Visible = true;
  AllowAllAction();
  view_.stayOnTop = false;
  view_.borderSizeable = true;
  view_.activePage = Page::TabSheet2;
  view_.kod.text.clear();
  view_.infoLabel.text = texts::kAdminLoggedIn;
  view_.skrytBut.visible = true;
  adminLoggedIn_ = true;
  view_.kod.enabled = false;
  view_.prihlasitBut.enabled = false;
  view_.odhlasitUseraBut.enabled = true;
  codePath_ = kAdminCodePath;
}

void LockScreen::GuestLogin(const std::string& code) {
  const std::string path = CodeFilePath(view_.servercesta, code, FolderJoin::AlwaysSeparator);
  if (!IsLookupCodeName(code) || !s_.files.IsFile(path) || !NamedAsTyped(path, code)) {
    Refuse(texts::kCodeMissing, /*clearCodePath=*/false);
    return;
  }
  LockAction();
  view_.infoLabel.text = texts::kUserLoggedIn;
  view_.skrytBut.visible = true;
  // A record that was not read whole is neither used nor ever written back over the file.
  const ReadResult read = ReadRecordFile(s_.files, path, kCodeRecordSize);
  const auto record = read.error == io::kOk ? DecodeCodeRecord(read.bytes) : std::nullopt;
  if (!record) {
    Refuse(texts::kCodeUnreadable);
    return;
  }
  record_ = *record;
  codePath_ = path;
  view_.prihlasitBut.enabled = false;
  view_.odhlasitUseraBut.enabled = true;

  for (const Right r : kAllRights) SetCheckBox(SwitchIndex(r), record_.rights[RightIndex(r)]);
  // A negative remaining time found in a file counts as none: the period expires at once.
  StartCountdown(std::max(record_.secondsLeft, 0));
  RunRightsHandlers();
  adminLoggedIn_ = false;
  view_.kod.enabled = false;
  ShowCodeDetails();

  const DateTime now = s_.clock.LocalNow();
  if (record_.loggedIn && ClaimedElsewhere(now)) return Refuse(texts::kAlreadyLoggedIn);
  if (record_.establishment != view_.provoz) return Refuse(texts::kWrongEstablishment);
  if (record_.codeType == kCodeTypeDaily) {
    if (!DailyRule(now)) return Refuse(texts::kNotToday);
  } else if (!record_.active) {
    return Refuse(texts::kNotActive);
  }
  if (!CodeInsideValidityWindow(record_, now)) return Refuse(texts::kOutsideWindow);

  // Claimed at once, so that another PC sees the code in use now rather than a second later.
  record_.loggedIn = true;
  record_.lastUse = ToOleDate(now);
  WriteRecordBack();
  NotePeriodRunning();
  view_.stayOnTop = false;
}

// A daily code is renewed on its first use of a calendar day; later the same day it passes only
// with time left, which a guest who may split the time takes in several sittings.
bool LockScreen::DailyRule(const DateTime& now) {
  const auto lastUse = FromOleDate(record_.lastUse);
  if (lastUse && DateKey(*lastUse) < DateKey(now)) {
    record_.secondsLeft = record_.dailySeconds;
    record_.active = true;
    record_.lastUse = ToOleDate(now);
    WriteRecordBack();
    StartCountdown(std::max(record_.dailySeconds, 0));
    return true;
  }
  return record_.active && record_.secondsLeft > 0;
}

// The file found must carry the typed name itself, in any letter case. A volume with short names
// opens "1234567890.dat" for "123456~1" too, and that would shrink the space a guest must guess
// to almost nothing.
bool LockScreen::NamedAsTyped(const std::string& path, const std::string& code) const {
  const auto real = s_.files.RealName(path);
  return real && SameNameInAnyCase(*real, code + ".dat");
}

// A claim whose lastUse is more than five minutes behind this PC's clock is no live client's; one
// that lies ahead of it may be another PC's with a clock set later, so it still counts.
bool LockScreen::ClaimedElsewhere(const DateTime& now) const {
  const auto lastUse = FromOleDate(record_.lastUse);
  if (!lastUse) return false;  // no live client writes a moment that is not one
  const double behind = std::round((ToOleDate(now) - ToOleDate(*lastUse)) * 86'400);
  return behind <= kStaleClaimSeconds;
}

void LockScreen::ShowCodeDetails() {
  view_.datod.text = std::string(texts::kValidFrom) + DatePart(s_.formats, record_.validFromDate) +
                     std::string(texts::kTime) + TimePart(s_.formats, record_.validFromTime);
  view_.datdo.text = std::string(texts::kValidTo) + DatePart(s_.formats, record_.validToDate) +
                     std::string(texts::kTime) + TimePart(s_.formats, record_.validToTime);
  if (record_.reusable) {
    view_.smidelit.text = texts::kReusable;
    view_.smidelit.colour = ui::clGreen;
  } else {
    view_.smidelit.text = texts::kOneTime;
    view_.smidelit.colour = ui::clRed;
  }
}

void LockScreen::Refuse(std::string_view message, bool clearCodePath) {
  LockAction();
  view_.infoLabel.text = message;
  view_.kod.text.clear();
  view_.skrytBut.visible = false;
  if (clearCodePath) codePath_.clear();
  adminLoggedIn_ = false;
  CountRefusal();
}

// Every entry that is neither password nor a usable code is a refusal, so a guessed administrator
// or master password counts as well. The monotonic clock measures the window and the pause: a
// changed system time neither forgets a refusal nor ends the pause early.
void LockScreen::CountRefusal() {
  const std::uint64_t now = s_.clock.MonotonicMilliseconds();
  while (!refusals_.empty() && now - refusals_.front() >= kRefusalWindowMs) refusals_.pop_front();
  refusals_.push_back(now);
  if (refusals_.size() > kRefusalsAllowed) refusals_.pop_front();
  if (refusals_.size() < kRefusalsAllowed) return;
  paused_ = true;
  pauseEndMs_ = now + kRefusalPauseMs;
  view_.kod.enabled = false;
  view_.infoLabel.text = texts::kTooManyAttempts;
}

// The pause ends at the first Timer1 tick after it is due; the entry opens only while locked.
void LockScreen::EndPauseWhenDue() {
  if (!paused_ || s_.clock.MonotonicMilliseconds() < pauseEndMs_) return;
  paused_ = false;
  if (countdown_ == -1) view_.kod.enabled = true;
}

}  // namespace sentavo::client
