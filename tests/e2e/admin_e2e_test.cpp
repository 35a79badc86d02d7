// SentavoAdmin.exe driven as an operator would: its message boxes, its files byte for byte, and
// screenshots of its windows under build/windows/screenshots.
#include <gtest/gtest.h>
#include <windows.h>
// clang-format off
#include <commctrl.h>
#include <dlgs.h>
#include <winspool.h>
// clang-format on

#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>

#include "administration/admin_ids.h"
#include "administration/admin_texts.h"
#include "administration/overview.h"
#include "driver_win.h"
#include "formats/clock.h"
#include "formats/code_record.h"
#include "formats/config_record.h"
#include "formats/issuing.h"
#include "formats/station.h"
#include "formats/usage_log.h"
#include "formats/wide_win.h"
#include "widgets/path_box_win.h"

namespace sentavo::e2e {
namespace {

namespace fs = std::filesystem;
namespace ids = admin::ids;
namespace text = admin::text;

// The code-management window's tabs, in their order.
constexpr int kOverviewTab = 0;
constexpr int kIssuedTab = 1;
constexpr int kCreationTab = 2;
constexpr int kSettingsTab = 3;
constexpr int kStatisticsTab = 4;

fs::path SelfFolder() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path();
}

fs::path AdminExe() {
  return SelfFolder().parent_path().parent_path() / "administration" / "SentavoAdmin.exe";
}

std::string Screenshot(const char* name) {
  const fs::path folder = SelfFolder().parent_path().parent_path() / "screenshots";
  fs::create_directories(folder);
  return (folder / name).string();
}

std::vector<std::uint8_t> FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::uint8_t> TextBytes(std::string_view s) {
  return {s.begin(), s.end()};
}

void WriteFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A fresh working folder for one run, removed afterwards.
struct WorkFolder {
  WorkFolder() {
    path =
        fs::temp_directory_path() / ("sentavo-admin-e2e-" + std::to_string(GetCurrentProcessId()) +
                                     "-" + std::to_string(counter++));
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~WorkFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  fs::path path;
  static inline int counter = 0;
};

DateTime LocalNow() {
  return SystemClock().LocalNow();
}

// Runs an action that may open a modal box in the program (a click, Enter) without blocking on
// it: the test answers the box while the action is still inside the program.
template <class Action>
std::future<void> Async(Action action) {
  return std::async(std::launch::async, action);
}

class AdminRun {
 public:
  explicit AdminRun(const fs::path& work) : program_(AdminExe().string(), {}, work.string()) {}

  Program& program() { return program_; }

  // The next message box must be exactly this one; answers it with "OK".
  void ExpectBox(std::string_view caption, std::string_view message) {
    const auto box = WaitForMessageBox(program_);
    ASSERT_TRUE(box) << "no message box, expected: " << message;
    EXPECT_EQ(box->caption, caption);
    EXPECT_EQ(box->text, message);
    EXPECT_TRUE(Answer(*box));
  }
  void ExpectNoBox() {
    Sleep(700);
    const auto box = FindMessageBox(program_);
    EXPECT_FALSE(box) << "unexpected box: " << box->text;
    if (box) Answer(*box);
  }

  HWND Login() { return program_.WaitForTopWindow(Widen(text::kLoginCaption)); }
  HWND Codes() { return program_.WaitForTopWindow(Widen(text::kCodeWindowCaption)); }
  HWND LoginControl(int id) { return FindControl(Login(), id); }
  HWND CodesControl(int id) { return FindControl(Codes(), id); }
  HWND PathEdit(int boxId) { return FindControl(CodesControl(boxId), widgets::kBoxEditId); }

  // A click or Enter that is answered by exactly this box.
  template <class Action>
  void ActAndExpect(Action action, std::string_view caption, std::string_view message) {
    auto done = Async(action);
    ExpectBox(caption, message);
    done.wait();
  }
  void ClickAndExpect(int id, std::string_view caption, std::string_view message) {
    const HWND button = CodesControl(id);
    ASSERT_NE(button, nullptr);
    ActAndExpect([button] { Click(button); }, caption, message);
  }

  void LogIn(const std::string& password) {
    SetText(LoginControl(ids::kAdminPass), Widen(password));
    auto done = Async([this] { Click(LoginControl(ids::kOveritKodBut)); });
    EXPECT_TRUE(WaitUntil([this] { return IsVisible(Codes()) && !IsVisible(LoginHandle()); }));
    done.wait();
  }
  HWND LoginHandle() {
    for (HWND h : program_.TopWindows()) {
      if (Text(h) == Widen(text::kLoginCaption)) return h;
    }
    return nullptr;
  }

  // Picks a tab as the operator does, so that the program hears of it.
  void SelectTab(int index) {
    const HWND tabs = Tabs();
    ASSERT_NE(tabs, nullptr);
    EXPECT_TRUE(WaitUntil([&] {
      SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
      return TabCtrl_GetCurSel(tabs) == index;
    }));
  }
  int CurrentTab() { return TabCtrl_GetCurSel(Tabs()); }
  // The tab row is a direct child of the page control (the path boxes hold IDs of their own).
  HWND Tabs() { return GetDlgItem(CodesControl(ids::kPages), ids::kPageTabs); }
  // The page that the operator sees.
  bool PageShows(int controlId) { return IsVisible(CodesControl(controlId)); }

  void ChooseType(int index) { EXPECT_TRUE(ChooseItem(CodesControl(ids::kTypKodu), index)); }

