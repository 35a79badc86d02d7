// SentavoClient end to end under Wine: the real program next to its Sentavo.cfg, a shared folder
// of code files, lockgina.dll in journal mode; the test types codes and reads what the guest sees,
// what the code files hold, the policy values and the library's journal.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

#include "client/lock_screen_texts.h"
#include "client/lock_window_ids.h"
#include "client/master_password.h"
#include "driver_win.h"
#include "formats/clock.h"
#include "formats/code_record.h"
#include "formats/config_record.h"
#include "formats/issuing.h"
#include "formats/oledate.h"
#include "formats/station.h"
#include "formats/usage_log.h"
#include "formats/wide_win.h"
#include "lockengine/systemlock.h"
#include "tests/support/machine_policies_win.h"

namespace sentavo::e2e {
namespace {

namespace fs = std::filesystem;
namespace ids = client::ids;
namespace texts = client::texts;

std::optional<DWORD> PolicyValue(const wchar_t* name) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER,
                   L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", name,
                   RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

int CountSubstrings(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class ClientE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = fs::path(temp) / ("sentavo-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    app_ = root_ / "app";
    shared_ = root_ / "shared";
    // Several stations' runs of one test share a folder when a script names it (each station in
    // a Wine of its own, with its own computer name).
    if (const char* shared = std::getenv("SENTAVO_E2E_SHARED"); shared && *shared) shared_ = shared;
    fs::create_directories(app_);
    fs::create_directories(shared_);
    const fs::path exe = FromBuild(SENTAVO_CLIENT_EXE);
    fs::copy_file(exe, app_ / "SentavoClient.exe");
    fs::copy_file(exe.parent_path() / "lockgina.dll", app_ / "lockgina.dll");
    journal_ = root_ / "journal.txt";
    trial_.emplace(journal_);

    TConfigRecord config;
    config.asFrontApp = true;
    config.rights = DefaultIssueRights();
    config.adminPassword = "vamor";
    config.establishment = "Kavárna";
    config.serverPath = shared_.string();  // the client adds the trailing backslash
    WriteAll(app_ / "Sentavo.cfg", EncodeConfigRecord(config));
  }

  void TearDown() override {
    client_.reset();
    // A killed client stays on the machine's run-once list ("asFrontApp"), and the next boot of
    // this prefix would start it: taken off here.
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, Widen(lockengine::kRunOnceKey).c_str(),
                       Widen(lockengine::kFrontAppValue).c_str());
    trial_.reset();
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  // Starts the client and waits for the locked screen ("locked" on the countdown display).
  void StartLocked(const std::vector<std::string>& extraEnv = {}) {
    client_ = std::make_unique<Program>((app_ / "SentavoClient.exe").string(),
                                        std::vector<std::string>{}, app_.string(), extraEnv);
    ASSERT_TRUE(client_->started()) << "CreateProcess failed: " << client_->startError();
    // Wine has no logon policies in force, so the client installs its component and says so.
    std::vector<MessageBoxInfo> boxes;
    window_ = WaitForTopWindowPastBoxes(*client_, Widen(texts::kWindowCaption), &boxes);
    ASSERT_NE(window_, nullptr);
    for (const MessageBoxInfo& box : boxes) EXPECT_EQ(box.text, texts::kGinaInstalled);
    ASSERT_TRUE(WaitUntil([&] { return Text(ids::kOdpocetLED) == "LOCKED"; }, 10s));
  }

  HWND Control(int id) const { return FindControl(window_, id); }
  std::string Text(int id) const { return TextUtf8(Control(id)); }

  void TypeCode(const std::string& code) {
    SetText(Control(ids::kKod), Widen(code));
    TypeChar(Control(ids::kKod), L'\r');
  }

  // A code valid from yesterday until `validForSeconds` from now (a day when not given).
  TCodeRecord IssueCode(const std::string& name, int seconds, bool reusable,
                        int validForSeconds = 86'400) {
    const SystemClock clock;
    const CzechFormats formats;
    const DateTime now = clock.LocalNow();
    IssueRequest request;
    request.rights = DefaultIssueRights();
    request.reusable = reusable;
    request.seconds = seconds;
    request.establishment = "Kavárna";
    request.validFrom = *FromOleDate(ToOleDate(now) - 1);
    request.validTo = *FromOleDate(ToOleDate(now) + validForSeconds / 86'400.0);
    TCodeRecord record = BuildIssuedRecord(request, now, formats);
    WriteAll(shared_ / (name + ".dat"), EncodeCodeRecord(record));
    return record;
  }

  TCodeRecord CodeFile(const std::string& name) const {
    const auto bytes = ReadWhole(shared_ / (name + ".dat"), kCodeRecordSize);
    const auto record = DecodeCodeRecord(bytes);
    EXPECT_TRUE(record) << name << ": " << bytes.size() << " bytes";
    return record.value_or(TCodeRecord{});
  }

  std::string Journal() const {
    const auto bytes = ReadAll(journal_);
    return {bytes.begin(), bytes.end()};
  }

  static void Screenshot(const std::string& name) {
    const fs::path dir = FromBuild(SENTAVO_SCREENSHOT_DIR);
    fs::create_directories(dir);
    EXPECT_TRUE(SaveScreenshot((dir / ("client-" + name + ".png")).string()));
  }

  fs::path root_, app_, shared_, journal_;
  std::optional<TrialMode> trial_;
  std::unique_ptr<Program> client_;
  HWND window_ = nullptr;
};

TEST_F(ClientE2E, LocksAtStartWithEverySwitchAndEveryPolicy) {
  StartLocked();
  EXPECT_EQ(Text(ids::kZamceno), texts::kZamceno);
  EXPECT_EQ(Text(ids::kLabel1), texts::kLabel1);
  EXPECT_EQ(Text(ids::kInfoLabel), "");
  EXPECT_TRUE(IsEnabled(Control(ids::kKod)));
  EXPECT_FALSE(IsEnabled(Control(ids::kOdhlasitUseraBut)));
  EXPECT_FALSE(IsVisible(Control(ids::kSkrytBut)));
  EXPECT_FALSE(IsVisible(Control(ids::kAdminheslo)));
  EXPECT_TRUE(Text(ids::kTit).starts_with("Sentavo ver. 1.2 - Client - Korvalen - UID: "));
  // The clock in the system's long time format, e.g. "9:41:07".
  EXPECT_TRUE(WaitUntil([&] {
    const std::string t = Text(ids::kHodinky);
    return t != texts::kLcdAtDesign && CountSubstrings(t, ":") == 2;
  }));
  for (const wchar_t* name : {L"DisableTaskMgr", L"DisableRegistryTools", L"DisableLockWorkstation",
                              L"DisableChangePassword"}) {
    EXPECT_EQ(PolicyValue(name), 1u) << Narrow(name);
  }
  // The lock action blocks all fifteen through the library at once, and again every second.
  const std::string journal = Journal();
  EXPECT_GE(CountSubstrings(journal, "wlDisableKey(0, 46, 3, 1)"), 1) << journal;
  EXPECT_GE(CountSubstrings(journal, "wlDisableItem(2, 1)"), 1) << journal;
  EXPECT_GE(CountSubstrings(journal, "wlDisableKey(") + CountSubstrings(journal, "wlDisableItem("),
            15);
  Screenshot("locked");

  TypeCode("neexistuje");
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kCodeMissing; }, 10s));
  TypeCode("..\\app\\Sentavo");
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kCodeMissing; }, 10s));
  EXPECT_EQ(Text(ids::kOdpocetLED), "LOCKED");
}

