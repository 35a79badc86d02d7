// One code from issue to expiry, with both programs running at once in one Wine session:
// SentavoAdmin issues codes into a shared folder, two SentavoClients use them, the library's
// journal shows the rights, the code files follow the countdown, "Odstranit" takes a code away.
// With "--demo DIR" it plays the same walk in DIR and leaves its screenshots in DIR\screenshots.
#include <gtest/gtest.h>
#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

#include "administration/admin_ids.h"
#include "administration/admin_texts.h"
#include "client/lock_screen_texts.h"
#include "client/lock_window_ids.h"
#include "driver_win.h"
#include "formats/clock.h"
#include "formats/code_record.h"
#include "formats/config_record.h"
#include "formats/issuing.h"
#include "formats/station.h"
#include "formats/wide_win.h"
#include "lockengine/systemlock.h"

namespace sentavo::e2e {
namespace {

namespace fs = std::filesystem;
namespace aids = admin::ids;
namespace atext = admin::text;
namespace cids = client::ids;
namespace ctext = client::texts;

fs::path gDemoFolder;  // set by --demo

template <class Action>
std::future<void> Async(Action action) {
  return std::async(std::launch::async, action);
}

// The folders of one walk: a shared folder, the operator's working folder, two guest PCs.
class Walk : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = gDemoFolder.empty() ? fs::temp_directory_path() /
                                      ("sentavo-walk-" + std::to_string(GetCurrentProcessId()))
                                : gDemoFolder / "walk";
    fs::remove_all(root_);
    shots_ = gDemoFolder.empty() ? FromBuild(SENTAVO_SCREENSHOTS) : gDemoFolder / "screenshots";
    fs::create_directories(shots_);
    share_ = root_ / "share";
    fs::create_directories(share_);
    TConfigRecord config;
    config.asFrontApp = true;
    config.rights = DefaultIssueRights();
    config.adminPassword = "vamor";
    config.establishment = "Demo";
    config.serverPath = share_.string() + "\\";
    const auto cfg = EncodeConfigRecord(config);
    fs::create_directories(root_ / "admin");
    WriteAll(root_ / "admin" / "Sentavo.cfg", cfg);
    const fs::path clientExe = FromBuild(SENTAVO_CLIENT_EXE);
    for (const char* pc : {"pc1", "pc2"}) {
      fs::create_directories(root_ / pc);
      fs::copy_file(clientExe, root_ / pc / "SentavoClient.exe");
      fs::copy_file(clientExe.parent_path() / "lockgina.dll", root_ / pc / "lockgina.dll");
      WriteAll(root_ / pc / "Sentavo.cfg", cfg);
    }
    trial_.emplace(Journal("pc1"));
  }

  void TearDown() override {
    EndClient(pc1_);
    EndClient(pc2_);
    EndAdmin();
    trial_.reset();
    if (gDemoFolder.empty()) {
      std::error_code ignored;
      fs::remove_all(root_, ignored);
    }
  }

  void Shot(const std::string& name) {
    EXPECT_TRUE(SaveScreenshot((shots_ / ("walk-" + name + ".png")).string()));
  }
  // Only this window, as its program draws it, even where a lock window covers the screen.
  void Shot(const std::string& name, HWND window) {
    EXPECT_TRUE(SaveWindowShot(window, (shots_ / ("walk-" + name + ".png")).string()));
  }