  // The mouse on the row of `index` in the issued-codes list.
  void PointAtRow(int index, bool twice) {
    const HWND list = CodesControl(ids::kVydane);
    const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    const LPARAM at = MAKELPARAM(20, (index - top) * height + height / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    if (twice) {
      SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      SendMessageW(list, WM_LBUTTONUP, 0, at);
    }
  }
  int ListCount() {
    return static_cast<int>(SendMessageW(CodesControl(ids::kVydane), LB_GETCOUNT, 0, 0));
  }

 private:
  Program program_;
};

DateTime Combine(const DateTime& day, const DateTime& time) {
  return DateTime{day.year, day.month, day.day, time.hour, time.minute, time.second};
}

// The code file must be exactly what "Uložit kód" builds from `request` at the moment of saving;
// the moments the file holds must lie in [from, to] and the window span `days`.
void ExpectCodeFile(const fs::path& file, IssueRequest request, int days, const DateTime& from,
                    const DateTime& to) {
  const std::vector<std::uint8_t> bytes = FileBytes(file);
  ASSERT_EQ(bytes.size(), kCodeRecordSize) << file;
  const auto decoded = DecodeCodeRecord(bytes);
  ASSERT_TRUE(decoded);
  const DateTime created = *FromOleDate(decoded->created);
  const DateTime validFrom =
      Combine(*FromOleDate(decoded->validFromDate), *FromOleDate(decoded->validFromTime));
  const DateTime validTo =
      Combine(*FromOleDate(decoded->validToDate), *FromOleDate(decoded->validToTime));
  DateTime fromSecond = from;
  fromSecond.millisecond = 0;
  EXPECT_LE(fromSecond, validFrom);
  EXPECT_LE(validFrom, to);
  EXPECT_LE(from, created);
  EXPECT_LE(created, to);
  EXPECT_EQ(validTo, AddDays(validFrom, days));
  request.validFrom = validFrom;
  request.validTo = validTo;
  const auto formats = MakeSystemFormats();
  const CodeRecordBytes expected = EncodeCodeRecord(BuildIssuedRecord(request, created, *formats));
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin(), bytes.end()))
      << "code file " << file << " differs from the record built for it";
}

std::string Grouped(int value) {
  const std::string s = std::to_string(value);
  wchar_t sep[8] = L",";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, sep, 8);
  return s.size() > 3 ? s.substr(0, s.size() - 3) + Narrow(sep) + s.substr(s.size() - 3) : s;
}