// A guest who sets LOCKGINA_JOURNAL for the account (setx) gets the real library all the same; only
// the machine's value puts it in trial mode, and then the lock window says so.
TEST_F(ClientE2E, TrialModeComesFromTheMachineAloneAndTheLockWindowSaysSo) {
  trial_.reset();
  const fs::path appData = root_ / "appdata";
  fs::create_directories(appData);
  StartLocked({"LOCKGINA_JOURNAL=" + journal_.string(), "LOCALAPPDATA=" + appData.string()});
  const fs::path restore = appData / "lockgina" / "restore.journal";
  // The real library saves the accessibility settings it switches off before it changes them.
  EXPECT_TRUE(WaitUntil([&] { return fs::exists(restore); }, 5s));
  EXPECT_FALSE(fs::exists(journal_));
  EXPECT_FALSE(IsVisible(Control(ids::kTrialMode)));
  Screenshot("real-library");
  TypeCode(client::MasterPassword(Text(ids::kUid)));
  ASSERT_EQ(client_->WaitForExit(10s), 0u);
  EXPECT_FALSE(fs::exists(restore));  // everything undone on the way out
  // The real library put the machine policies in force; the tests after this one expect them not
  // to be.
  test::LiftMachinePolicies();

  trial_.emplace(journal_);
  StartLocked();
  EXPECT_TRUE(IsVisible(Control(ids::kTrialMode)));
  EXPECT_EQ(Text(ids::kTrialMode), texts::kTrialMode);
  EXPECT_GE(CountSubstrings(Journal(), "wlDisableItem(7, 1)"), 1);
  Screenshot("trial-mode");
}