  // --- the operator's program ---
  HWND AdminWindow(const std::string& caption) { return admin_->WaitForTopWindow(Widen(caption)); }
  HWND AdminControl(int id) {
    return FindControl(AdminWindow(std::string(atext::kCodeWindowCaption)), id);
  }
  void ExpectAdminBox(std::string_view text) {
    const auto box = WaitForMessageBox(*admin_);
    ASSERT_TRUE(box) << "no message box, expected: " << text;
    EXPECT_EQ(box->text, text);
    EXPECT_TRUE(Answer(*box));
  }
  void StartAdmin() {
    admin_ = std::make_unique<Program>(FromBuild(SENTAVO_ADMIN_EXE).string(),
                                       std::vector<std::string>{}, (root_ / "admin").string());
    ASSERT_TRUE(admin_->started()) << "CreateProcess failed: " << admin_->startError();
    ExpectAdminBox(atext::kDefaultPasswordWarning);
    const HWND login = AdminWindow(std::string(atext::kLoginCaption));
    ASSERT_NE(login, nullptr);
    SetText(FindControl(login, aids::kAdminPass), L"vamor");
    auto done = Async([&] { Click(FindControl(login, aids::kOveritKodBut)); });
    ASSERT_NE(AdminWindow(std::string(atext::kCodeWindowCaption)), nullptr);
    done.wait();
  }
  void SelectTab(int index) {
    const HWND tabs = GetDlgItem(AdminControl(aids::kPages), aids::kPageTabs);
    EXPECT_TRUE(WaitUntil([&] {
      SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
      return TabCtrl_GetCurSel(tabs) == index;
    }));
  }
  // Issues a code of one hour with Alt+Tab blocked as well, one-time or reusable.
  void IssueInAdmin(const std::string& name, bool reusable) {
    SelectTab(2);  // "Vytváření kódů"
    SetText(AdminControl(aids::kKod), Widen(name));
    Click(AdminControl(aids::kOneHour));
    if (!IsChecked(AdminControl(aids::RightBox(Right::alttab))))
      Click(AdminControl(aids::RightBox(Right::alttab)));
    if (IsChecked(AdminControl(aids::kCanDivide)) != reusable)
      Click(AdminControl(aids::kCanDivide));
    EXPECT_TRUE(ChooseItem(AdminControl(aids::kTypKodu), 0));
    const HWND save = AdminControl(aids::kUlozitKod);
    auto done = Async([save] { Click(save); });
    ExpectAdminBox(atext::kCodeCreated);
    done.wait();
  }
  void DeleteInAdmin(const std::string& name) {
    SelectTab(1);  // "Vydané kódy"
    const HWND list = AdminControl(aids::kVydane);
    const int index =
        static_cast<int>(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(Widen(name).c_str())));
    ASSERT_GE(index, 0) << name << " is not on the list";
    const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    const LPARAM at = MAKELPARAM(20, (index - top) * height + height / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    Click(AdminControl(aids::kOdstranit));
  }
  // As an operator ends it: closing the code window leads back to the login window, whose
  // "Konec" ends the program.
  void EndAdmin() {
    if (!admin_) return;
    if (!admin_->WaitForExit(0ms)) {
      if (const HWND codes = admin_->FindTopWindow(Widen(atext::kCodeWindowCaption)))
        PostMessageW(codes, WM_CLOSE, 0, 0);
      if (const HWND login = AdminWindow(std::string(atext::kLoginCaption))) {
        Click(FindControl(login, aids::kKonecBut));
        EXPECT_EQ(admin_->WaitForExit(10s), 0u);
      }
    }
    admin_.reset();
  }