TEST(SentavoAdmin, IssuesOverwritesDeletesAndSavesSettings) {
  WorkFolder work;
  const fs::path share = work.path / "sdileno";
  fs::create_directories(share);
  const std::string shareText = share.string();
  const DateTime started = LocalNow();

  AdminRun run(work.path);
  ASSERT_TRUE(run.program().started()) << "CreateProcess failed: " << run.program().startError();
  run.ExpectBox(text::kInformationCaption, text::kDefaultPasswordWarning);
  ASSERT_NE(run.Login(), nullptr);

  // A wrong password first: the default one in capitals.
  SetText(run.LoginControl(ids::kAdminPass), L"VAMOR");
  run.ActAndExpect([&] { Click(run.LoginControl(ids::kOveritKodBut)); }, text::kErrorCaption,
                   text::kWrongPassword);
  EXPECT_EQ(TextUtf8(run.LoginControl(ids::kAdminPass)), "VAMOR");
  EXPECT_TRUE(SaveScreenshot(Screenshot("admin-login.png")));

  // Enter in the password box logs in like the button.
  SetText(run.LoginControl(ids::kAdminPass), L"vamor");
  auto enter = Async([&] { TypeChar(run.LoginControl(ids::kAdminPass), L'\r'); });
  ASSERT_TRUE(WaitUntil([&] { return IsVisible(run.Codes()); }));
  enter.wait();
  EXPECT_FALSE(IsVisible(run.LoginHandle()));
  EXPECT_EQ(run.CurrentTab(), kIssuedTab);
  EXPECT_EQ(run.ListCount(), 0);
  EXPECT_FALSE(fs::exists(work.path / "codes.dat"));

  // The shared folder and establishment, typed but not saved.
  run.SelectTab(kSettingsTab);
  EXPECT_TRUE(run.PageShows(ids::kProvoz));
  EXPECT_FALSE(run.PageShows(ids::kVydane));
  EXPECT_EQ(TextUtf8(run.PathEdit(ids::kServerCesta)), "C:\\");
  EXPECT_FALSE(IsVisible(run.CodesControl(ids::kPredprava)));
  EXPECT_EQ(TextUtf8(run.CodesControl(ids::kOrderLink)), text::kOrderLink);
  SetText(run.PathEdit(ids::kServerCesta), Widen(shareText + "\\"));
  const std::string provoz = "Kavárna U Tří lip";
  SetText(run.CodesControl(ids::kProvoz), Widen(provoz));

  // A one-time code: the type must be chosen first.
  run.SelectTab(kCreationTab);
  SetText(run.CodesControl(ids::kKod), L"HOST1");
  run.ClickAndExpect(ids::kUlozitKod, text::kErrorCaption, text::kChooseCodeType);
  run.ChooseType(0);
  Click(run.CodesControl(ids::kTwoHours));
  EXPECT_EQ(TextUtf8(run.CodesControl(ids::kBudgetBox)), Grouped(7200));
  Click(run.CodesControl(ids::RightBox(Right::alttab)));
  EXPECT_TRUE(IsChecked(run.CodesControl(ids::RightBox(Right::alttab))));
  EXPECT_TRUE(SaveScreenshot(Screenshot("admin-creation.png")));
  run.ClickAndExpect(ids::kUlozitKod, text::kInformationCaption, text::kCodeCreated);
  IssueRequest host1;
  host1.rights = DefaultIssueRights();
  host1.rights[RightIndex(Right::alttab)] = true;
  host1.seconds = 7200;
  host1.establishment = provoz;
  host1.codeType = kCodeTypeOnce;
  ExpectCodeFile(share / "HOST1.dat", host1, 1, started, LocalNow());
  EXPECT_EQ(FileBytes(work.path / "codes.dat"), TextBytes("HOST1\r\n"));

  // A daily code under a suggested name, with a typed budget: a week's window, divisible.
  Click(run.CodesControl(ids::kNavrhnout));
  const std::string suggested = TextUtf8(run.CodesControl(ids::kKod));
  EXPECT_FALSE(suggested.empty());
  EXPECT_EQ(suggested.find_first_not_of("0123456789"), std::string::npos) << suggested;
  EXPECT_TRUE(IsChecked(run.CodesControl(ids::kCanDivide)));
  run.ChooseType(1);
  SetText(run.CodesControl(ids::kBudgetBox), Widen(Grouped(1800)));
  run.ClickAndExpect(ids::kUlozitKod, text::kInformationCaption, text::kCodeCreated);
  IssueRequest daily = host1;
  daily.reusable = true;
  daily.seconds = 1800;
  daily.codeType = kCodeTypeDaily;
  ExpectCodeFile(share / (suggested + ".dat"), daily, 7, started, LocalNow());
  EXPECT_EQ(FileBytes(work.path / "codes.dat"), TextBytes("HOST1\r\n" + suggested + "\r\n"));

  // HOST1 taken over by a double-click and saved again: replaced whole, the list unchanged.
  run.SelectTab(kIssuedTab);
  EXPECT_EQ(run.ListCount(), 2);
  run.PointAtRow(0, true);
  EXPECT_TRUE(WaitUntil([&] { return run.CurrentTab() == kCreationTab; }));
  EXPECT_TRUE(run.PageShows(ids::kKod));
  EXPECT_EQ(TextUtf8(run.CodesControl(ids::kKod)), "HOST1");
  Click(run.CodesControl(ids::kOneHour));
  run.ClickAndExpect(ids::kUlozitKod, text::kInformationCaption, text::kCodeReplaced);
  IssueRequest replaced = daily;
  replaced.seconds = 3600;
  ExpectCodeFile(share / "HOST1.dat", replaced, 7, started, LocalNow());
  EXPECT_EQ(FileBytes(work.path / "codes.dat"), TextBytes("HOST1\r\n" + suggested + "\r\n"));

  // "Hledat:" narrows the list to the suggested code; its one row deleted: its file and its
  // entry go, no question asked.
  run.SelectTab(kIssuedTab);
  const HWND hledat = run.CodesControl(ids::kHledat);
  SetText(hledat, Widen(suggested));
  EXPECT_TRUE(WaitUntil([&] { return run.ListCount() == 1; }));
  run.PointAtRow(0, false);
  Click(run.CodesControl(ids::kOdstranit));
  run.ExpectNoBox();
  EXPECT_FALSE(fs::exists(share / (suggested + ".dat")));
  EXPECT_TRUE(fs::exists(share / "HOST1.dat"));
  EXPECT_EQ(run.ListCount(), 0);
  EXPECT_EQ(FileBytes(work.path / "codes.dat"), TextBytes("HOST1\r\n"));
  SetText(hledat, L"host");  // in any letter case
  EXPECT_TRUE(WaitUntil([&] { return run.ListCount() == 1; }));
  EXPECT_TRUE(SaveScreenshot(Screenshot("admin-issued.png")));
  SetText(hledat, L"");
  EXPECT_EQ(run.ListCount(), 1);

  // Settings saved with the server path lacking its backslash: the box gets it at once.
  run.SelectTab(kSettingsTab);
  SetText(run.PathEdit(ids::kServerCesta), Widen(shareText));
  SetText(run.CodesControl(ids::kAdminHeslo), L"tajné heslo");
  SetText(run.PathEdit(ids::kPozadiFile), L"C:\\obrázky\\pozadí.jpg");
  run.ClickAndExpect(ids::kUlozitNastaveni, text::kInformationCaption, text::kSettingsSaved);
  EXPECT_EQ(TextUtf8(run.PathEdit(ids::kServerCesta)), shareText + "\\");
  TConfigRecord config;
  config.asFrontApp = true;
  config.rights[RightIndex(Right::ctrlaltdel)] = true;
  config.adminPassword = "tajné heslo";
  config.establishment = provoz;
  config.serverPath = shareText + "\\";
  config.backgroundFile = "C:\\obrázky\\pozadí.jpg";
  const ConfigRecordBytes expectedConfig = EncodeConfigRecord(config);
  EXPECT_EQ(FileBytes(work.path / "Sentavo.cfg"),
            std::vector<std::uint8_t>(expectedConfig.begin(), expectedConfig.end()));
  EXPECT_TRUE(SaveScreenshot(Screenshot("admin-settings.png")));

  // Back to the login window: the saved password is in force, so no warning.
  SetText(run.CodesControl(ids::kAdminHeslo), L"neuloženo");
  PostMessageW(run.Codes(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsVisible(run.LoginHandle()); }));
  run.ExpectNoBox();
  EXPECT_EQ(TextUtf8(run.LoginControl(ids::kAdminPass)), "vamor");
  run.ActAndExpect([&] { Click(run.LoginControl(ids::kOveritKodBut)); }, text::kErrorCaption,
                   text::kWrongPassword);
  run.LogIn("tajné heslo");
  EXPECT_EQ(TextUtf8(run.CodesControl(ids::kAdminHeslo)), "tajné heslo");
  EXPECT_EQ(run.ListCount(), 1);
  EXPECT_EQ(run.CurrentTab(), kIssuedTab);

  // "Konec" ends the program and saves nothing.
  PostMessageW(run.Codes(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return IsVisible(run.LoginHandle()); }));
  Click(run.LoginControl(ids::kKonecBut));
  EXPECT_EQ(run.program().WaitForExit(), 0u);
  EXPECT_EQ(FileBytes(work.path / "Sentavo.cfg"),
            std::vector<std::uint8_t>(expectedConfig.begin(), expectedConfig.end()));
}