TEST_F(ClientE2E, GuestCodeCountsDownSecondBySecondAndLogsOff) {
  IssueCode("host42", 600, /*reusable=*/true);
  StartLocked();
  TypeCode("host42");
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kUserLoggedIn; }, 10s));
  EXPECT_TRUE(Text(ids::kDatod).starts_with(std::string(texts::kValidFrom)));
  EXPECT_TRUE(Text(ids::kDatdo).starts_with(std::string(texts::kValidTo)));
  EXPECT_EQ(Text(ids::kSmidelit), texts::kReusable);
  EXPECT_TRUE(IsEnabled(Control(ids::kOdhlasitUseraBut)));
  EXPECT_FALSE(IsEnabled(Control(ids::kKod)));
  // Claimed at once, then written back every second while the display counts down.
  TCodeRecord record = CodeFile("host42");
  EXPECT_TRUE(record.loggedIn);
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kOdpocetLED).starts_with("0:09:"); }, 10s));
  std::int32_t previous = 601;
  for (int second = 0; second < 3; ++second) {
    ASSERT_TRUE(WaitUntil([&] { return CodeFile("host42").secondsLeft < previous; }, 10s));
    record = CodeFile("host42");
    previous = record.secondsLeft;
    EXPECT_TRUE(record.loggedIn);
    EXPECT_GT(record.secondsLeft, 590);
  }
  for (const wchar_t* name : {L"DisableTaskMgr", L"DisableChangePassword"}) {
    EXPECT_EQ(PolicyValue(name), 1u) << Narrow(name);  // a guest never gets the task manager
  }
  EXPECT_GE(CountSubstrings(Journal(), "wlDisableItem(2, 0)"), 1);  // the desktop is the guest's
  Screenshot("unlocked");

  Click(Control(ids::kOdhlasitUseraBut));
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kOdpocetLED) == "LOCKED"; }, 10s));
  record = CodeFile("host42");
  EXPECT_FALSE(record.loggedIn);
  EXPECT_TRUE(record.active);  // reusable
  EXPECT_LT(record.secondsLeft, 600);
  EXPECT_GT(record.secondsLeft, 580);
  EXPECT_TRUE(IsEnabled(Control(ids::kKod)));

  // In use on no PC, so a second login takes it again.
  TypeCode("host42");
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kUserLoggedIn; }, 10s));
}

TEST_F(ClientE2E, TwoSecondCodeExpiresAndLeavesTheCodeUsedUp) {
  IssueCode("kratky", 2, /*reusable=*/false);
  StartLocked();
  TypeCode("kratky");
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kUserLoggedIn; }, 10s));
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kTimeUp; }, 15s));
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kOdpocetLED) == "LOCKED"; }, 10s));
  const TCodeRecord record = CodeFile("kratky");
  EXPECT_EQ(record.secondsLeft, 0);
  EXPECT_FALSE(record.loggedIn);
  TypeCode("kratky");
  EXPECT_TRUE(WaitUntil(
      [&] {
        return Text(ids::kInfoLabel) != texts::kUserLoggedIn &&
               Text(ids::kInfoLabel) != texts::kTimeUp;
      },
      10s));
  EXPECT_EQ(Text(ids::kOdpocetLED), "LOCKED");
}