  // --- the guest PCs ---
  std::unique_ptr<Program> StartClient(const char* pc) {
    auto client = std::make_unique<Program>((root_ / pc / "SentavoClient.exe").string(),
                                            std::vector<std::string>{}, (root_ / pc).string());
    EXPECT_TRUE(client->started()) << "CreateProcess failed: " << client->startError();
    // Past the logon component's notice.
    const HWND window = WaitForTopWindowPastBoxes(*client, Widen(ctext::kWindowCaption));
    EXPECT_NE(window, nullptr);
    EXPECT_TRUE(WaitUntil(
        [&] { return TextUtf8(FindControl(window, cids::kOdpocetLED)) == "LOCKED"; }, 5s));
    return client;
  }
  // The library's trial mode is the machine's: one journal for both PCs of this Wine prefix.
  fs::path Journal(const char*) const { return root_ / "journal.txt"; }
  std::string JournalText(const char* pc) const {
    const auto bytes = ReadAll(Journal(pc));
    return {bytes.begin(), bytes.end()};
  }
  static HWND ClientControl(Program& client, int id) {
    return FindControl(client.WaitForTopWindow(Widen(ctext::kWindowCaption)), id);
  }
  static std::string ClientText(Program& client, int id) {
    return TextUtf8(ClientControl(client, id));
  }
  static void TypeCode(Program& client, const std::string& code) {
    SetText(ClientControl(client, cids::kKod), Widen(code));
    TypeChar(ClientControl(client, cids::kKod), L'\r');
  }
  // A guest PC taken out of service: the administrator logs in on the lock screen, and "Zrušit"
  // lifts every block, takes the client out of the machine's run-once list and ends it. Killed,
  // or ended any other way, a client stays on that list, and the next wineboot in this prefix
  // would start it again and wait for it for ever.
  static void EndClient(std::unique_ptr<Program>& client) {
    if (!client) return;
    if (!client->WaitForExit(0ms)) {
      TypeCode(*client, "vamor");
      const bool admin =
          WaitUntil([&] { return IsVisible(ClientControl(*client, cids::kZrusitBut)); }, 5s);
      EXPECT_TRUE(admin) << "the administrator could not log in on the lock screen";
      if (admin) Click(ClientControl(*client, cids::kZrusitBut));
      EXPECT_EQ(client->WaitForExit(10s), 0u);
    }
    client.reset();
  }
  static bool ClientInRunOnce() {
    return RegGetValueW(HKEY_LOCAL_MACHINE, Widen(lockengine::kRunOnceKey).c_str(),
                        Widen(lockengine::kFrontAppValue).c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
  }
  static bool InfoIs(Program& client, std::string_view text) {
    return WaitUntil([&] { return ClientText(client, cids::kInfoLabel) == text; }, 5s);
  }
  TCodeRecord Code(const std::string& name) const {
    return DecodeCodeRecord(ReadWhole(share_ / (name + ".dat"), kCodeRecordSize))
        .value_or(TCodeRecord{});
  }

  fs::path root_, shots_, share_;
  std::optional<TrialMode> trial_;  // before the programs: they go first
  std::unique_ptr<Program> admin_, pc1_, pc2_;
};

TEST_F(Walk, OneCodeFromIssueToExpiry) {
  // 1. The operator issues a reusable and a one-time code of 3600 seconds.
  StartAdmin();
  IssueInAdmin("host-deleny", true);
  IssueInAdmin("host-jednou", false);
  Shot("1-admin-issued");
  TCodeRecord fresh = Code("host-deleny");
  EXPECT_TRUE(fresh.active);
  EXPECT_FALSE(fresh.loggedIn);
  EXPECT_EQ(fresh.secondsLeft, 3600);
  EXPECT_EQ(fresh.establishment, "Demo");

  // 2. A guest PC shows "locked"; the guest types the code and the PC opens with its rights.
  pc1_ = StartClient("pc1");
  Shot("2-client-locked");
  EXPECT_TRUE(ClientInRunOnce());  // "asFrontApp": the client comes back after a restart
  const std::size_t before = JournalText("pc1").size();
  TypeCode(*pc1_, "host-deleny");
  ASSERT_TRUE(InfoIs(*pc1_, ctext::kUserLoggedIn));
  const std::string rights = JournalText("pc1").substr(before);
  EXPECT_NE(rights.find("wlDisableKey(0, 9, 1, 1)"), std::string::npos)
      << rights;  // Alt+Tab stays blocked
  EXPECT_NE(rights.find("wlDisableKey(0, 27, 1, 0)"), std::string::npos)
      << rights;  // Alt+Esc is let through

  // 3. The countdown runs and the code file follows it second by second.
  ASSERT_TRUE(WaitUntil([&] { return Code("host-deleny").loggedIn; }, 5s));
  const int first = Code("host-deleny").secondsLeft;
  ASSERT_TRUE(WaitUntil([&] { return Code("host-deleny").secondsLeft <= first - 2; }, 6s));
  EXPECT_TRUE(Code("host-deleny").loggedIn);
  EXPECT_EQ(ClientText(*pc1_, cids::kOdpocetLED).substr(0, 5), "0:59:");
  Shot("3-client-period");

  // 4. A second PC refuses the code while the first one uses it.
  pc2_ = StartClient("pc2");
  TypeCode(*pc2_, "host-deleny");
  EXPECT_TRUE(InfoIs(*pc2_, ctext::kAlreadyLoggedIn));
  Shot("4-second-pc-refuses");
  EndClient(pc2_);
  EXPECT_FALSE(ClientInRunOnce());

  // 5. The guest logs off: the time left is written back, the reusable code stays active.
  Click(ClientControl(*pc1_, cids::kOdhlasitUseraBut));
  ASSERT_TRUE(WaitUntil([&] { return !Code("host-deleny").loggedIn; }, 5s));
  TCodeRecord paused = Code("host-deleny");
  EXPECT_TRUE(paused.active);
  EXPECT_LT(paused.secondsLeft, 3600);
  EXPECT_GT(paused.secondsLeft, 3500);
  EXPECT_TRUE(WaitUntil([&] { return ClientText(*pc1_, cids::kOdpocetLED) == "LOCKED"; }, 5s));

  // ... and a one-time code is used up by its log-off.
  TypeCode(*pc1_, "host-jednou");
  ASSERT_TRUE(InfoIs(*pc1_, ctext::kUserLoggedIn));
  ASSERT_TRUE(WaitUntil([&] { return Code("host-jednou").loggedIn; }, 5s));
  Click(ClientControl(*pc1_, cids::kOdhlasitUseraBut));
  ASSERT_TRUE(WaitUntil([&] { return !Code("host-jednou").loggedIn; }, 5s));
  EXPECT_FALSE(Code("host-jednou").active);

  // 6. A short code expires with its message.
  IssueRequest shortCode;
  shortCode.rights = DefaultIssueRights();
  shortCode.seconds = 2;
  shortCode.establishment = "Demo";
  const DateTime now = SystemClock().LocalNow();
  shortCode.validFrom = AddDays(now, -1);
  shortCode.validTo = AddDays(now, 1);
  WriteAll(share_ / "kratky.dat",
           EncodeCodeRecord(BuildIssuedRecord(shortCode, now, CzechFormats())));
  TypeCode(*pc1_, "kratky");
  ASSERT_TRUE(WaitUntil([&] { return ClientText(*pc1_, cids::kInfoLabel) == ctext::kTimeUp; }, 8s));
  EXPECT_FALSE(Code("kratky").active);
  EXPECT_EQ(Code("kratky").secondsLeft, 0);
  Shot("5-client-expired");

  // 7. "Odstranit" removes the code file; the guest PC then refuses the code as nonexistent.
  DeleteInAdmin("host-deleny");
  ASSERT_TRUE(WaitUntil([&] { return !fs::exists(share_ / "host-deleny.dat"); }, 5s));
  Shot("6-admin-deleted", AdminWindow(std::string(atext::kCodeWindowCaption)));
  TypeCode(*pc1_, "host-deleny");
  EXPECT_TRUE(InfoIs(*pc1_, ctext::kCodeMissing));
  Shot("7-client-refuses-deleted");

  // 8. Both programs end as their operators end them; no client is left to start at the next boot.
  EndClient(pc1_);
  EXPECT_FALSE(ClientInRunOnce());
  EndAdmin();
}

// The operator's overview with a real guest PC beside a report of another PC (this test's Wine
// prefix is one computer, so the second PC only writes its report): the overview follows the real
// PC from locked to a guest's period, its "Zamknout" locks that PC and no other, and its
// "Zpráva…" reaches the guest.
TEST_F(Walk, TheOverviewFollowsARealPcAndItsCommandsReachIt) {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  GetComputerNameW(name, &size);
  const std::string pc = Narrow(std::wstring(name, size));
  fs::create_directories(share_ / "stav");
  StationStatus other;
  other.pc = "PC-VEDLE";
  other.state = StationState::Locked;
  other.since = other.updated =
      LocalTime{SystemClock().LocalNow(), SystemClock().UtcOffsetMinutes()};
  other.guarded = true;
  other.version = "1.2";
  const std::string otherJson = EncodeStatus(other);
  WriteAll(share_ / "stav" / "PC-VEDLE.json",
           std::span(reinterpret_cast<const std::uint8_t*>(otherJson.data()), otherJson.size()));

  StartAdmin();
  pc1_ = StartClient("pc1");
  IssueInAdmin("walk-prehled", /*reusable=*/true);
  SelectTab(0);  // "Přehled"
  const HWND list = AdminControl(aids::kPrehled);
  ASSERT_NE(list, nullptr);
  const auto rowOf = [&](const std::string& station) {
    for (int r = 0; r < ListViewCount(list); ++r) {
      if (ListViewText(list, r, 0) == station) return r;
    }
    return -1;
  };
  ASSERT_TRUE(WaitUntil([&] { return rowOf(pc) >= 0 && rowOf("PC-VEDLE") >= 0; }, 10s))
      << ListViewCount(list) << " rows";
  EXPECT_TRUE(WaitUntil([&] { return ListViewText(list, rowOf(pc), 1) == "Zamčeno"; }, 10s));
  EXPECT_EQ(ListViewText(list, rowOf(pc), 6), "ne");  // no guard here

  TypeCode(*pc1_, "walk-prehled");
  ASSERT_TRUE(WaitUntil([&] { return ListViewText(list, rowOf(pc), 1) == "Host"; }, 10s))
      << ListViewText(list, rowOf(pc), 1);
  EXPECT_EQ(ListViewText(list, rowOf(pc), 2), "walk-prehled");
  const std::string left = ListViewText(list, rowOf(pc), 3);
  EXPECT_TRUE(left == "1:00:00" || left.starts_with("0:59:")) << left;
  EXPECT_EQ(ListViewText(list, rowOf("PC-VEDLE"), 1), "Zamčeno");
  Shot("6-admin-overview", AdminWindow(std::string(atext::kCodeWindowCaption)));

  // "Zpráva…" to the real PC: the guest sees it.
  ASSERT_TRUE(ListViewSelect(list, rowOf(pc)));
  const HWND zprava = AdminControl(aids::kZprava);
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(zprava); }));
  {
    auto click = Async([&] { Click(zprava); });
    const auto dialog = WaitForMessageBox(*admin_);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->caption, atext::kMessageCaption);
    SetText(GetDlgItem(dialog->hwnd, aids::kInputEdit), L"Za 10 minut zavíráme.");
    EXPECT_TRUE(Answer(*dialog));
    click.wait();
  }
  ProcessWindow notice;
  EXPECT_TRUE(WaitUntil(
      [&] { return (notice = FindVisibleWindow(Widen(ctext::kNoticeCaption))).hwnd != nullptr; },
      10s));
  if (notice.hwnd) {
    EXPECT_EQ(notice.pid, pc1_->pid());
    EXPECT_EQ(TextUtf8(FindControl(notice.hwnd, cids::kNoticeText)), "Za 10 minut zavíráme.");
  }

  // "Zamknout": the real PC locks, the other PC gets no command.
  const HWND zamknout = AdminControl(aids::kZamknout);
  ASSERT_TRUE(ListViewSelect(list, rowOf(pc)));
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(zamknout); }));
  const auto sent = std::chrono::steady_clock::now();
  Click(zamknout);
  ASSERT_TRUE(WaitUntil([&] { return ClientText(*pc1_, cids::kOdpocetLED) == "LOCKED"; }, 10s));
  std::printf("Zamknout to the PC locked: %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - sent)
                                         .count()));
  EXPECT_FALSE(Code("walk-prehled").loggedIn);
  EXPECT_FALSE(fs::exists(share_ / "prikazy" / "PC-VEDLE.json"));
  EXPECT_TRUE(WaitUntil([&] { return ListViewText(list, rowOf(pc), 1) == "Zamčeno"; }, 10s));
}

}  // namespace
}  // namespace sentavo::e2e

int main(int argc, char** argv) {
  // "--demo DIR" before GoogleTest sees the arguments.
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--demo") {
      sentavo::e2e::gDemoFolder = argv[i + 1];
      for (int j = i; j + 2 <= argc; ++j) argv[j] = argv[j + 2];
      argc -= 2;
      break;
    }
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