// A file held open by another program with no sharing, as a second SentavoAdmin or a backup tool
// may hold it: neither read nor deleted until closed.
struct HeldFile {
  explicit HeldFile(const fs::path& path)
      : handle(CreateFileW(path.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() { Release(); }
  void Release() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
  }
  HANDLE handle;
};

TEST(SentavoAdmin, AnUnreadableListIsNotWrittenOverAndOdstranitSaysWhatItDid) {
  WorkFolder work;
  const fs::path share = work.path / "sdileno";
  fs::create_directories(share);
  TConfigRecord config;
  config.adminPassword = "x";
  config.serverPath = share.string() + "\\";
  WriteFile(work.path / "Sentavo.cfg", EncodeConfigRecord(config));
  const std::vector<std::uint8_t> list = TextBytes("A\r\nB\r\n");
  WriteFile(work.path / "codes.dat", list);
  WriteFile(share / "A.dat", std::vector<std::uint8_t>(kCodeRecordSize, 0));

  // codes.dat cannot be read at login: reported, and the window starts without the list.
  HeldFile held(work.path / "codes.dat");
  ASSERT_NE(held.handle, INVALID_HANDLE_VALUE);
  AdminRun run(work.path);
  ASSERT_NE(run.Login(), nullptr);
  run.ExpectNoBox();
  SetText(run.LoginControl(ids::kAdminPass), L"x");
  {
    auto click = Async([&] { Click(run.LoginControl(ids::kOveritKodBut)); });
    const auto box = WaitForMessageBox(run.program());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, text::kAppTitle);
    EXPECT_TRUE(box->text.starts_with("Cannot open file ")) << box->text;
    EXPECT_TRUE(box->text.ends_with("codes.dat.")) << box->text;
    EXPECT_TRUE(Answer(*box));
    click.wait();
  }
  EXPECT_EQ(run.ListCount(), 0);

  // Still held at the save: the code is written, the list on the disk is not touched.
  run.SelectTab(kCreationTab);
  SetText(run.CodesControl(ids::kKod), L"N");
  run.ChooseType(0);
  {
    auto click = Async([&] { Click(run.CodesControl(ids::kUlozitKod)); });
    run.ExpectBox(text::kInformationCaption, text::kCodeCreated);
    run.ExpectBox(text::kErrorCaption, text::kCodesListNotSaved);
    click.wait();
  }
  EXPECT_TRUE(fs::exists(share / "N.dat"));
  held.Release();
  EXPECT_EQ(FileBytes(work.path / "codes.dat"), list);
  EXPECT_FALSE(fs::exists(work.path / "codes.dat.bak"));

  // N's file removed outside the program: "Odstranit" drops the entry and says so. The list is
  // readable now, so it is read first and saved whole, its previous version kept beside it.
  fs::remove(share / "N.dat");
  run.SelectTab(kIssuedTab);
  ASSERT_EQ(run.ListCount(), 1);
  run.PointAtRow(0, false);
  run.ClickAndExpect(ids::kOdstranit, text::kInformationCaption, text::kCodeFileMissing);
  EXPECT_TRUE(WaitUntil([&] { return run.ListCount() == 2; }));
  EXPECT_EQ(FileBytes(work.path / "codes.dat"), list);
  EXPECT_EQ(FileBytes(work.path / "codes.dat.bak"), list);

  // A code file that another program holds is not deleted: the box names the code, the entry
  // stays, and the list is not rewritten.
  HeldFile heldCode(share / "A.dat");
  ASSERT_NE(heldCode.handle, INVALID_HANDLE_VALUE);
  run.PointAtRow(0, false);
  {
    auto click = Async([&] { Click(run.CodesControl(ids::kOdstranit)); });
    const auto box = WaitForMessageBox(run.program());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, text::kErrorCaption);
    EXPECT_TRUE(box->text.starts_with("Kód A nelze odstranit: ")) << box->text;
    EXPECT_GT(box->text.size(), std::string("Kód A nelze odstranit: ").size());
    EXPECT_TRUE(Answer(*box));
    click.wait();
  }
  EXPECT_TRUE(fs::exists(share / "A.dat"));
  EXPECT_EQ(run.ListCount(), 2);
  EXPECT_EQ(FileBytes(work.path / "codes.dat"), list);
  heldCode.Release();

  // Released: the same press deletes file and entry without a word.
  run.PointAtRow(0, false);
  auto click = Async([&] { Click(run.CodesControl(ids::kOdstranit)); });
  run.ExpectNoBox();
  click.wait();
  EXPECT_FALSE(fs::exists(share / "A.dat"));
  EXPECT_EQ(FileBytes(work.path / "codes.dat"), TextBytes("B\r\n"));
  EXPECT_EQ(FileBytes(work.path / "codes.dat.bak"), list);
  run.program().Kill();
}