TEST_F(ClientE2E, AValidityWindowClosingDuringAPeriodLeavesTheCodeFree) {
  StartLocked();
  IssueCode("okno", 600, /*reusable=*/true, /*validForSeconds=*/3);
  TypeCode("okno");
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kUserLoggedIn; }, 10s));
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kCodeExpired; }, 8s));
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kOdpocetLED) == "LOCKED"; }, 10s));
  const TCodeRecord record = CodeFile("okno");
  EXPECT_FALSE(record.loggedIn);
  EXPECT_TRUE(record.active);
  EXPECT_GT(record.secondsLeft, 590);  // the time not used stays on the code
  EXPECT_LT(record.secondsLeft, 600);
}

TEST_F(ClientE2E, AnOperatorsTopUpIsTakenAndADeletedCodeStaysDeleted) {
  IssueCode("dobit", 600, /*reusable=*/true);
  StartLocked();
  TypeCode("dobit");
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kUserLoggedIn; }, 10s));
  ASSERT_TRUE(WaitUntil([&] { return CodeFile("dobit").secondsLeft < 600; }, 10s));

  // The operator saves the code again with fifty minutes while this PC uses it.
  IssueCode("dobit", 3000, /*reusable=*/true);
  ASSERT_TRUE(
      WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kCodeChangedByOperator; }, 10s));
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kOdpocetLED).starts_with("0:49:"); }, 10s));
  ASSERT_TRUE(WaitUntil([&] { return CodeFile("dobit").secondsLeft < 3000; }, 10s));
  const TCodeRecord record = CodeFile("dobit");
  EXPECT_GT(record.secondsLeft, 2990);
  EXPECT_TRUE(record.loggedIn);  // still claimed by this PC

  // "Odstranit" deletes the file: it never comes back, and the guest's period runs on.
  fs::remove(shared_ / "dobit.dat");
  const std::string before = Text(ids::kOdpocetLED);
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kOdpocetLED) != before; }, 10s));
  Sleep(2500);
  EXPECT_FALSE(fs::exists(shared_ / "dobit.dat"));
  EXPECT_TRUE(Text(ids::kOdpocetLED).starts_with("0:49:"));
  EXPECT_EQ(Text(ids::kInfoLabel), texts::kCodeChangedByOperator);
}

TEST_F(ClientE2E, AKilledClientHandsItsCodeBackAtItsNextStart) {
  IssueCode("pad", 600, /*reusable=*/true);
  StartLocked();
  TypeCode("pad");
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kUserLoggedIn; }, 10s));
  const fs::path run = app_ / "Sentavo.run";
  ASSERT_TRUE(fs::exists(run));
  const auto named = ReadAll(run);
  const std::string content(named.begin(), named.end());
  EXPECT_EQ(content.substr(0, content.find('\n')), shared_.string() + "\\\\pad.dat");
  ASSERT_TRUE(WaitUntil([&] { return CodeFile("pad").secondsLeft < 598; }, 5s));

  client_->Kill();
  const TCodeRecord stranded = CodeFile("pad");
  ASSERT_TRUE(stranded.loggedIn);
  // Two more codes that show the stale rule: claimed a minute ago, and six minutes ago.
  const double now = ToOleDate(SystemClock().LocalNow());
  for (const auto& [name, minutesAgo] : {std::pair{"cerstvy", 1}, std::pair{"opusteny", 6}}) {
    TCodeRecord claimed = IssueCode(name, 600, /*reusable=*/true);
    claimed.loggedIn = true;
    claimed.lastUse = now - minutesAgo / (24.0 * 60);
    WriteAll(shared_ / (std::string(name) + ".dat"), EncodeCodeRecord(claimed));
  }

  StartLocked();
  EXPECT_FALSE(fs::exists(run));
  TCodeRecord released = stranded;
  released.loggedIn = false;  // and the time left as last written
  EXPECT_EQ(CodeFile("pad"), released);

  TypeCode("cerstvy");
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kAlreadyLoggedIn; }, 10s));
  TypeCode("opusteny");
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kUserLoggedIn; }, 10s));
  Click(Control(ids::kOdhlasitUseraBut));
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kOdpocetLED) == "LOCKED"; }, 10s));
  EXPECT_FALSE(fs::exists(run));
  TypeCode("pad");
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kUserLoggedIn; }, 10s));
}

TEST_F(ClientE2E, AShortNameIsNoCodeAndGuessingIsPaused) {
  IssueCode("1234567890", 600, /*reusable=*/true);
  // The file system's own short alias of the code file, which opens the same file.
  wchar_t shortPath[MAX_PATH];
  ASSERT_NE(GetShortPathNameW((shared_ / "1234567890.dat").wstring().c_str(), shortPath, MAX_PATH),
            0u);
  const std::string alias = fs::path(shortPath).stem().string();
  ASSERT_NE(alias, "1234567890");
  ASSERT_TRUE(fs::is_regular_file(shared_ / (alias + ".dat"))) << alias;
  StartLocked();

  TypeCode(alias);
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kCodeMissing; }, 10s))
      << alias;
  EXPECT_EQ(Text(ids::kOdpocetLED), "LOCKED");
  EXPECT_FALSE(CodeFile("1234567890").loggedIn);

  // Four more refusals within the minute, a wrong administrator password among them.
  for (const char* guess : {"1234567891", "vamorr", "12345678", "1234567892"}) {
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(Control(ids::kKod)); }, 10s));
    TypeCode(guess);
    ASSERT_TRUE(WaitUntil([&] { return Text(ids::kKod).empty(); }, 10s));
  }
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kTooManyAttempts; }, 10s));
  EXPECT_FALSE(IsEnabled(Control(ids::kKod)));
  Screenshot("paused");
  SetText(Control(ids::kKod), L"vamor");
  Click(Control(ids::kPrihlasitBut));
  Sleep(1500);
  EXPECT_FALSE(IsVisible(Control(ids::kAdminheslo)));
  EXPECT_EQ(Text(ids::kOdpocetLED), "LOCKED");

  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(Control(ids::kKod)); }, 32s));
  TypeCode("1234567890");
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kUserLoggedIn; }, 10s));
}

TEST_F(ClientE2E, AdministratorSettingsSaveDefaultAndMasterExit) {
  StartLocked();
  TypeCode("vamor");
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kAdminLoggedIn; }, 10s));
  ASSERT_TRUE(WaitUntil([&] { return IsVisible(Control(ids::kAdminheslo)); }, 10s));
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kOdpocetLED).starts_with("0:00:"); }, 10s));
  EXPECT_TRUE(WaitUntil([&] { return PolicyValue(L"DisableTaskMgr") == 0u; }, 10s));
  EXPECT_EQ(Text(ids::kProvoz), "Kavárna");
  EXPECT_EQ(TextUtf8(FindControl(Control(ids::kServercesta), 1)), shared_.string() + "\\");
  EXPECT_TRUE(IsChecked(Control(ids::SwitchBox(kAsFrontAppSwitch))));
  Screenshot("settings");

  // A character Windows-1250 lacks: refused in a box on this tab, the guests' line untouched.
  SetText(Control(ids::kProvoz), L"Herna \u8336");
  {
    const HWND button = Control(ids::kUlozitDefaultBut);
    auto click = std::async(std::launch::async, [button] { Click(button); });
    const auto box = WaitForMessageBox(*client_, 20s);
    ASSERT_TRUE(box) << "no box for a refused save";
    EXPECT_EQ(box->caption, texts::kApplicationTitle);
    EXPECT_EQ(box->text, std::string(texts::kSettingsNotSavedPrefix) + "U+8336");
    EXPECT_TRUE(Answer(*box));
    click.wait();
  }
  EXPECT_EQ(Text(ids::kInfoLabel), texts::kAdminLoggedIn);
  EXPECT_EQ(DecodeConfigRecord(ReadAll(app_ / "Sentavo.cfg"))->establishment, "Kavárna");

  SetText(Control(ids::kProvoz), L"Herna Účko");
  Click(Control(ids::kUlozitDefaultBut));
  ASSERT_TRUE(WaitUntil(
      [&] {
        const auto cfg = DecodeConfigRecord(ReadAll(app_ / "Sentavo.cfg"));
        return cfg && cfg->establishment == "Herna Účko";
      },
      10s));
  const auto cfg = DecodeConfigRecord(ReadAll(app_ / "Sentavo.cfg"));
  EXPECT_EQ(cfg->serverPath, shared_.string() + "\\");
  EXPECT_EQ(cfg->adminPassword, "vamor");
  EXPECT_TRUE(cfg->asFrontApp);

  Click(Control(ids::kOdhlasitAdmina));
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kOdpocetLED) == "LOCKED"; }, 10s));
  EXPECT_FALSE(IsVisible(Control(ids::kAdminheslo)));
  EXPECT_TRUE(WaitUntil([&] { return PolicyValue(L"DisableTaskMgr") == 1u; }, 10s));

  TypeCode(client::MasterPassword(Text(ids::kUid)));
  EXPECT_EQ(client_->WaitForExit(10s), 0u);
  // Ending lifts every block through the library.
  EXPECT_GE(CountSubstrings(Journal(), "wlRestoreAll"), 1);
}