TEST(SentavoAdmin, MissingSharedFolderIsReportedAndWritesNothing) {
  WorkFolder work;
  TConfigRecord config;
  config.adminPassword = "x";
  config.serverPath = (work.path / "chybi").string();  // no such folder, no final backslash
  const ConfigRecordBytes bytes = EncodeConfigRecord(config);
  WriteFile(work.path / "Sentavo.cfg", bytes);

  AdminRun run(work.path);
  ASSERT_NE(run.Login(), nullptr);
  run.ExpectNoBox();
  run.LogIn("x");
  run.SelectTab(kSettingsTab);
  EXPECT_EQ(TextUtf8(run.PathEdit(ids::kServerCesta)), config.serverPath + "\\");
  run.SelectTab(kCreationTab);
  SetText(run.CodesControl(ids::kKod), L"A1");
  run.ChooseType(0);
  run.ClickAndExpect(ids::kUlozitKod, text::kAppTitle, "Invalid filename.");
  EXPECT_FALSE(fs::exists(work.path / "codes.dat"));
  EXPECT_EQ(run.ListCount(), 0);

  // A name that is no plain file name is refused before anything is written.
  SetText(run.CodesControl(ids::kKod), L"..\\A1");
  run.ClickAndExpect(ids::kUlozitKod, text::kErrorCaption, text::kBadCodeName);
  run.program().Kill();
}

TEST(SentavoAdmin, ShortConfigurationIsReportedAndTheDefaultPasswordAdmits) {
  WorkFolder work;
  WriteFile(work.path / "Sentavo.cfg", std::vector<std::uint8_t>(1000, 0));

  AdminRun run(work.path);
  run.ExpectBox(text::kAppTitle, "Read beyond end of file.");
  run.ExpectNoBox();  // no default-password warning after the failed read
  ASSERT_NE(run.Login(), nullptr);
  run.LogIn("vamor");
  run.program().Kill();
  EXPECT_EQ(fs::file_size(work.path / "Sentavo.cfg"), 1000u);
}

// A status as a station writes it, reporting `ago` seconds before `now`.
StationStatus StationReport(const std::string& pc, StationState state, const LocalTime& now,
                            int ago) {
  StationStatus s;
  s.pc = pc;
  s.uid = "1179722422";
  s.state = state;
  s.since = now;
  s.since.local = *FromOleDate(ToOleDate(now.local) - (ago + 900) / 86400.0);
  s.since.local.millisecond = 0;
  s.updated = now;
  s.updated.local = *FromOleDate(ToOleDate(now.local) - ago / 86400.0);
  s.updated.local.millisecond = 0;
  s.guarded = true;
  s.version = "1.0";
  return s;
}

void PutStatus(const fs::path& share, const StationStatus& s) {
  const std::string json = EncodeStatus(s);
  // Written beside and moved into place, as the stations do, so the program never reads half.
  const fs::path target = share / "stav" / (s.pc + ".json");
  const fs::path temp = share / "stav" / (s.pc + ".json.~e2e.tmp");
  WriteFile(temp, TextBytes(json));
  fs::rename(temp, target);
}

std::string FileText(const fs::path& path) {
  const std::vector<std::uint8_t> bytes = FileBytes(path);
  return {bytes.begin(), bytes.end()};
}