// ---- The station in the shared folder: its status, the operator's commands, the warnings.

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  GetComputerNameW(name, &size);
  return Narrow(std::wstring(name, size));
}

class StationE2E : public ClientE2E {
 protected:
  fs::path StatusFile() const { return shared_ / "stav" / (ComputerName() + ".json"); }
  std::optional<StationStatus> Status() const {
    std::error_code ec;
    if (!fs::exists(StatusFile(), ec)) return std::nullopt;
    const auto bytes = ReadAll(StatusFile());
    return DecodeStatus(std::string(bytes.begin(), bytes.end()));
  }
  bool StatusShows(StationState state) const {
    const auto s = Status();
    return s && s->state == state;
  }
  void Command(const StationCommand& command) const {
    fs::create_directories(shared_ / "prikazy");
    const std::string json = EncodeCommand(command);
    WriteAll(shared_ / "prikazy" / (ComputerName() + ".json"),
             std::span(reinterpret_cast<const std::uint8_t*>(json.data()), json.size()));
  }
  static ProcessWindow Notice() { return FindVisibleWindow(Widen(texts::kNoticeCaption)); }
  static std::string NoticeText(HWND notice) {
    return TextUtf8(FindControl(notice, ids::kNoticeText));
  }
};

TEST_F(StationE2E, TheStationReportsItselfAndTakesTheOperatorsCommandsOnce) {
  StartLocked();
  ASSERT_TRUE(WaitUntil([&] { return StatusShows(StationState::Locked); }, 10s));
  EXPECT_EQ(Status()->pc, ComputerName());
  EXPECT_FALSE(Status()->guarded);
  EXPECT_EQ(Status()->uid, Text(ids::kUid));
  IssueCode("4712", 600, /*reusable=*/true);
  TypeCode("4712");
  ASSERT_TRUE(WaitUntil([&] { return StatusShows(StationState::Guest); }, 10s));
  EXPECT_EQ(Status()->code, "4712");
  ASSERT_TRUE(Status()->secondsLeft);
  EXPECT_GT(*Status()->secondsLeft, 590);

  // The operator's message: a notice for 30 seconds, taken once, as long as it is and with its
  // "&" as written.
  const std::string message =
      "Vážení hosté & studenti: za deset minut zavíráme. Uložte si prosím rozdělanou práci na "
      "flash disk nebo do e-mailu, počítače se pak zamknou. Děkujeme a těšíme se zítra na "
      "shledanou.";
  Command(MessageCommand{message});
  ProcessWindow notice;
  ASSERT_TRUE(WaitUntil([&] { return (notice = Notice()).hwnd != nullptr; }, 5s));
  EXPECT_EQ(NoticeText(notice.hwnd), message);
  RECT label{}, client{};
  GetWindowRect(FindControl(notice.hwnd, ids::kNoticeText), &label);
  GetClientRect(notice.hwnd, &client);
  EXPECT_GT(label.bottom - label.top, 80) << "the message's lines do not fit";
  EXPECT_GE(client.bottom, label.bottom - label.top);
  Screenshot("message");
  EXPECT_EQ(notice.pid, client_->pid());
  EXPECT_FALSE(fs::exists(shared_ / "prikazy" / (ComputerName() + ".json")));
  EXPECT_TRUE(WaitUntil(
      [&] {
        const auto s = Status();
        return s && s->lastCommand && s->lastCommand->command == "message";
      },
      10s));
  EXPECT_EQ(Status()->lastCommand->result, "ok");
  Click(notice.hwnd);
  EXPECT_TRUE(WaitUntil([&] { return Notice().hwnd == nullptr; }, 5s));

  // Without the guard, the guest can write the shared folder: no time comes from it.
  Command(AddTimeCommand{30});
  ASSERT_TRUE(WaitUntil(
      [&] {
        const auto s = Status();
        return s && s->lastCommand && s->lastCommand->command == "addTime";
      },
      10s));
  EXPECT_TRUE(Status()->lastCommand->result.starts_with("refused: "))
      << Status()->lastCommand->result;
  EXPECT_LT(CodeFile("4712").secondsLeft, 600);

  // "Zamknout": the period ends as at a log-off, within two seconds.
  Command(LockCommand{});
  EXPECT_TRUE(WaitUntil([&] { return Text(ids::kOdpocetLED) == "LOCKED"; }, 3s));
  const TCodeRecord stored = CodeFile("4712");
  EXPECT_FALSE(stored.loggedIn);
  EXPECT_GT(stored.secondsLeft, 560);
  EXPECT_TRUE(WaitUntil([&] { return StatusShows(StationState::Locked); }, 5s));
  EXPECT_EQ(Status()->lastCommand->command, "lock");
  EXPECT_EQ(Status()->lastCommand->result, "ok");
  // The period is in the station's usage log of the month, ended by the operator.
  const DateTime now = SystemClock().LocalNow();
  char month[16];
  std::snprintf(month, sizeof month, "-%04d-%02d.csv", now.year, now.month);
  const auto log = ReadAll(shared_ / "log" / (ComputerName() + month));
  const std::vector<UsageLine> lines = DecodeUsageLines(std::string(log.begin(), log.end()));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].code, "4712");
  EXPECT_EQ(lines[0].ending, PeriodEnding::Operator);
  EXPECT_GE(lines[0].seconds, 3);
  EXPECT_EQ(600 - lines[0].seconds, stored.secondsLeft);
}