TEST(SentavoAdmin, OverviewShowsThePcsAndSendsThemCommands) {
  WorkFolder work;
  const fs::path share = work.path / "sdileno";
  fs::create_directories(share / "stav");
  TConfigRecord config;
  config.adminPassword = "x";
  config.serverPath = share.string() + "\\";
  WriteFile(work.path / "Sentavo.cfg", EncodeConfigRecord(config));

  const LocalTime now = admin::LocalNowWithOffset(SystemClock());
  const StationStatus locked = StationReport("PC-01", StationState::Locked, now, 1);
  StationStatus guest = StationReport("pc-02", StationState::Guest, now, 2);
  guest.code = "4711";
  guest.secondsLeft = 1800;
  guest.guarded = false;
  const StationStatus stale = StationReport("PC-03", StationState::Guest, now, 120);
  for (const StationStatus& s : {locked, guest, stale}) PutStatus(share, s);

  AdminRun run(work.path);
  ASSERT_NE(run.Login(), nullptr);
  run.ExpectNoBox();
  run.LogIn("x");
  run.SelectTab(kOverviewTab);
  EXPECT_TRUE(run.PageShows(ids::kPrehled));
  EXPECT_FALSE(run.PageShows(ids::kVydane));
  const HWND list = run.CodesControl(ids::kPrehled);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ListViewCount(list) == 3; })) << ListViewCount(list);

  std::vector<std::string> columns;
  for (int c = 0; c < 7; ++c) columns.push_back(ListViewColumn(list, c));
  EXPECT_EQ(columns, (std::vector<std::string>{"Počítač", "Stav", "Kód", "Zbývá", "Od",
                                               "Poslední hlášení", "Ochrana"}));
  const auto formats = MakeSystemFormats();
  const auto row = [&](int r) {
    std::vector<std::string> cells;
    for (int c = 0; c < 7; ++c) cells.push_back(ListViewText(list, r, c));
    return cells;
  };
  using Cells = std::vector<std::string>;
  EXPECT_EQ(row(0), (Cells{"PC-01", "Zamčeno", "", "", formats->LongTime(locked.since.local),
                           formats->LongTime(locked.updated.local), "ano"}));
  EXPECT_EQ(row(1), (Cells{"pc-02", "Host", "4711", "0:30:00", formats->LongTime(guest.since.local),
                           formats->LongTime(guest.updated.local), "ne"}));
  EXPECT_EQ(row(2), (Cells{"PC-03", "Nedostupný", "", "", formats->LongTime(stale.since.local),
                           formats->LongTime(stale.updated.local), "ano"}));
  const HWND zamknout = run.CodesControl(ids::kZamknout);
  const HWND pridatCas = run.CodesControl(ids::kPridatCas);
  const HWND zprava = run.CodesControl(ids::kZprava);
  for (HWND button : {zamknout, pridatCas, zprava}) EXPECT_FALSE(IsEnabled(button));

  // A station's new report shows within the notification's quick look, well inside 3 s.
  StationStatus unlocked = StationReport("PC-01", StationState::Guest, now, 0);
  unlocked.code = "1234";
  unlocked.secondsLeft = 3599;
  PutStatus(share, unlocked);
  EXPECT_TRUE(WaitUntil([&] { return ListViewText(list, 0, 1) == "Host"; }, 3s));
  EXPECT_EQ(ListViewText(list, 0, 2), "1234");
  EXPECT_EQ(ListViewText(list, 0, 3), "0:59:59");

  // "Zamknout" on the selected PC writes its command file and nothing else.
  ASSERT_TRUE(ListViewSelect(list, 0));
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(zamknout); }));
  EXPECT_TRUE(IsEnabled(pridatCas));
  EXPECT_TRUE(IsEnabled(zprava));
  Click(zamknout);
  run.ExpectNoBox();
  const fs::path commands = share / "prikazy";
  EXPECT_EQ(FileText(commands / "PC-01.json"), EncodeCommand(LockCommand{}));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(commands)) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"PC-01.json"});
  EXPECT_TRUE(WaitUntil([&] {
    return TextUtf8(run.CodesControl(ids::kPrikazInfo)).starts_with("Odesláno: Zamknout (");
  }));

  // "Přidat čas…": its dialog, 30 minutes, the addTime command in place of the lock. The press
  // returns only once the dialog and whatever box follows it are answered.
  const auto typeMinutes = [&](const wchar_t* typed) {
    auto click = Async([&] { Click(pridatCas); });
    const auto dialog = WaitForMessageBox(run.program());
    EXPECT_TRUE(dialog);
    if (!dialog) return click;
    EXPECT_EQ(dialog->caption, text::kAddTimeCaption);
    EXPECT_EQ(TextUtf8(GetDlgItem(dialog->hwnd, ids::kInputPrompt)), text::kAddTimePrompt);
    SetText(GetDlgItem(dialog->hwnd, ids::kInputEdit), typed);
    EXPECT_TRUE(Answer(*dialog));
    return click;
  };
  typeMinutes(L"30").wait();
  run.ExpectNoBox();
  EXPECT_EQ(FileText(commands / "PC-01.json"), EncodeCommand(AddTimeCommand{30}));
  // Out of range: refused in words, the file as it was.
  {
    auto click = typeMinutes(L"601");
    run.ExpectBox(text::kErrorCaption, text::kBadMinutes);
    click.wait();
  }
  EXPECT_EQ(FileText(commands / "PC-01.json"), EncodeCommand(AddTimeCommand{30}));

  // Refreshes keep the selected PC and do not move the list.
  Sleep(2500);
  EXPECT_EQ(ListViewSelected(list), 0);
  EXPECT_EQ(ListViewText(list, 0, 0), "PC-01");
  EXPECT_TRUE(SaveWindowShot(run.Codes(), Screenshot("overview.png")));
  run.program().Kill();
}

// A visible dialog of the program (a #32770 window) for which `holds` is true.
HWND WaitForDialog(Program& program, const std::function<bool(HWND)>& holds) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND h : program.TopWindows()) {
      wchar_t cls[16] = {};
      GetClassNameW(h, cls, 16);
      if (IsWindowVisible(h) && std::wstring(cls) == L"#32770" && holds(h)) {
        found = h;
        return true;
      }
    }
    return false;
  });
  return found;
}

// One that holds control `id` (the program's message boxes hold 0xFFFF).
HWND WaitForDialogWith(Program& program, int id) {
  return WaitForDialog(program, [id](HWND h) { return GetDlgItem(h, id) != nullptr; });
}

// The program's common file dialog (open or save): one with a file-name box.
HWND WaitForFileDialog(Program& program) {
  return WaitForDialog(program, [](HWND h) { return GetDlgItem(h, cmb13) || GetDlgItem(h, edt1); });
}