// Every way a guest's period ends, one after another on this station, each as one line of its
// usage log: log-off, time up, the validity window's end, "Zamknout", and a period cut off by a
// kill, logged when the station starts again.
TEST_F(StationE2E, EveryWayAPeriodEndsIsOneLineOfTheUsageLog) {
  const std::string pc = ComputerName();
  const auto name = [&](const char* what) { return pc + "-" + what; };
  DateTime begun = SystemClock().LocalNow();
  begun.millisecond = 0;  // the log's times are whole seconds
  IssueCode(name("odhlaseni"), 600, /*reusable=*/true);
  IssueCode(name("vyprseni"), 3, /*reusable=*/false);
  IssueCode(name("spravce"), 600, /*reusable=*/true);
  IssueCode(name("obnova"), 600, /*reusable=*/true);
  StartLocked();
  const auto logIn = [&](const std::string& code) {
    TypeCode(code);
    ASSERT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kUserLoggedIn; }, 10s));
    ASSERT_TRUE(WaitUntil([&] { return CodeFile(code).secondsLeft < 599; }, 10s));
  };
  const auto locked = [&] { return Text(ids::kOdpocetLED) == "LOCKED"; };

  logIn(name("odhlaseni"));
  Click(Control(ids::kOdhlasitUseraBut));
  ASSERT_TRUE(WaitUntil(locked, 10s));

  TypeCode(name("vyprseni"));
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kTimeUp; }, 15s));
  ASSERT_TRUE(WaitUntil(locked, 10s));

  IssueCode(name("platnost"), 600, /*reusable=*/true, /*validForSeconds=*/4);
  TypeCode(name("platnost"));
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kInfoLabel) == texts::kCodeExpired; }, 10s));
  ASSERT_TRUE(WaitUntil(locked, 10s));

  logIn(name("spravce"));
  Command(LockCommand{});
  ASSERT_TRUE(WaitUntil(locked, 5s));

  logIn(name("obnova"));
  ASSERT_TRUE(WaitUntil([&] { return CodeFile(name("obnova")).secondsLeft < 597; }, 10s));
  client_->Kill();
  const std::int32_t stranded = CodeFile(name("obnova")).secondsLeft;
  StartLocked();

  const DateTime now = SystemClock().LocalNow();
  char month[16];
  std::snprintf(month, sizeof month, "-%04d-%02d.csv", now.year, now.month);
  const fs::path file = shared_ / "log" / (pc + month);
  const auto bytes = ReadAll(file);
  const std::string text(bytes.begin(), bytes.end());
  ASSERT_TRUE(text.starts_with(UsageLogHeader())) << file;
  // This station's lines of this run: a shared folder of several runs holds the earlier ones too.
  std::vector<UsageLine> lines;
  for (const UsageLine& l : DecodeUsageLines(text)) {
    if (l.code.starts_with(pc + "-") && l.start >= begun) lines.push_back(l);
  }
  ASSERT_EQ(lines.size(), 5u) << text;
  const std::vector<std::pair<std::string, PeriodEnding>> expected = {
      {name("odhlaseni"), PeriodEnding::LogOff},
      {name("vyprseni"), PeriodEnding::Expiry},
      {name("platnost"), PeriodEnding::Validity},
      {name("spravce"), PeriodEnding::Operator},
      {name("obnova"), PeriodEnding::Recovery}};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const UsageLine& l = lines[i];
    SCOPED_TRACE(l.code);
    EXPECT_EQ(l.pc, pc);
    EXPECT_EQ(l.code, expected[i].first);
    EXPECT_EQ(l.ending, expected[i].second);
    EXPECT_LE(l.start, l.end);
    EXPECT_LE(l.end, now);
    if (i > 0) {
      EXPECT_LE(lines[i - 1].end, l.start);
    }
    // The seconds are the guest's time used, as the code file counts it.
    if (l.ending == PeriodEnding::Expiry) {
      EXPECT_EQ(l.seconds, 3);
    } else if (l.ending == PeriodEnding::Recovery) {
      EXPECT_EQ(l.seconds, 600 - stranded);
    } else {
      EXPECT_EQ(l.seconds, 600 - CodeFile(l.code).secondsLeft);
    }
  }
}