TEST(SentavoAdmin, StatistikaShowsTheMonthsLogsAndExportsItsTable) {
  WorkFolder work;
  const fs::path share = work.path / "sdileno";
  fs::create_directories(share / "log");
  TConfigRecord config;
  config.adminPassword = "x";
  config.serverPath = share.string() + "\\";
  WriteFile(work.path / "Sentavo.cfg", EncodeConfigRecord(config));

  // Two PCs' logs of this month, as the stations write them, and a file of the month before: its
  // name is what leaves it out.
  const DateTime today = LocalNow();
  const auto line = [&](const char* pc, const char* code, int day, int minutes) {
    DateTime end{today.year, today.month, day, 12, 0, 0};
    DateTime start = end;
    start.hour = 11;
    return EncodeUsageLine({pc, code, start, end, minutes * 60, PeriodEnding::LogOff});
  };
  const auto logFile = [&](const char* pc, int year, int month, const std::string& lines) {
    char name[64];
    std::snprintf(name, sizeof name, "%s-%04d-%02d.csv", pc, year, month);
    const std::string text = std::string(UsageLogHeader()) + lines;
    WriteFile(share / "log" / name, std::vector<std::uint8_t>(text.begin(), text.end()));
  };
  const int last = std::min(today.day, 28);
  std::string first;
  for (int day = 1; day <= last; ++day) first += line("PC-01", "4711", day, 20 + day * 7 % 90);
  logFile("PC-01", today.year, today.month, first);
  logFile("PC-02", today.year, today.month,
          line("PC-02", "4711", 1, 60) + line("PC-02", "kód; \"host\"", last, 45));
  logFile("PC-02", today.month == 1 ? today.year - 1 : today.year,
          today.month == 1 ? 12 : today.month - 1, line("PC-02", "stary", 1, 600));
  int firstMinutes = 0;
  for (int day = 1; day <= last; ++day) firstMinutes += 20 + day * 7 % 90;

  AdminRun run(work.path);
  ASSERT_NE(run.Login(), nullptr);
  run.LogIn("x");
  run.SelectTab(kStatisticsTab);
  EXPECT_TRUE(run.PageShows(ids::kStatistikaGraf));
  const HWND table = run.CodesControl(ids::kStatistikaTabulka);
  ASSERT_TRUE(WaitUntil([&] { return ListViewCount(table) == 4; })) << ListViewCount(table);
  const auto row = [&](int r) {
    std::vector<std::string> cells;
    for (int c = 0; c < 4; ++c) cells.push_back(ListViewText(table, r, c));
    return cells;
  };
  using Cells = std::vector<std::string>;
  EXPECT_EQ(row(0),
            (Cells{"Počítač", "PC-01", std::to_string(last), std::to_string(firstMinutes)}));
  EXPECT_EQ(row(1), (Cells{"Počítač", "PC-02", "2", "105"}));
  EXPECT_EQ(row(2),
            (Cells{"Kód", "4711", std::to_string(last + 1), std::to_string(firstMinutes + 60)}));
  EXPECT_EQ(row(3), (Cells{"Kód", "kód; \"host\"", "1", "45"}));
  EXPECT_EQ(TextUtf8(run.CodesControl(ids::kStatistikaSouhrn)),
            text::StatisticsSummary(last + 2, firstMinutes + 105, 2, 0));
  EXPECT_TRUE(SaveScreenshot(Screenshot("statistics.png")));

  // "Exportovat CSV…": the save dialog, a name typed, and the table in the file.
  const fs::path csv = work.path / "prosinec.csv";
  auto click = Async([&] { Click(run.CodesControl(ids::kExportovatCsv)); });
  const HWND dialog = WaitForFileDialog(run.program());
  ASSERT_NE(dialog, nullptr);
  // The file-name box is a combo box with an edit inside, or (older layouts) an edit.
  HWND nameBox = GetDlgItem(dialog, cmb13);
  if (const HWND inner = nameBox ? FindWindowExW(nameBox, nullptr, L"Edit", nullptr) : nullptr) {
    nameBox = inner;
  }
  if (!nameBox) nameBox = GetDlgItem(dialog, edt1);
  ASSERT_NE(nameBox, nullptr);
  SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(csv.wstring().c_str()));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  run.ExpectBox(text::kInformationCaption, text::StatisticsExported(csv.string()));
  click.wait();
  const std::string exported = FileText(csv);
  EXPECT_TRUE(exported.starts_with("\xEF\xBB\xBFPočítač;Období;Minut\r\nPC-01;"));
  EXPECT_NE(exported.find("\r\nPC-02;2;105\r\n"), std::string::npos);
  EXPECT_NE(exported.find("\r\n\"kód; \"\"host\"\"\";1;45\r\n"), std::string::npos);

  run.program().Kill();
}

// A PostScript printer of Wine's own driver whose port is a file: the test's "any printer". Wine
// keeps the driver's description (a PPD) as a resource of its spooler, and the driver reads it
// from the driver folder, where installing the driver does not put it.
class FilePrinter {
 public:
  static constexpr const wchar_t* kName = L"Sentavo e2e";
  explicit FilePrinter(const fs::path& output) {
    Remove();
    wchar_t folder[MAX_PATH];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder),
                                    sizeof folder, &needed))
      return;
    const HMODULE spooler = LoadLibraryExW(L"winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC ppd = spooler ? FindResourceW(spooler, MAKEINTRESOURCEW(1), L"PPDFILE") : nullptr;
    if (!ppd) return;
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(spooler, ppd)));
    const fs::path ppdFile = fs::path(folder) / "3" / "generic.ppd";
    fs::create_directories(ppdFile.parent_path());
    if (!fs::exists(ppdFile))
      WriteFile(ppdFile, std::span<const std::uint8_t>(bytes, SizeofResource(spooler, ppd)));
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<wchar_t*>(L"Wine PostScript Driver");
    driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDataFile = const_cast<wchar_t*>(L"generic.ppd");
    driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&driver)) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
      return;
    const std::wstring port = output.wstring();
    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<wchar_t*>(kName);
    info.pPortName = const_cast<wchar_t*>(port.c_str());
    info.pDriverName = driver.pName;
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    const HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) return;
    ClosePrinter(printer);
    ready_ = SetDefaultPrinterW(kName) != FALSE;
  }
  ~FilePrinter() { Remove(); }
  bool ready() const { return ready_; }

  // The printers the system knows of.
  static DWORD Count() {
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 1, nullptr, 0, &needed, &count);
    if (needed == 0) return 0;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 1, buffer.data(), needed, &needed, &count))
      return 0;
    return count;
  }
  static void Remove() {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(const_cast<wchar_t*>(kName), &printer, &access)) {
      DeletePrinter(printer);
      ClosePrinter(printer);
    }
  }

 private:
  bool ready_ = false;
};