// The guest works in another program when a minute is left: the notice shows in the corner, with
// the exclamation sound and the countdown, and the guest's program keeps the keyboard.
TEST_F(StationE2E, AGuestWithAMinuteLeftIsWarnedAndKeepsTheFocus) {
  StartLocked();
  IssueCode("4713", 65, /*reusable=*/false);
  TypeCode("4713");
  ASSERT_TRUE(WaitUntil([&] { return Text(ids::kOdpocetLED).starts_with("0:01:"); }, 10s));
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  Program guestsProgram((fs::path(self).parent_path() / "e2e_fixture.exe").string(), {},
                        root_.string());
  const HWND guests = guestsProgram.WaitForTopWindow(L"Driver fixture");
  ASSERT_NE(guests, nullptr);
  SetForegroundWindow(guests);
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == guests; }, 5s));

  ProcessWindow notice;
  ASSERT_TRUE(WaitUntil([&] { return (notice = Notice()).hwnd != nullptr; }, 15s))
      << Text(ids::kOdpocetLED);
  const auto shownAt = std::chrono::steady_clock::now();
  EXPECT_EQ(NoticeText(notice.hwnd), "Zbývá 1 minuta.");
  const std::string shown = TextUtf8(FindControl(notice.hwnd, ids::kNoticeCountdown));
  EXPECT_TRUE(shown.starts_with("0:00:") || shown == "0:01:00") << shown;
  EXPECT_TRUE(WaitUntil(
      [&] { return TextUtf8(FindControl(notice.hwnd, ids::kNoticeCountdown)) != shown; }, 5s))
      << "the countdown in the notice does not run";
  EXPECT_TRUE(GetWindowLongPtrW(notice.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT r{};
  GetWindowRect(notice.hwnd, &r);
  EXPECT_GT(r.right, GetSystemMetrics(SM_CXSCREEN) - 40);
  EXPECT_GT(r.bottom, GetSystemMetrics(SM_CYSCREEN) - 120);
  EXPECT_EQ(GetForegroundWindow(), guests) << "the notice took the focus";
  Screenshot("warning");
  // Left alone, it goes by itself after its 15 seconds, the guest's program still in front.
  EXPECT_TRUE(WaitUntil([&] { return Notice().hwnd == nullptr; }, 30s));
  EXPECT_GE(std::chrono::steady_clock::now() - shownAt, 14s) << "the notice went too soon";
  EXPECT_EQ(GetForegroundWindow(), guests);
}

}  // namespace
}  // namespace sentavo::e2e