// The program's message box (its text in the static 0xFFFF), answered with OK.
std::string AnswerBox(Program& program) {
  const HWND box = WaitForDialogWith(program, 0xFFFF);
  if (!box) return "(no box)";
  const std::string text = TextUtf8(GetDlgItem(box, 0xFFFF));
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); });
  return text;
}

std::size_t CodeFiles(const fs::path& share) {
  std::size_t n = 0;
  for (const auto& e : fs::directory_iterator(share)) n += e.path().extension() == ".dat";
  return n;
}

TEST(SentavoAdmin, TiskPoukazekIssuesTheBatchOnlyOnceAPrintJobHasStarted) {
  WorkFolder work;
  const fs::path share = work.path / "sdileno";
  fs::create_directories(share);
  TConfigRecord config;
  config.adminPassword = "x";
  config.establishment = "Kavárna U Lípy";
  config.serverPath = share.string() + "\\";
  WriteFile(work.path / "Sentavo.cfg", EncodeConfigRecord(config));
  WriteFile(share / "1.dat", std::vector<std::uint8_t>(kCodeRecordSize, 0));
  WriteFile(work.path / "codes.dat", TextBytes("1\r\n"));
  FilePrinter::Remove();
  const bool printerless = FilePrinter::Count() == 0;

  AdminRun run(work.path);
  ASSERT_NE(run.Login(), nullptr);
  run.LogIn("x");
  run.SelectTab(kCreationTab);
  // Without a code type nothing opens.
  run.ClickAndExpect(ids::kTiskPoukazek, text::kErrorCaption, text::kChooseCodeType);
  run.ChooseType(0);
  auto opened = Async([&] { Click(run.CodesControl(ids::kTiskPoukazek)); });
  const HWND dialog = WaitForDialogWith(run.program(), ids::kVoucherCount);
  ASSERT_NE(dialog, nullptr);
  const HWND count = GetDlgItem(dialog, ids::kVoucherCount);
  EXPECT_EQ(TextUtf8(count), "10");
  SetText(count, L"501");
  EXPECT_EQ(TextUtf8(GetDlgItem(dialog, ids::kVoucherInfo)), text::kVoucherCountRange);
  EXPECT_FALSE(IsEnabled(GetDlgItem(dialog, IDOK)));
  SetText(count, L"25");
  EXPECT_EQ(TextUtf8(GetDlgItem(dialog, ids::kVoucherInfo)), text::VoucherCountInfo(25, 3));
  EXPECT_TRUE(IsEnabled(GetDlgItem(dialog, IDOK)));
  Sleep(300);
  EXPECT_TRUE(SaveScreenshot(Screenshot("voucher-dialog.png")));

  if (printerless) {
    // No printer: the operator is told, and no code is issued.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(AnswerBox(run.program()), text::kNoPrinter);
    EXPECT_EQ(CodeFiles(share), 1u);
    EXPECT_EQ(FileBytes(work.path / "codes.dat"), TextBytes("1\r\n"));
  } else {
    std::printf("[ NOTE     ] this system has printers: the printerless case is not run\n");
  }

  const fs::path output = work.path / "poukazky.ps";
  FilePrinter printer(output);
  ASSERT_TRUE(printer.ready()) << "the test's printer could not be installed";
  // The print dialog cancelled: nothing happens.
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  HWND print = WaitForDialogWith(run.program(), cmb4);
  ASSERT_NE(print, nullptr) << "no print dialog";
  PostMessageW(print, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(print); }));
  Sleep(300);
  EXPECT_EQ(CodeFiles(share), 1u);

  // Printed: 25 new codes, none over code 1, all on the list, three pages on the printer.
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  print = WaitForDialogWith(run.program(), cmb4);
  ASSERT_NE(print, nullptr) << "no print dialog";
  PostMessageW(print, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(AnswerBox(run.program()), text::VouchersPrinted(25));
  EXPECT_EQ(CodeFiles(share), 26u);
  const std::string list = FileText(work.path / "codes.dat");
  ASSERT_TRUE(list.starts_with("1\r\n"));
  std::vector<std::string> names;
  for (std::size_t at = 3; at < list.size();) {
    const std::size_t end = list.find("\r\n", at);
    ASSERT_NE(end, std::string::npos);
    names.push_back(list.substr(at, end - at));
    at = end + 2;
  }
  ASSERT_EQ(names.size(), 25u);
  for (const std::string& name : names) {
    const std::vector<std::uint8_t> bytes = FileBytes(share / (name + ".dat"));
    const auto record = DecodeCodeRecord(bytes);
    ASSERT_TRUE(record) << name;
    EXPECT_EQ(record->secondsLeft, 3600);
    EXPECT_EQ(record->establishment, "Kavárna U Lípy");
  }
  EXPECT_EQ(FileBytes(share / "1.dat"), std::vector<std::uint8_t>(kCodeRecordSize, 0));
  const std::string ps = FileText(output);
  EXPECT_TRUE(ps.starts_with("%!PS")) << ps.substr(0, 40);
  std::size_t pages = 0;
  for (std::size_t at = ps.find("%%Page:"); at != std::string::npos;
       at = ps.find("%%Page:", at + 1))
    ++pages;
  EXPECT_EQ(pages, 3u);

  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  opened.wait();
  run.SelectTab(kIssuedTab);
  EXPECT_EQ(run.ListCount(), 26);
  run.program().Kill();
}

}  // namespace
}  // namespace sentavo::e2e
